#include "link/Exchange.h"

#include "core/CurrentModel.h"
#include "core/ScopeExit.h"
#include "link/LibraryNumber.h"
#include "link/LinkTrace.h"
#include "link/ReplyParsers.h"
#include "link/Transport.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"

#include <algorithm>
#include <utility>

namespace setfolio {

Exchange::Exchange(EventLoop& loop, Transport& transport, const CurrentModel& model,
                   Prompts& prompts)
    : m_loop(loop), m_transport(transport), m_model(model), m_prompts(prompts),
      m_timeOutTimer(loop.CreateTimer()), m_delayTimer(loop.CreateTimer()) {
    m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
    m_timeOutTimer->SetOnExpiry([this] { Deferred([this] { TimeOutTimerTimer(); }); });
    m_delayTimer->SetInterval(EthernetReplyDelayMs);
    m_delayTimer->SetOnExpiry([this] { Deferred([this] { DelayTimerTimer(); }); });
    m_progress = &m_ownProgress;
    m_transport.Port().SetOnBytesAvailable(
        [this](std::uint16_t count) { Deferred([this, count] { ComPortTriggerAvail(count); }); });
    m_transport.Port().SetOnTrigger(
        [this](std::uint16_t handle) { Deferred([this, handle] { ComPortTriggerData(handle); }); });
}

Exchange::~Exchange() {
    m_transport.Port().SetOnBytesAvailable({});
    m_transport.Port().SetOnTrigger({});
}

template <typename Handler> void Exchange::Deferred(Handler&& handler) {
    try {
        handler();
    } catch (...) {
        // Never thrown through the event loop: the wait ends and the error is raised again in
        // the code that waited. The first error is the one that counts.
        if (!m_captureError)
            m_captureError = std::current_exception();
        if (m_replyStatus == ReplyStatus::Pending)
            m_replyStatus = ReplyStatus::UnknownError;
    }
}

Reply Exchange::SendAndWait(std::string_view command) {
    if (m_busy) {
        // A second exchange inside a waiting one would overwrite the state the first relies on.
        m_prompts.DefaultBeep();
        return Reply{m_replyStatus};
    }
    return Ended(Transact(command));
}

Reply Exchange::Ended(const Reply& reply) {
    exchanged.Emit(reply);
    return reply;
}

Reply Exchange::Transact(std::string_view command) {
    BeginReply();
    if (m_abortRequested) {
        m_replyStatus = ReplyStatus::Aborted;
        return Finished();
    }
    try {
        if (m_transport.Type() == ConnectionType::Ethernet)
            SendEthernet(command);
        else
            SendSerial(command);
    } catch (const TcpError&) {
        // The connection broke: the caller hears of it as ever, and whoever shows the link's
        // state learns that nothing answered.
        exchanged.Emit(Reply{ReplyStatus::NoConnection});
        throw;
    }
    return Finished();
}

Reply Exchange::SendAndWait(std::string_view command, ExchangeStep step) {
    if (m_busy) {
        m_prompts.DefaultBeep();
        return Reply{m_replyStatus};
    }
    m_exchangeStep = step;
    return SendAndWait(command);
}

void Exchange::BeginReply() {
    m_reply = Reply{};
    m_dumpFirstLineDue = true;
}

Reply Exchange::Finished() const {
    Reply reply = m_reply;
    reply.status = m_replyStatus;
    return reply;
}

void Exchange::SendSerial(std::string_view command) {
    if (m_transport.SerialPortOff() || m_transport.PortFailed()) {
        m_replyStatus = ReplyStatus::PortOff;
        return;
    }
    const auto busy = FlagForScope(m_busy);
    // Whatever came before the command (a reply too late for its own exchange, or part of one)
    // is no answer to it.
    m_transport.Port().DiscardInput();
    m_receiveBuffer.clear();
    m_droppingLine = false;
    m_replyStatus = ReplyStatus::Pending;
    m_captureCutOff = false;
    if (!m_timeOutTimer->IsRunning())
        m_timeOutTimer->Start();
    if (LinkTrace* trace = m_transport.Trace())
        trace->Sent(command);
    try {
        m_transport.Port().SendRaw(command);
    } catch (const PortError& error) {
        // The port could not be reopened (it vanished, or another program took it).
        m_timeOutTimer->Stop();
        m_transport.ReportPortError(error);
        m_replyStatus = ReplyStatus::PortOff;
        return;
    }
    m_loop.WaitUntil([this] { return m_replyStatus != ReplyStatus::Pending; });
    m_timeOutTimer->Stop();
    RethrowCaptureError();
}

void Exchange::SendEthernet(std::string_view command) {
    const auto busy = FlagForScope(m_busy);
    TcpClient& tcp = m_transport.Tcp();
    m_replyStatus = ReplyStatus::Pending;
    m_captureCutOff = false;
    // A connection lost since the last exchange (a processor restarted) is made once more; when
    // that fails its error ends this exchange.
    m_transport.ReconnectIfLost();
    if (m_abortRequested) {
        m_replyStatus = ReplyStatus::Aborted;
        return;
    }
    // Lines that came before the command (a reply too late for its own exchange) are no answer
    // to it.
    tcp.DiscardInput();
    if (LinkTrace* trace = m_transport.Trace())
        trace->Sent(command);
    tcp.Write(command);
    m_delayTimer->Start();
    // A longer reply time-out is asked for one exchange (a processor that switches libraries
    // slowly): over Ethernet it is the first line's, counted from the command.
    const int askedMs = m_timeOutTimer->Interval();
    const ScopeExit done([this, askedMs] {
        m_delayTimer->Stop();
        if (askedMs > DefaultReplyTimeOutMs)
            m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
    });
    const int firstLineMs = askedMs > DefaultReplyTimeOutMs
                                ? std::max(askedMs - EthernetReplyDelayMs, EthernetLineTimeOutMs)
                                : EthernetLineTimeOutMs;

    if (!ReadEthernetLine(firstLineMs))
        return;
    // A bench dump arrives as many lines in one exchange; every other reply has two at most.
    const auto capturing = [this] {
        return m_exchangeStep == ExchangeStep::StepCaptureCommon ||
               m_exchangeStep == ExchangeStep::StepCaptureUser;
    };
    if (m_replyStatus == ReplyStatus::Pending && m_model.Family() == ModelFamily::BenchFamily &&
        capturing()) {
        while (m_replyStatus == ReplyStatus::Pending && capturing()) {
            if (!ReadEthernetLine())
                break;
        }
        RethrowCaptureError();
        return;
    }
    if (m_replyStatus == ReplyStatus::Pending)
        ReadEthernetLine();
}

bool Exchange::ReadEthernetLine(int timeOutMs) {
    TcpClient& tcp = m_transport.Tcp();
    // The pause gives the processor time to answer; a complete line ends it early, but the next
    // line's window still starts no sooner than the pause would have ended.
    m_loop.WaitUntil([this, &tcp] { return !m_delayTimer->IsRunning() || tcp.LineReady(); });
    const LineRead read = tcp.ReadLine(timeOutMs);
    m_receiveBuffer = read.line;
    if (read.timedOut) {
        if (LinkTrace* trace = m_transport.Trace())
            trace->TimedOut();
        m_replyStatus = ReplyStatus::NoConnection;
        return false;
    }
    if (LinkTrace* trace = m_transport.Trace())
        trace->Received(m_receiveBuffer);
    ClassifyLine(m_receiveBuffer);
    return true;
}

Reply Exchange::ClassifyLine(const std::string& line) {
    m_receiveBuffer = line;
    m_lastLineReceived = line;
    ParseReply(line);
    return Finished();
}

Reply Exchange::QueryLibrary() {
    if (m_busy) {
        // Refused before the part of the waiting exchange's reply that has come is lost.
        m_prompts.DefaultBeep();
        return Reply{m_replyStatus};
    }
    m_receiveBuffer.clear();
    Reply reply;
    switch (m_model.Family()) {
    case ModelFamily::CodedFamily:
        reply = Transact("701\r");
        break;
    case ModelFamily::BenchFamily:
        m_exchangeStep = ExchangeStep::StepBenchLibraryQuery;
        reply = Transact("SYST.LIBRARY.SELECT?\r");
        break;
    case ModelFamily::MenuFamily:
        m_exchangeStep = ExchangeStep::StepAcknowledge;
        reply = Transact("3.1 ?\r");
        break;
    case ModelFamily::NoFamily:
        return Reply{m_replyStatus};
    }
    if (reply.Ok() && !reply.library) {
        // Accepted as if it were a set, or a value of another kind: no library was named.
        m_replyStatus = ReplyStatus::UnknownError;
        reply.status = m_replyStatus;
    }
    if (reply.Ok() && reply.library)
        m_transferLibrary = *reply.library;
    return Ended(reply);
}

Reply Exchange::SelectLibrary(int number) {
    if (m_busy) {
        // Refused before the bench family's longer time-out could reach the waiting exchange.
        m_prompts.DefaultBeep();
        return Reply{m_replyStatus};
    }
    switch (m_model.Family()) {
    case ModelFamily::CodedFamily:
        return SendAndWait("700 " + FormatLibraryNumber(number) + "\r");
    case ModelFamily::BenchFamily:
        m_timeOutTimer->SetInterval(BenchSelectTimeOutMs);
        return SendAndWait("SYST.LIBRARY.SELECT:" + std::to_string(number) + "\r",
                           ExchangeStep::StepAcknowledge);
    case ModelFamily::MenuFamily:
        return SendAndWait("3.1 " + std::to_string(number) + "\r",
                           ExchangeStep::StepSetAcknowledge);
    case ModelFamily::NoFamily:
        break;
    }
    return Reply{m_replyStatus};
}

Reply Exchange::SelectForTransfer(int library) {
    if (m_busy) {
        m_prompts.DefaultBeep();
        return Reply{m_replyStatus};
    }
    m_transferLibrary = library;
    ++m_selectsForTransfer;
    return SelectLibrary(library);
}

void Exchange::BeginCapture(ExchangeStep step, std::string fileName) {
    m_exchangeStep = step;
    m_captureFileName = std::move(fileName);
    m_captureLineNumber = 1;
    m_dumpFirstLineDue = true;
}

void Exchange::CutOffCapture() {
    m_replyStatus = ReplyStatus::CommandFailed;
    m_captureCutOff = true;
}

Reply Exchange::ExpectReply(ExchangeStep step) {
    m_expecting = true;
    BeginReply();
    m_exchangeStep = step;
    m_replyStatus = m_abortRequested ? ReplyStatus::Aborted : ReplyStatus::Pending;
    m_captureCutOff = false;
    return Finished();
}

void Exchange::EndExpectedReply() {
    if (std::exchange(m_expecting, false))
        Ended(Finished());
}

void Exchange::ParseReply(const std::string& reply) {
    // A reply that arrives while no exchange waits (after a time-out, the user's Abort or a dump
    // that was cut off) belongs to none: it must not change what a later exchange reports.
    if (m_replyStatus != ReplyStatus::Pending || m_captureCutOff)
        return;
    const bool dumpLine = m_exchangeStep == ExchangeStep::StepCaptureCommon ||
                          m_exchangeStep == ExchangeStep::StepCaptureUser;
    const ReplyContext context{m_model.Family(), m_exchangeStep, m_model.Quirks().acceptsWithN14,
                               dumpLine && m_dumpFirstLineDue};
    if (dumpLine)
        m_dumpFirstLineDue = false;
    ParsedReply parsed = setfolio::ParseReply(context, reply);
    m_reply.line = reply;
    if (parsed.currentLibrary)
        m_reply.library = *parsed.currentLibrary;
    if (parsed.mnemonicValue)
        m_reply.mnemonic = std::move(parsed.mnemonicValue);
    if (parsed.numericValue)
        m_reply.numeric = std::move(parsed.numericValue);
    if (parsed.headerValue)
        m_reply.header = std::move(parsed.headerValue);
    if (parsed.menuValue)
        m_reply.menu = std::move(parsed.menuValue);
    if (parsed.nextStep)
        m_exchangeStep = *parsed.nextStep;
    if (parsed.defaultTimeOut)
        m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
    if (parsed.dumpBytes) {
        m_progress->SetMaximum(*parsed.dumpBytes / DumpBytesPerProgressStep + 1);
        m_progress->SetPosition(1);
    } else if (parsed.dumpProgress) {
        m_progress->SetPosition(m_progress->Position() + 1);
    }
    if (parsed.status)
        m_replyStatus = *parsed.status;
    if (parsed.dumpEnded) {
        m_progress->SetPosition(0);
        m_dumpFirstLineDue = true;
    }
    if (parsed.storeDumpLine)
        CaptureLine(reply);
}

void Exchange::CaptureLine(const std::string& reply) {
    const std::string_view section =
        m_exchangeStep == ExchangeStep::StepCaptureCommon ? "Common" : "User";
    if (m_captureWriter) {
        try {
            m_captureWriter->WriteCapturedLine(m_captureFileName, section, m_captureLineNumber,
                                               reply);
        } catch (...) {
            // Not thrown through the event loop: the wait ends and the error is raised again
            // in the code that waited.
            m_captureError = std::current_exception();
            m_replyStatus = ReplyStatus::FileError;
            return;
        }
    }
    ++m_captureLineNumber;
    ++m_reply.dumpLines;
    m_timeOutTimer->Stop();
    m_timeOutTimer->Start();
}

void Exchange::RethrowCaptureError() {
    if (auto error = std::exchange(m_captureError, nullptr))
        std::rethrow_exception(error);
}

void Exchange::ComPortTriggerAvail(std::uint16_t count) {
    const ModelFamily family = m_model.Family();
    for (std::uint16_t i = 0; i < count; ++i) {
        const char byte = m_transport.Port().ReadByte();
        if (byte == '\n' || byte == '\r')
            continue;
        if (byte == '\0' && family == ModelFamily::CodedFamily)
            continue;
        if (family == ModelFamily::NoFamily || m_droppingLine)
            continue;
        // A line longer than either link accepts is no reply: it is dropped up to its end, so
        // that a peer streaming without line ends costs no memory.
        if (m_receiveBuffer.size() >= MaxTcpLineLength) {
            if (LinkTrace* trace = m_transport.Trace())
                trace->Dropped(m_receiveBuffer);
            m_receiveBuffer.clear();
            m_droppingLine = true;
            continue;
        }
        m_receiveBuffer.push_back(byte);
    }
}

void Exchange::ComPortTriggerData(std::uint16_t handle) {
    std::uint16_t replyEnd = 0;
    switch (m_model.Family()) {
    case ModelFamily::CodedFamily:
        replyEnd = m_transport.CrTriggerHandle();
        break;
    case ModelFamily::BenchFamily:
    case ModelFamily::MenuFamily:
        replyEnd = m_transport.CrLfTriggerHandle();
        break;
    case ModelFamily::NoFamily:
        return;
    }
    if (handle != replyEnd)
        return;
    if (std::exchange(m_droppingLine, false))
        return;
    m_lastLineReceived = m_receiveBuffer;
    if (LinkTrace* trace = m_transport.Trace())
        trace->Received(m_receiveBuffer);
    const std::string reply = std::move(m_receiveBuffer);
    m_receiveBuffer.clear();
    ParseReply(reply);
}

void Exchange::TimeOutTimerTimer() {
    m_timeOutTimer->Stop();
    if (LinkTrace* trace = m_transport.Trace())
        trace->TimedOut();
    m_replyStatus = ReplyStatus::NoConnection;
    m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
    m_receiveBuffer.clear();
    if (m_model.Family() == ModelFamily::BenchFamily)
        m_exchangeStep = ExchangeStep::StepNone;
}

void Exchange::DelayTimerTimer() {
    m_delayTimer->Stop();
}

} // namespace setfolio
