#include "transfer/BenchTransfer.h"

#include "core/AtomicFile.h"
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "core/ScopeExit.h"
#include "i18n/Messages.h"
#include "library/LibraryFile.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "platform/EventLoop.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "platform/Timer.h"
#include "transfer/DownloadFrame.h"
#include "transfer/TransferView.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <memory>
#include <vector>

namespace setfolio {

namespace {

// A processor's refusal ends its answer.
constexpr char Nak = '\x15';

// The progress range shown until the first line of a dump sets it from the dump's size.
constexpr int RangeBeforeFirstLine = 100;

enum class Queue { Input, Output };

// Gives one queue of the serial port room for a whole dump while in scope. The port is closed
// on the way in and on the way out, so the size takes effect when it next opens; leaving the
// scope by an error restores the usual size as well.
class LargeQueue {
public:
    LargeQueue(Transport& link, Queue queue) : m_link(link), m_queue(queue) {
        Resize(LargeQueueSize);
    }
    ~LargeQueue() { Resize(DefaultQueueSize); }
    LargeQueue(const LargeQueue&) = delete;
    LargeQueue& operator=(const LargeQueue&) = delete;

private:
    void Resize(std::size_t bytes) {
        if (m_link.Type() != ConnectionType::Serial)
            return;
        SerialPort& port = m_link.Port();
        port.Close();
        if (m_queue == Queue::Input)
            port.SetInputQueueSize(bytes);
        else
            port.SetOutputQueueSize(bytes);
    }

    Transport& m_link;
    Queue m_queue;
};

// A dump that was cut off: its section and the size its first line announced.
struct DumpOverrun {
    std::string section;
    std::int64_t announced = 0;
};

// While in scope, the exchange's capture collects the dump lines of a section and moves the
// view's progress bar; Store() writes a section that ended Ok into the working copy in one pass.
// Writing each line as it came would rescan the whole copy every time, so that a line would cost
// more the more lines came before it. A dump that goes on well past the size its first line
// announced, or past what any library could hold, is cut off.
class DraftCapture : public CaptureWriter {
public:
    DraftCapture(Exchange& exchange, LibraryFileDraft& draft, ProgressIndicator& progress)
        : m_exchange(exchange), m_draft(draft) {
        m_exchange.SetCaptureWriter(this);
        m_exchange.SetCaptureProgress(&progress);
    }
    ~DraftCapture() override {
        m_exchange.SetCaptureWriter(nullptr);
        m_exchange.SetCaptureProgress(nullptr);
    }
    DraftCapture(const DraftCapture&) = delete;
    DraftCapture& operator=(const DraftCapture&) = delete;

    void WriteCapturedLine(const std::string&, std::string_view section, int lineNumber,
                           const std::string& line) override {
        if (lineNumber == 1) {
            m_section = section;
            m_lines.clear();
            m_bytes = 0;
            m_announced = AnnouncedDumpBytes(line);
        }
        m_bytes += static_cast<std::int64_t>(line.size()) + 2;
        if (m_bytes > AllowedDumpBytes(m_announced)) {
            m_overrun = DumpOverrun{m_section, m_announced};
            m_exchange.CutOffCapture();
            return;
        }
        m_lines.push_back({std::to_string(lineNumber), line});
    }

    void Store() {
        if (m_lines.empty())
            return; // a dump that ended with its first line leaves its section as it was
        std::vector<profile::KeyValue> entries;
        entries.reserve(m_lines.size() + 1);
        entries.push_back({"Lines", std::to_string(m_lines.size())});
        std::move(m_lines.begin(), m_lines.end(), std::back_inserter(entries));
        m_lines.clear();
        m_draft.WriteTexts(m_section, entries);
    }

    const std::optional<DumpOverrun>& Overrun() const { return m_overrun; }

private:
    Exchange& m_exchange;
    LibraryFileDraft& m_draft;
    std::string m_section;
    std::vector<profile::KeyValue> m_lines;
    std::int64_t m_bytes = 0;
    std::int64_t m_announced = 0;
    std::optional<DumpOverrun> m_overrun;
};

// Asks for one dump and returns when it has been captured, refused or cut off; a dump that ended
// Ok is stored.
void CaptureDump(Exchange& exchange, TransferView& view, DraftCapture& capture, ExchangeStep step,
                 std::string_view command, const std::string& path) {
    exchange.BeginCapture(step, path);
    view.SetPosition(0); // the bar starts again for this section
    const Reply reply = exchange.SendAndWait(command);
    // Every stored line restarts the reply time-out, also over Ethernet, whose exchange does not
    // stop it: left running it would end some later exchange.
    exchange.TimeOutTimer().Stop();
    if (reply.Ok())
        capture.Store();
}

// The line that says why a dump was cut off.
std::string OverrunLine(const MessageTexts& texts, const DumpOverrun& overrun) {
    const bool pastAnnounced = AllowedDumpBytes(overrun.announced) < MaxDumpBytes;
    return texts.Format(
        pastAnnounced ? OwnMsg::DumpPastAnnouncedSize : OwnMsg::DumpPastLargestLibrary,
        {overrun.section, std::to_string(pastAnnounced ? overrun.announced : MaxDumpBytes)});
}

struct Section {
    std::string name;
    std::string first;
    std::int32_t lines = 0;
    std::optional<int> ticks;
};

class BenchUpload {
public:
    BenchUpload(Exchange& exchange, TransferView& view, UploadState& state,
                const std::string& content)
        : m_state(state), m_exchange(exchange), m_link(exchange.Link()), m_view(view),
          m_content(content), m_file(content), m_tcp(m_link.Type() == ConnectionType::Ethernet),
          m_updateProgress(exchange.Loop().CreateTimer()) {
        m_updateProgress->SetInterval(UpdateProgressTickMs);
        m_updateProgress->SetOnExpiry([this] {
            m_view.SetPosition(m_view.Position() + 1);
            m_updateProgress->Start();
        });
    }

    void Run(int library, bool includeCalibration) {
        std::vector<Section> sections;
        if (includeCalibration)
            sections.push_back(Read("Common"));
        sections.push_back(Read("User"));
        // A section that could not have come from a dump is refused before anything is sent:
        // its size is unknown, or it claims more lines than the whole file has.
        const auto fileLines = std::count(m_content.begin(), m_content.end(), '\n') + 1;
        for (const auto& section : sections) {
            if (!section.ticks || section.lines > fileLines) {
                m_exchange.Fail(ReplyStatus::CommandFailed);
                return;
            }
        }
        if (!m_exchange.SelectForTransfer(library).Ok())
            return;
        m_view.SetTransferMode(true, *sections.front().ticks);
        for (const auto& section : sections) {
            if (!Ok())
                return;
            Send(section);
        }
    }

private:
    bool Ok() const { return m_exchange.replyStatus() == ReplyStatus::Ok; }

    // The file is read once: looking a line up costs the same however long the dump.
    std::string Value(std::string_view section, std::string_view key) const {
        const std::string* value = m_file.Find(section, key);
        return value ? *value : std::string(" ");
    }

    Section Read(const std::string& name) const {
        Section section{name, Value(name, "1"), 0, std::nullopt};
        if (const std::string* lines = m_file.Find(name, "Lines"))
            section.lines = profile::ParseInteger(*lines).value_or(0);
        section.ticks = EstimateBenchUploadTicks(section.first, m_link.BaudRate());
        return section;
    }

    void Write(const std::string& line) {
        const std::string bytes = line + "\r\n";
        if (m_tcp)
            m_link.Tcp().Write(bytes);
        else
            m_link.Port().SendRaw(bytes);
    }

    // The processor refused the section with a NAK.
    bool Refused() const {
        const std::string& line = m_exchange.lastLineReceived();
        return m_exchange.ExpectedReply().status == ReplyStatus::CommandFailed && !line.empty() &&
               line.back() == Nak;
    }

    std::size_t QueueUsed() const { return m_tcp ? 0 : m_link.Port().OutputQueueUsed(); }

    void Send(const Section& section) {
        m_view.SetMaximum(*section.ticks);
        m_view.SetPosition(0);
        Timer& timeOut = m_exchange.TimeOutTimer();
        // The reply time-out goes back to what the exchanges expect, however the wait ends.
        const ScopeExit reset([&timeOut] {
            timeOut.Stop();
            timeOut.SetInterval(DefaultReplyTimeOutMs);
        });
        timeOut.Stop();
        const bool aborted =
            m_exchange.ExpectReply(ExchangeStep::StepAcknowledge).status == ReplyStatus::Aborted;
        const ScopeExit ended([this] { m_exchange.EndExpectedReply(); });
        if (aborted)
            return;
        Write(section.first);
        m_view.Pause(BenchUploadDelayMs);
        // Only a refusal (a NAK) or the user's Abort ends the section here. Any other answer
        // that came in the pause is the section's answer once all its lines have been sent.
        if (m_exchange.ExpectedReply().status == ReplyStatus::Aborted || Refused())
            return;
        m_state.libraryTouched = true;
        for (std::int32_t k = 2; k <= section.lines; ++k)
            Write(Value(section.name, std::to_string(k)));
        AwaitAcknowledgement(timeOut);
    }

    // Until the processor answers, the user aborts, or the time-out that starts once the lines
    // have nearly left the queue runs out. Meanwhile the progress moves on every tick.
    void AwaitAcknowledgement(Timer& timeOut) {
        m_updateProgress->Start();
        const ScopeExit stopTicks([this] { m_updateProgress->Stop(); });
        for (;;) {
            m_exchange.Loop().WaitUntil([&] {
                if (m_exchange.replyStatus() != ReplyStatus::Pending)
                    return true;
                if (m_tcp && m_link.Tcp().LineReady())
                    return true;
                if (!timeOut.IsRunning() && QueueUsed() <= BenchDrainedQueueBytes) {
                    timeOut.SetInterval(BenchAcknowledgeTimeOutMs);
                    timeOut.Start();
                }
                return false;
            });
            if (m_exchange.replyStatus() != ReplyStatus::Pending || !m_tcp)
                return;
            // Over Ethernet the reply line is read here and classified as the serial event
            // would.
            const LineRead read = m_link.Tcp().ReadLine(EthernetLineTimeOutMs);
            if (read.timedOut)
                continue;
            if (m_exchange.ClassifyLine(read.line).status != ReplyStatus::Pending)
                return;
        }
    }

    UploadState& m_state;
    Exchange& m_exchange;
    Transport& m_link;
    TransferView& m_view;
    const std::string& m_content;
    profile::Index m_file;
    bool m_tcp;
    std::unique_ptr<Timer> m_updateProgress;
};

} // namespace

std::optional<int> EstimateBenchUploadTicks(const std::string& firstLine, int baudRate) {
    std::string_view word = firstLine;
    if (const auto blank = word.find(' '); blank != std::string_view::npos)
        word.remove_prefix(blank + 1);
    word = word.substr(0, word.find(' '));
    const auto bytes = ParseDecimal(word);
    if (!bytes || *bytes < 0)
        return std::nullopt;
    const std::int64_t perSecond = std::max(baudRate / 8, 1);
    const std::int64_t seconds = *bytes / perSecond;
    // seconds × 2 × 1.3 + 4, rounded: the tenths are never five, so there is no tie to break.
    const std::int64_t ticks = (seconds * 26 + 45) / 10;
    return static_cast<int>(std::min<std::int64_t>(ticks, INT_MAX));
}

std::int64_t AnnouncedDumpBytes(std::string_view firstLine) {
    std::string_view word = firstLine;
    if (const auto blank = word.find(' '); blank != std::string_view::npos)
        word.remove_prefix(blank + 1);
    const auto bytes = ParseDecimal(word.substr(0, word.find(' ')));
    return bytes && *bytes > 0 ? *bytes : 0;
}

std::int64_t AllowedDumpBytes(std::int64_t announced) {
    return std::min(2 * announced + DumpSlackBytes, MaxDumpBytes);
}

void DownloadBench(const TransferContext& context, TransferView& view, int library,
                   const std::string& path) {
    Exchange& exchange = context.exchange;
    const LargeQueue queue(exchange.Link(), Queue::Input);
    std::optional<DumpOverrun> overrun;
    DownloadInto(context, view, library, path, [&](LibraryFileDraft& file) {
        DraftCapture capture(exchange, file, view);
        if (exchange.SelectForTransfer(library).Ok()) {
            view.SetTransferMode(true, RangeBeforeFirstLine);
            CaptureDump(exchange, view, capture, ExchangeStep::StepCaptureCommon,
                        "SYST.LIBRARY.COMMON?\r", path);
        }
        if (exchange.replyStatus() == ReplyStatus::Ok)
            CaptureDump(exchange, view, capture, ExchangeStep::StepCaptureUser,
                        "SYST.LIBRARY.USER?\r", path);
        overrun = capture.Overrun();
    });
    if (overrun)
        context.log.AddMessageLine(OverrunLine(context.texts, *overrun));
}

void UploadBench(const TransferContext& context, TransferView& view, UploadState& state,
                 int library, const std::string& path, bool includeCalibration) {
    Exchange& exchange = context.exchange;
    const LargeQueue queue(exchange.Link(), Queue::Output);
    UploadFrom(context, state, library, path, [&](const std::string& content) {
        BenchUpload(exchange, view, state, content).Run(library, includeCalibration);
    });
}

} // namespace setfolio
