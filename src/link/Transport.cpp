#include "link/Transport.h"

#include "core/Guarded.h"
#include "core/ScopeExit.h"
#include "core/TextFormat.h"
#include "link/IpAddressList.h"
#include "link/LinkTrace.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"

#include <utility>

namespace setfolio {

namespace {
constexpr int ConnectAttemptMs = 2000;

std::string EnglishReport(LinkReport report) {
    return std::string(LinkReportEnglish[static_cast<std::size_t>(report)]);
}
} // namespace

Transport::Transport(SerialPort& port, TcpClient& tcp, EventLoop& loop, Prompts& prompts,
                     std::uint16_t tcpPort)
    : m_port(port), m_tcp(tcp), m_prompts(prompts), m_defaultTcpPort(tcpPort), m_tcpPort(tcpPort),
      m_connectAttempt(loop.CreateTimer()), m_serialSettings([] { return SerialSettings{}; }),
      m_hostEntry([] { return std::string(); }), m_reportTexts(EnglishReport) {
    m_connectAttempt->SetInterval(ConnectAttemptMs);
    m_connectAttempt->SetOnExpiry(
        [this] { RunGuarded(m_prompts, [this] { ConnectAttemptTimer(); }); });
    m_tcp.SetOnConnected([this] { TcpClientConnected(); });
}

Transport::~Transport() {
    m_tcp.SetOnConnected({});
    if (m_trace && m_traceOpen)
        m_trace->Closed(SettingsText());
}

void Transport::SetSerialSettingsSource(std::function<SerialSettings()> source) {
    m_serialSettings = std::move(source);
}

void Transport::SetHostEntrySource(std::function<std::string()> source) {
    m_hostEntry = std::move(source);
}

void Transport::SetReportTexts(LinkReportTexts texts) {
    m_reportTexts = texts ? std::move(texts) : LinkReportTexts(EnglishReport);
}

std::string Transport::Report(LinkReport report,
                              std::initializer_list<std::string_view> arguments) const {
    return FormatText(m_reportTexts(report), arguments);
}

void Transport::OpenConnection() {
    if (m_type == ConnectionType::Ethernet)
        ConnectTcp();
    else
        ConfigureSerialPort();
}

bool Transport::SerialPortOff() const {
    return m_serialSettings().port == 0;
}

void Transport::ConfigureSerialPort() {
    const SerialSettings settings = m_serialSettings();
    if (settings.port == 0)
        return;
    try {
        m_port.SetPortNumber(settings.port);
        m_port.SetBaudRate(settings.baudRate);
        if (settings.parity)
            m_port.SetParity(*settings.parity);
        m_port.SetDataBits(settings.dataBits);
        m_port.SetStopBits(settings.stopBits);
        m_crTriggerHandle = m_port.AddDataTrigger("\r");
        m_crLfTriggerHandle = m_port.AddDataTrigger("\r\n");
        m_portFailed = false;
        if (m_trace)
            TraceOpened();
    } catch (const PortError& error) {
        ReportPortError(error);
    }
}

void Transport::ReportPortError(const PortError& error) {
    m_portFailed = true;
    m_prompts.WarningBeep();
    const std::string port = std::to_string(error.PortNumber());
    // A device named by its path is told of by that path: the port's number may only stand in
    // for it.
    const std::string& device = error.Device();
    switch (error.Kind()) {
    case PortErrorKind::AlreadyOpen:
        m_prompts.ErrorBox(Report(LinkReport::PortAlreadyOpen, {port}));
        break;
    case PortErrorKind::DoesNotExist:
        if (!error.MissingDevice().empty())
            m_prompts.ErrorBox(
                Report(LinkReport::PortDeviceMissing, {port, error.MissingDevice()}));
        else if (!device.empty())
            m_prompts.ErrorBox(Report(LinkReport::DeviceDoesNotExist, {device}));
        else
            m_prompts.ErrorBox(Report(LinkReport::PortDoesNotExist, {port}));
        break;
    case PortErrorKind::Other:
        m_prompts.ErrorBox(device.empty()
                               ? Report(LinkReport::PortOtherError, {port})
                               : Report(LinkReport::DeviceCannotOpen, {device, error.Reason()}));
        break;
    case PortErrorKind::IsAFile:
        m_prompts.ErrorBox(Report(LinkReport::DeviceIsAFile, {device}));
        break;
    case PortErrorKind::IsAFolder:
        m_prompts.ErrorBox(Report(LinkReport::DeviceIsAFolder, {device}));
        break;
    }
    portErrorReported.Emit();
}

void Transport::ConnectTcp() {
    m_hostAddress = m_hostEntry();
    if (m_hostAddress.empty()) {
        m_prompts.WarningBeep();
        m_prompts.ErrorBox(Report(LinkReport::NoIpAddress, {}));
        return;
    }
    const auto address = ParseHostEntry(m_hostAddress, m_defaultTcpPort);
    if (!address) {
        m_prompts.WarningBeep();
        m_prompts.ErrorBox(Report(LinkReport::InvalidIpAddress,
                                  {m_hostAddress.substr(0, m_hostAddress.find(" - ")),
                                   std::to_string(m_defaultTcpPort)}));
        return;
    }
    m_hostAddress = address->host;
    m_tcpPort = address->port;
    m_tcp.SetHost(m_hostAddress);
    m_tcp.SetPort(m_tcpPort);
    m_connectAttempt->Start();
    const auto connecting = FlagForScope(m_connecting);
    m_tcp.Connect(); // a failure propagates; the watchdog keeps running and reports as well
    if (m_trace)
        TraceOpened();
}

void Transport::TraceOpened() {
    if (!m_trace)
        return;
    m_trace->Opened(SettingsText());
    m_traceOpen = true;
}

void Transport::TraceClosed() {
    if (!m_trace || !std::exchange(m_traceOpen, false))
        return;
    m_trace->Closed(SettingsText());
}

std::string Transport::SettingsText() const {
    if (m_type == ConnectionType::Ethernet)
        return m_hostAddress + ":" + std::to_string(m_tcpPort);
    const SerialSettings settings = m_serialSettings();
    std::string device = m_port.OpenDevicePath();
    if (device.empty())
        device = "COM" + std::to_string(settings.port);
    std::string parity = "unchanged";
    if (settings.parity) {
        switch (*settings.parity) {
        case Parity::None:
            parity = "none";
            break;
        case Parity::Odd:
            parity = "odd";
            break;
        case Parity::Even:
            parity = "even";
            break;
        }
    }
    return device + " baud " + std::to_string(settings.baudRate) + " parity " + parity + " data " +
           std::to_string(settings.dataBits) + " stop " + std::to_string(settings.stopBits);
}

void Transport::ReconnectIfLost() {
    if (m_type != ConnectionType::Ethernet || m_connecting || m_tcp.IsConnected())
        return;
    // No address was ever usable: the exchange fails for want of a connection, as before, and
    // is not answered with the box that asks for an address every time.
    const std::string entry = m_hostEntry();
    if (entry.empty() || !ParseHostEntry(entry, m_defaultTcpPort))
        return;
    ConnectTcp();
}

void Transport::TcpClientConnected() {
    m_connectAttempt->Stop();
}

void Transport::ConnectAttemptTimer() {
    m_connectAttempt->Stop();
    m_tcp.Disconnect();
    m_prompts.WarningBeep();
    m_prompts.ErrorBox(
        Report(LinkReport::CannotConnect, {m_hostAddress, std::to_string(m_tcpPort)}));
}

void Transport::CloseForNewSettings() {
    TraceClosed();
    m_port.RemoveTrigger(m_crTriggerHandle);
    m_port.RemoveTrigger(m_crLfTriggerHandle);
    m_port.Close();
    m_tcp.Disconnect();
}

void Transport::CloseAtExit() {
    TraceClosed();
    if (m_type == ConnectionType::Ethernet) {
        m_tcp.Disconnect();
        return;
    }
    m_port.RemoveTrigger(m_crTriggerHandle);
    m_port.RemoveTrigger(m_crLfTriggerHandle);
    m_port.Close();
}

} // namespace setfolio
