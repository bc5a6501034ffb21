#include "backup/BackupJob.h"

#include "core/AtomicFile.h"
#include "core/MessageLog.h"
#include "core/Sha256.h"
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

} // namespace

bool ProcessorBackup::AllOk() const {
    if (!failure.empty())
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
        entry.file = m_processor.name + "/Library " + FormatLibraryNumber(library) + ".lvf";
        result.libraries.push_back(entry);
    }

    std::vector<std::string> lines;
    CollectingPrompts prompts(lines);
    ProcessorSession session(platform, prompts,
                             m_processor.serial
                                 ? SerialDeviceLink(m_processor.device, m_processor.serialSettings)
                                 : TcpLink(m_processor.host, m_processor.port),
                             m_processor.modelType, m_texts ? *m_texts : SiteVocabulary{});
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
        fs::create_directories(fs::path(m_destination) / m_processor.name, ignored);
        for (std::size_t i = 0; i < result.libraries.size(); ++i) {
            if (stopped && stopped())
                break;
            LibraryBackup& entry = result.libraries[i];
            if (i > 0 && model.Family() == ModelFamily::BenchFamily)
                view.Pause(BenchBlockPauseMs);
            lines.clear();
            content.clear();
            const auto start = std::chrono::steady_clock::now();
            // Of choices with the same text, the earlier backup's number is kept.
            const std::string path = (fs::path(m_destination) / entry.file).string();
            DownloadLibrary(context, view, entry.library, path);
            entry.status = exchange.replyStatus();
            if (entry.status == ReplyStatus::Ok) {
                entry.bytes = content.size();
                entry.sha256 = Sha256Hex(content);
                // Unchanged bytes leave the file as it is, time stamp and all.
                entry.changed = ReadWholeFile(path) != content;
                if (entry.changed && !WriteFileAtomically(path, content)) {
                    entry.status = ReplyStatus::FileError;
                    entry.changed = false;
                    lines.push_back("Unable to write to " + path);
                }
            }
            entry.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            entry.failure = entry.status == ReplyStatus::Ok ? std::string() : Joined(lines);
            progress(i, entry);
            if (LinkGone(entry.status))
                break;
        }
        const bool reachable = !LinkGone(exchange.replyStatus());
        if (reachable && m_restore && result.activeBefore)
            ChangeLibrary(exchange, model, -1, *result.activeBefore, {});
        if (reachable) {
            if (const Reply after = exchange.QueryLibrary(); after.Ok())
                result.activeAfter = after.library;
        }
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

} // namespace setfolio
