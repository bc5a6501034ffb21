#include "backup/BackupJob.h"

#include "core/AtomicFile.h"
#include "core/MessageLog.h"
#include "core/Sha256.h"
#include "core/Utf8Path.h"
#include "i18n/Messages.h"
#include "link/LibraryNumber.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"
#include "platform/Timer.h"
#include "transfer/BenchTransfer.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/Download.h"
#include "transfer/TransferView.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace setfolio {

namespace {

// Nobody watches a backup's progress bar; its pauses are real waits of the event loop.
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

// What would be error boxes are kept as lines of the processor's failure.
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

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : " / ") + line;
    return text;
}

bool LinkGone(ReplyStatus status) {
    return status == ReplyStatus::NoConnection || status == ReplyStatus::PortOff;
}

// Why an exchange that should have put a processor back did not, in a few words.
std::string AnswerTrouble(ReplyStatus status) {
    return LinkGone(status) ? "no answer" : "it answered " + std::string(NameOf(status));
}

// Whether a file can be made in `folder`: tried, as nothing else tells for sure (a read-only
// mount, an access list, a superuser's rights).
bool CanWriteInto(const std::string& folder) {
    const std::string probe = JoinPath(folder, ".setfolio-write-test");
    if (!WriteFileAtomically(probe, ""))
        return false;
    DeleteFile(probe);
    return true;
}

} // namespace

std::string LibraryFileOf(const InventoryProcessor& processor, int library) {
    return processor.name + "/Library " + FormatLibraryNumber(library) + ".lvf";
}

std::vector<std::string> DestinationProblems(const Inventory& inventory,
                                             const std::string& destination) {
    namespace fs = std::filesystem;
    std::vector<std::string> problems;
    const auto usable = [&problems](const fs::path& folder) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (!fs::is_directory(folder, error)) {
            problems.push_back("cannot make the folder " + Utf8Of(folder));
            return false;
        }
        if (!CanWriteInto(Utf8Of(folder))) {
            problems.push_back("cannot write into " + Utf8Of(folder));
            return false;
        }
        return true;
    };
    if (!usable(PathOf(destination)))
        return problems;
    for (const auto& processor : inventory.processors) {
        if (!usable(PathOf(destination) / PathOf(processor.name)))
            continue;
        for (const int library : processor.libraries) {
            const std::string path = JoinPath(destination, LibraryFileOf(processor, library));
            std::error_code error;
            if (IsWriteProtected(path))
                problems.push_back(path + " is write-protected");
            else if (fs::exists(PathOf(path), error) && !fs::is_regular_file(PathOf(path), error))
                problems.push_back(path + " is not a file");
        }
    }
    return problems;
}

bool ProcessorBackup::AllOk() const {
    if (!failure.empty() || !notPutBack.empty())
        return false;
    for (const auto& library : libraries) {
        if (library.status != ReplyStatus::Ok)
            return false;
    }
    return true;
}

BackupJob::BackupJob(const InventoryProcessor& processor, std::string destination, bool restore,
                     const SiteVocabulary* texts)
    : m_processor(processor), m_destination(std::move(destination)), m_restore(restore),
      m_texts(texts) {}

ProcessorBackup BackupJob::Run(const Platform& platform, const Progress& progress,
                               const std::function<bool()>& stopped) {
    namespace fs = std::filesystem;
    ProcessorBackup result;
    result.name = m_processor.name;
    result.modelType = m_processor.modelType;
    result.link = m_processor.LinkText();
    for (const int library : m_processor.libraries) {
        LibraryBackup entry;
        entry.library = library;
        entry.file = LibraryFileOf(m_processor, library);
        result.libraries.push_back(entry);
    }
    const auto stop = [&stopped] { return stopped && stopped(); };

    std::vector<std::string> lines;
    CollectingPrompts prompts(lines);
    ProcessorSession session(platform, prompts,
                             m_processor.serial
                                 ? SerialDeviceLink(m_processor.device, m_processor.serialSettings)
                                 : TcpLink(m_processor.host, m_processor.port),
                             m_processor.modelType, m_texts ? *m_texts : SiteVocabulary{});
    if (!m_traceFolder.empty()) {
        try {
            session.SetTrace(std::make_unique<FileTraceSink>(
                JoinPath(m_traceFolder, m_processor.name + ".trace")));
        } catch (const std::runtime_error& error) {
            lines.push_back(error.what()); // the backup goes on without it
        }
    }
    Transport& transport = session.transport;
    Exchange& exchange = session.exchange;
    const CurrentModel& model = session.model;
    const MessageTexts texts;
    MessageLog log;
    const auto collecting =
        log.appended.Subscribe([&lines](const std::string& line) { lines.push_back(line); });
    QuietView view(platform.loop);
    std::string content;
    const TransferContext context =
        session.Context(log, texts, [&content](int, const std::string& read) { content = read; });

    // A stop ends the library being read at once. The exchange is this thread's, so its Abort
    // comes from here too: a timer of this thread's loop looks for the stop while the exchange
    // waits. Putting the processor back is never aborted.
    bool reading = false;
    const auto watch = platform.loop.CreateTimer();
    watch->SetInterval(StopWatchMs);
    watch->SetOnExpiry([&] {
        if (!stop())
            watch->Start();
        else if (reading)
            exchange.Abort();
    });

    bool linkLost = false;
    try {
        const Reply before = session.Open();
        if (!before.Ok()) {
            if (const auto line = CurrentLibraryLine(before.status, 0, texts))
                lines.push_back(*line);
            result.failure = Joined(lines);
            transport.CloseAtExit();
            return result;
        }
        result.activeBefore = before.library;
        std::error_code ignored;
        fs::create_directories(PathOf(m_destination) / PathOf(m_processor.name), ignored);
        if (stopped)
            watch->Start();
        for (std::size_t i = 0; i < result.libraries.size(); ++i) {
            if (stop()) {
                result.interrupted = true;
                break;
            }
            LibraryBackup& entry = result.libraries[i];
            if (i > 0 && model.Family() == ModelFamily::BenchFamily)
                view.Pause(BenchBlockPauseMs);
            lines.clear();
            content.clear();
            const auto start = std::chrono::steady_clock::now();
            // Of choices with the same text, the earlier backup's number is kept.
            const std::string path = JoinPath(m_destination, entry.file);
            reading = true;
            DownloadLibrary(context, view, entry.library, path);
            reading = false;
            entry.status = exchange.replyStatus();
            if (entry.status == ReplyStatus::Ok) {
                entry.bytes = content.size();
                entry.sha256 = Sha256Hex(content);
                // Unchanged bytes leave the file as it is, time stamp and all.
                entry.changed = ReadWholeFile(path) != content;
                if (entry.changed && IsWriteProtected(path)) {
                    entry.status = ReplyStatus::FileError;
                    entry.changed = false;
                    lines.push_back(path + " is write-protected");
                } else if (entry.changed && !WriteFileAtomically(path, content)) {
                    entry.status = ReplyStatus::FileError;
                    entry.changed = false;
                    lines.push_back("Unable to write to " + path);
                }
            }
            entry.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            entry.failure = entry.status == ReplyStatus::Ok ? std::string() : Joined(lines);
            if (entry.status != ReplyStatus::Ok && stop()) {
                result.interrupted = true;
                if (entry.failure.empty())
                    entry.failure = "stopped while it was read";
            }
            progress(i, entry);
            linkLost = LinkGone(entry.status);
            if (linkLost || result.interrupted)
                break;
        }
        watch->Stop();
        exchange.ForgetAbort();
        PutBack(session, result, linkLost);
    } catch (const TcpError& error) {
        lines.push_back(error.what());
        result.failure = Joined(lines);
    } catch (const PortError& error) {
        lines.push_back(error.what());
        result.failure = Joined(lines);
    }
    transport.CloseAtExit();
    return result;
}

void BackupJob::PutBack(ProcessorSession& session, ProcessorBackup& result, bool linkLost) const {
    Exchange& exchange = session.exchange;
    // Reading a library selected it: the processor is on the last one selected, as far as
    // anyone knows, until it says otherwise.
    const bool moved = exchange.SelectsForTransfer() > 0;
    std::optional<int> now =
        moved ? std::optional<int>(exchange.TransferLibrary()) : result.activeBefore;
    std::string trouble; // why it could not be put back
    bool reachable = !linkLost;
    if (linkLost && m_restore) {
        // One more connection, to put the processor back; no further library is read over it.
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
        if (reachable && m_restore && result.activeBefore) {
            const Reply back = ChangeLibrary(exchange, session.model, -1, *result.activeBefore, {});
            if (back.Ok())
                now = result.activeBefore;
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
    if (!m_restore || !result.activeBefore || result.activeAfter == result.activeBefore)
        return;
    if (!moved && !result.activeAfter)
        return; // the backup never moved it, and could not ask again
    const std::string was = std::to_string(*result.activeBefore);
    if (trouble.empty())
        trouble = "it did not change over";
    result.notPutBack =
        now && *now != *result.activeBefore
            ? "left on library " + std::to_string(*now) + ", was " + was + ": " + trouble
            : "not confirmed back on library " + was + ": " + trouble;
}

} // namespace setfolio
