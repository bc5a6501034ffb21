#pragma once

#include "core/Signal.h"
#include "platform/SerialPort.h"

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

class EventLoop;
class LinkTrace;
class Prompts;
class TcpClient;
class Timer;

enum class ConnectionType { Serial = 0, Ethernet = 1 };

// The serial line's settings as the communications settings give them. Port 0 is OFF.
struct SerialSettings {
    int port = 0; // 1 to 32, or 0 for OFF
    int baudRate = 9600;
    std::optional<Parity> parity = Parity::None; // none marked: the port keeps its parity
    int dataBits = 8;
    int stopBits = 2;
};

inline constexpr std::uint16_t ProcessorTcpPort = 23;

// What the link reports to the user, each with "{}" where its arguments go: a port number; the
// IP list entry; the entry and the port it leads to; the host and port; a device's path (and
// what the system said of it); a port number and the missing device its link names.
enum class LinkReport {
    PortAlreadyOpen,
    PortDoesNotExist,
    PortOtherError,
    NoIpAddress,
    InvalidIpAddress,
    CannotConnect,
    DeviceDoesNotExist,
    DeviceIsAFile,
    DeviceIsAFolder,
    DeviceCannotOpen,
    PortDeviceMissing
};
inline constexpr std::array<std::string_view, 11> LinkReportEnglish{
    "COM {} is already open.\r\rPlease assign a different COM Port for communication with the "
    "Quorvane processor.",
    "COM {} does not exist.\r\rPlease assign a different COM Port for communication with the "
    "Quorvane processor.",
    "Unspecified error for COM {}.",
    "Please assign an IP Address for Ethernet communication with the Quorvane processor.",
    "\"{}\" is not a valid IP Address. Give the address, followed by :port (1 to 65535) when the "
    "processor does not listen on port {}.",
    "Unable to connect to {} port {}.",
    "The serial device {} does not exist.",
    "{} is a file, not a serial device.",
    "{} is a folder, not a serial device.",
    "{} cannot be opened as a serial device: {}.",
    "COM {} leads to {}, which is not there.\r\rConnect the device, or assign a different COM "
    "Port for communication with the Quorvane processor.",
};
// The text of a report in the language the user reads.
using LinkReportTexts = std::function<std::string(LinkReport)>;

// Opens, configures and closes the link to the processor: a serial port or a TCP connection,
// whichever the connection type chooses.
class Transport {
public:
    // `tcpPort` is where an IP list entry that names no port of its own leads.
    Transport(SerialPort& port, TcpClient& tcp, EventLoop& loop, Prompts& prompts,
              std::uint16_t tcpPort = ProcessorTcpPort);
    ~Transport();

    // Where the settings come from: read again each time they are needed. A source may throw
    // (a setting with no selection); that error reaches the caller.
    void SetSerialSettingsSource(std::function<SerialSettings()> source);
    // The text of the selected line of the IP address list ("" when none is selected); the
    // connection goes to the port it names (see ParseHostEntry), else to the constructor's.
    void SetHostEntrySource(std::function<std::string()> source);
    // Where the reports' texts come from; English (LinkReportEnglish) until this is called.
    void SetReportTexts(LinkReportTexts texts);
    // After a port error has been reported (the communications dialog stays open then).
    Signal<> portErrorReported;

    ConnectionType Type() const { return m_type; }
    void SetConnectionType(ConnectionType type) { m_type = type; }

    void OpenConnection();
    void ConfigureSerialPort();
    void ReportPortError(const PortError& error);
    void ConnectTcp();
    // Before an exchange over Ethernet: a connection that has been lost (the processor
    // restarted, or did not answer when it was made) is tried once more, with the watchdog and
    // the reports of ConnectTcp; a failed attempt throws TcpError. Nothing is tried without an
    // address to go to, or while an attempt is under way.
    void ReconnectIfLost();
    void ConnectAttemptTimer();
    void TcpClientConnected();
    // The report's text with its arguments put in (core/TextFormat.h).
    std::string Report(LinkReport report, std::initializer_list<std::string_view> arguments) const;

    // Before new settings are applied: both transports are closed, whatever the type.
    void CloseForNewSettings();
    // When the program ends.
    void CloseAtExit();

    bool SerialPortOff() const;
    // The baud rate of the serial settings in force.
    int BaudRate() const { return m_serialSettings().baudRate; }
    bool PortFailed() const { return m_portFailed; }
    std::uint16_t CrTriggerHandle() const { return m_crTriggerHandle; }
    std::uint16_t CrLfTriggerHandle() const { return m_crLfTriggerHandle; }
    // The host and port of the last connection attempt.
    const std::string& HostAddress() const { return m_hostAddress; }
    std::uint16_t TcpPort() const { return m_tcpPort; }
    // Where an entry that names no port leads.
    std::uint16_t DefaultTcpPort() const { return m_defaultTcpPort; }

    // Where the link's opening and closing are traced; none (nullptr) by default.
    void SetTrace(LinkTrace* trace) {
        m_trace = trace;
        m_traceOpen = false;
    }
    LinkTrace* Trace() const { return m_trace; }
    // The link's settings as a trace tells them: a device (or COM port) with baud, parity, data
    // and stop bits, or host:port.
    std::string SettingsText() const;

    SerialPort& Port() { return m_port; }
    TcpClient& Tcp() { return m_tcp; }
    Timer& ConnectAttempt() { return *m_connectAttempt; }

private:
    SerialPort& m_port;
    TcpClient& m_tcp;
    Prompts& m_prompts;
    std::uint16_t m_defaultTcpPort; // for an entry that names no port
    std::uint16_t m_tcpPort;
    std::unique_ptr<Timer> m_connectAttempt;
    std::function<SerialSettings()> m_serialSettings;
    std::function<std::string()> m_hostEntry;
    LinkReportTexts m_reportTexts;

    ConnectionType m_type = ConnectionType::Serial;
    bool m_portFailed = false;
    bool m_connecting = false;
    std::uint16_t m_crTriggerHandle = 0;
    std::uint16_t m_crLfTriggerHandle = 0;
    std::string m_hostAddress;
    LinkTrace* m_trace = nullptr;
    bool m_traceOpen = false; // an opening traced and no closing since

    void TraceOpened();
    void TraceClosed();
};

} // namespace setfolio
