#include "link/Exchange.h"

#include "core/CurrentModel.h"
#include "link/LibraryNumber.h"
#include "link/Transport.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"

namespace setfolio {

namespace {

// Marks an exchange as waiting for as long as it is in scope, also when an error leaves it.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_busy;
};

} // namespace

Exchange::Exchange(EventLoop& loop, Transport& transport, const CurrentModel& model,
                   Prompts& prompts)
    : m_loop(loop), m_transport(transport), m_model(model), m_prompts(prompts),
      m_timeOutTimer(loop.CreateTimer()), m_delayTimer(loop.CreateTimer()) {
    m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
    m_timeOutTimer->SetOnExpiry([this] { TimeOutTimerTimer(); });
    m_delayTimer->SetInterval(EthernetReplyDelayMs);
    m_delayTimer->SetOnExpiry([this] { DelayTimerTimer(); });
    m_progress = &m_ownProgress;
    m_transport.Port().SetOnBytesAvailable(
        [this](std::uint16_t count) { ComPortTriggerAvail(count); });
    m_transport.Port().SetOnTrigger([this](std::uint16_t handle) { ComPortTriggerData(handle); });
}

Exchange::~Exchange() {
    m_transport.Port().SetOnBytesAvailable({});
    m_transport.Port().SetOnTrigger({});
}

void Exchange::SendAndWait(std::string_view command) {
    if (m_busy) {
        // A second exchange inside a waiting one would overwrite the state the first relies on.
        m_prompts.DefaultBeep();
        return;
    }
    if (m_transport.Type() == ConnectionType::Ethernet)
        SendEthernet(command);
    else
        SendSerial(command);
}

void Exchange::SendSerial(std::string_view command) {
    if (m_transport.SerialPortOff() || m_transport.PortFailed()) {
        replyStatus = ReplyStatus::PortOff;
        return;
    }
    const BusyScope busy(m_busy);
    replyStatus = ReplyStatus::Pending;
    if (!m_timeOutTimer->IsRunning())
        m_timeOutTimer->Start();
    try {
        m_transport.Port().SendRaw(command);
    } catch (const PortError& error) {
        // The port could not be reopened (it vanished, or another program took it).
        m_timeOutTimer->Stop();
        m_transport.ReportPortError(error);
        replyStatus = ReplyStatus::PortOff;
        return;
    }
    m_loop.WaitUntil([this] { return replyStatus != ReplyStatus::Pending; });
    m_timeOutTimer->Stop();
    RethrowCaptureError();
}

void Exchange::SendEthernet(std::string_view command) {
    const BusyScope busy(m_busy);
    replyStatus = ReplyStatus::Pending;
    m_transport.Tcp().Write(command);
    // The pause gives the processor time to answer; once its reply line is complete there is
    // nothing more to wait for.
    m_delayTimer->Start();
    m_loop.WaitUntil(
        [this] { return !m_delayTimer->IsRunning() || m_transport.Tcp().LineReady(); });
    m_delayTimer->Stop();

    if (!ReadEthernetLine())
        return;
    // A bench dump arrives as many lines in one exchange; every other reply has two at most.
    const auto capturing = [this] {
        return exchangeStep == ExchangeStep::StepCaptureCommon ||
               exchangeStep == ExchangeStep::StepCaptureUser;
    };
    if (replyStatus == ReplyStatus::Pending && m_model.Family() == ModelFamily::BenchFamily &&
        capturing()) {
        while (replyStatus == ReplyStatus::Pending && capturing()) {
            if (!ReadEthernetLine())
                break;
        }
        RethrowCaptureError();
        return;
    }
    if (replyStatus == ReplyStatus::Pending)
        ReadEthernetLine();
}

bool Exchange::ReadEthernetLine() {
    const LineRead read = m_transport.Tcp().ReadLine(EthernetLineTimeOutMs);
    receiveBuffer = read.line;
    if (read.timedOut) {
        replyStatus = ReplyStatus::NoConnection;
        return false;
    }
    lastReply = receiveBuffer;
    ParseReply(receiveBuffer);
    return true;
}

void Exchange::QueryLibrary() {
    receiveBuffer.clear();
    switch (m_model.Family()) {
    case ModelFamily::CodedFamily:
        SendAndWait("701\r");
        break;
    case ModelFamily::BenchFamily:
        exchangeStep = ExchangeStep::StepBenchLibraryQuery;
        SendAndWait("SYST.LIBRARY.SELECT?\r");
        break;
    case ModelFamily::MenuFamily:
        exchangeStep = ExchangeStep::StepAcknowledge;
        SendAndWait("3.1 ?\r");
        break;
    case ModelFamily::NoFamily:
        break;
    }
}

void Exchange::SelectLibrary(int number) {
    switch (m_model.Family()) {
    case ModelFamily::CodedFamily:
        SendAndWait("700 " + FormatLibraryNumber(number) + "\r");
        break;
    case ModelFamily::BenchFamily:
        m_timeOutTimer->SetInterval(BenchSelectTimeOutMs);
        exchangeStep = ExchangeStep::StepAcknowledge;
        SendAndWait("SYST.LIBRARY.SELECT:" + std::to_string(number) + "\r");
        break;
    case ModelFamily::MenuFamily:
        exchangeStep = ExchangeStep::StepSetAcknowledge;
        SendAndWait("3.1 " + std::to_string(number) + "\r");
        break;
    case ModelFamily::NoFamily:
        break;
    }
}

void Exchange::ComPortTriggerAvail(std::uint16_t count) {
    const ModelFamily family = m_model.Family();
    for (std::uint16_t i = 0; i < count; ++i) {
        const char byte = m_transport.Port().ReadByte();
        if (byte == '\n' || byte == '\r')
            continue;
        if (byte == '\0' && family == ModelFamily::CodedFamily)
            continue;
        if (family == ModelFamily::NoFamily)
            continue;
        receiveBuffer.push_back(byte);
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
    lastReply = receiveBuffer;
    const std::string reply = std::move(receiveBuffer);
    receiveBuffer.clear();
    ParseReply(reply);
}

void Exchange::TimeOutTimerTimer() {
    m_timeOutTimer->Stop();
    replyStatus = ReplyStatus::NoConnection;
    m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
    receiveBuffer.clear();
    if (m_model.Family() == ModelFamily::BenchFamily)
        exchangeStep = ExchangeStep::StepNone;
}

void Exchange::DelayTimerTimer() {
    m_delayTimer->Stop();
}

} // namespace setfolio
