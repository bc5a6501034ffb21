#include "backup/ProcessorRun.h"

#include "core/MessageLog.h"
#include "core/Utf8Path.h"
#include "i18n/Messages.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"
#include "platform/Timer.h"
#include "transfer/BenchTransfer.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/TransferView.h"

#include <chrono>
#include <stdexcept>

namespace setfolio {

namespace {

// Nobody watches a run's progress bar; its pauses are real waits of the event loop.
class QuietView : public TransferView {
public:
    explicit QuietView(EventLoop& loop) : m_loop(loop) {}
    void SetTransferMode(bool, int) override {}
    void SetEnabled(bool) override {}
    void Pause(int ms) override {
        auto timer = m_loop.CreateTimer();
        bool done = false;
        timer->SetInterval(ms);
        timer->SetOnExpiry([&done] { done = true; });
        timer->Start();
        m_loop.WaitUntil([&done] { return done; });
    }
    void KeepOpen() override {}
    int Position() const override { return m_position; }
    void SetPosition(int position) override { m_position = position; }
    void SetMaximum(int) override {}

private:
    EventLoop& m_loop;
    int m_position = 0;
};

// What would be error boxes are kept as lines of the processor's failure. Nobody is there to
// answer a question: it is answered no.
class CollectingPrompts : public Prompts {
public:
    explicit CollectingPrompts(std::vector<std::string>& lines) : m_lines(lines) {}
    void ErrorBox(const std::string& text) override {
        std::string line = text;
        for (char& c : line)
            c = c == '\r' ? ' ' : c;
        m_lines.push_back(line);
    }
    void WarningBeep() override {}
    void DefaultBeep() override {}
    bool WarningYesNo(const std::string&) override { return false; }

private:
    std::vector<std::string>& m_lines;
};

// How long the answer to an aborted command is waited for before the processor is put back.
constexpr int AbortedAnswerMs = 500;

bool LinkGone(ReplyStatus status) {
    return status == ReplyStatus::NoConnection || status == ReplyStatus::PortOff;
}

// Why an exchange that should have put a processor back did not, in a few words.
std::string AnswerTrouble(ReplyStatus status) {
    return LinkGone(status) ? "no answer" : "it answered " + std::string(NameOf(status));
}

// Puts the processor on `target` (nothing: leaves it) and asks which library it runs then;
// `notPutBack` says why it is not on `target` when it is not, or may not be.
void PutBack(ProcessorSession& session, ProcessorBackup& result, bool linkLost,
             std::optional<int> target) {
    Exchange& exchange = session.exchange;
    // Reading or writing a library selected it: the processor is on the last one selected, as
    // far as anyone knows, until it says otherwise.
    const bool moved = exchange.SelectsForTransfer() > 0;
    std::optional<int> now =
        moved ? std::optional<int>(exchange.TransferLibrary()) : result.activeBefore;
    std::string trouble; // why it could not be put back
    bool reachable = !linkLost;
    if (linkLost && target) {
        // One more connection, to put the processor back; no further library is worked on.
        try {
            session.transport.CloseForNewSettings();
            const Reply again = session.Open();
            reachable = again.Ok();
            if (again.library)
                now = again.library;
            if (!reachable)
                trouble = AnswerTrouble(again.status);
        } catch (const TcpError& error) {
            trouble = error.what();
        } catch (const PortError& error) {
            trouble = error.what();
        }
    }
    try {
        if (reachable && target) {
            const Reply back = ChangeLibrary(exchange, session.model, -1, *target, {});
            if (back.Ok())
                now = target;
            else
                trouble = AnswerTrouble(back.status);
        }
        if (reachable && !LinkGone(exchange.replyStatus())) {
            if (const Reply after = exchange.QueryLibrary(); after.Ok()) {
                result.activeAfter = after.library;
                now = after.library;
            } else if (trouble.empty()) {
                trouble = AnswerTrouble(after.status);
            }
        }
    } catch (const TcpError& error) {
        trouble = error.what();
    } catch (const PortError& error) {
        trouble = error.what();
    }
    if (!target || result.activeAfter == target)
        return;
    if (!moved && !result.activeAfter && target == result.activeBefore)
        return; // nothing moved it, and it could not be asked again
    const bool back = target == result.activeBefore;
    const std::string should = std::to_string(*target);
    if (trouble.empty())
        trouble = "it did not change over";
    result.notPutBack =
        now && *now != *target
            ? "left on library " + std::to_string(*now) + (back ? ", was " : ", not on ") + should +
                  ": " + trouble
            : (back ? "not confirmed back on library " : "not confirmed on library ") + should +
                  ": " + trouble;
}

} // namespace

bool ProcessorBackup::AllOk() const {
    if (!failure.empty() || !notPutBack.empty())
        return false;
    for (const auto& library : libraries) {
        if (library.status != ReplyStatus::Ok)
            return false;
    }
    return true;
}

std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : " / ") + line;
    return text;
}

ProcessorBackup RunProcessor(const LinkPlatform& platform, const InventoryProcessor& processor,
                             std::vector<LibraryBackup> libraries,
                             const ProcessorRunOptions& options, const LibraryProgress& progress,
                             const std::function<bool()>& stopped,
                             const std::function<void(LibraryWork&, LibraryBackup&)>& work) {
    ProcessorBackup result;
    result.name = processor.name;
    result.modelType = processor.modelType;
    result.link = processor.LinkText();
    result.libraries = std::move(libraries);
    const auto stop = [&stopped] { return stopped && stopped(); };

    std::vector<std::string> lines;
    CollectingPrompts prompts(lines);
    ProcessorSession session(
        platform, prompts,
        processor.serial ? SerialDeviceLink(processor.device, processor.serialSettings)
                         : TcpLink(processor.host, processor.port),
        processor.modelType, options.texts ? *options.texts : SiteVocabulary{});
    if (!options.traceFolder.empty()) {
        try {
            session.SetTrace(std::make_unique<FileTraceSink>(
                JoinPath(options.traceFolder, processor.name + ".trace")));
        } catch (const std::runtime_error& error) {
            lines.push_back(error.what()); // the run goes on without it
        }
    }
    Transport& transport = session.transport;
    Exchange& exchange = session.exchange;
    const MessageTexts texts;
    MessageLog log;
    const auto collecting =
        log.appended.Subscribe([&lines](const std::string& line) { lines.push_back(line); });
    QuietView view(platform.loop);
    std::string read;
    TransferContext context =
        session.Context(log, texts, [&read](int, const std::string& content) { read = content; });

    // A stop ends the library at hand at once. The exchange is this thread's, so its Abort comes
    // from here too: a timer of this thread's loop looks for the stop while the exchange waits.
    // Putting the processor back is never aborted.
    bool exchanging = false;
    const auto watch = platform.loop.CreateTimer();
    watch->SetInterval(RunStopWatchMs);
    watch->SetOnExpiry([&] {
        if (!stop())
            watch->Start();
        else if (exchanging)
            exchange.Abort();
    });
    LibraryWork at{session, context, view, lines, read, [&](const std::function<void()>& run) {
                       exchanging = true;
                       run();
                       exchanging = false;
                   }};

    bool linkLost = false;
    try {
        const Reply before = session.Open();
        if (!before.Ok()) {
            if (const auto line = CurrentLibraryLine(before.status, 0, texts))
                lines.push_back(*line);
            result.failure = JoinedLines(lines);
            transport.CloseAtExit();
            return result;
        }
        result.activeBefore = before.library;
        if (stopped)
            watch->Start();
        for (std::size_t i = 0; i < result.libraries.size(); ++i) {
            if (stop()) {
                result.interrupted = true;
                break;
            }
            LibraryBackup& entry = result.libraries[i];
            if (i > 0 && session.model.Family() == ModelFamily::BenchFamily)
                view.Pause(BenchBlockPauseMs);
            lines.clear();
            read.clear();
            const auto start = std::chrono::steady_clock::now();
            exchanging = false;
            work(at, entry);
            exchanging = false;
            entry.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            entry.failure = entry.status == ReplyStatus::Ok ? std::string() : JoinedLines(lines);
            if (entry.status != ReplyStatus::Ok && stop()) {
                result.interrupted = true;
                if (entry.failure.empty())
                    entry.failure = options.stoppedFailure;
            }
            progress(i, entry);
            linkLost = LinkGone(entry.status);
            if (linkLost || result.interrupted)
                break;
        }
        watch->Stop();
        // The answer to a command a stop cut short may still be on its way: it is let in, to be
        // dropped before the next command, so that it is not taken for that command's answer.
        if (!result.libraries.empty() && exchange.AbortRequested())
            view.Pause(AbortedAnswerMs);
        exchange.ForgetAbort();
        PutBack(session, result, linkLost,
                options.finalLibrary ? options.finalLibrary(result.activeBefore, result)
                                     : std::nullopt);
    } catch (const TcpError& error) {
        lines.push_back(error.what());
        result.failure = JoinedLines(lines);
    } catch (const PortError& error) {
        lines.push_back(error.what());
        result.failure = JoinedLines(lines);
    }
    transport.CloseAtExit();
    return result;
}

} // namespace setfolio
