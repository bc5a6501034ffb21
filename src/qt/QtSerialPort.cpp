#include "qt/QtSerialPort.h"

#include "core/ScopeExit.h"

#include <QSignalBlocker>

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

namespace setfolio {

namespace {

constexpr int MaxPortNumber = 32;

std::string PortName(int number) {
    return "COM" + std::to_string(number);
}

PortErrorKind KindOf(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortErrorKind::DoesNotExist;
    // Qt reports a port in use, locked by another program or refused to us all alike.
    case QSerialPort::PermissionError:
        return PortErrorKind::AlreadyOpen;
    default:
        return PortErrorKind::Other;
    }
}

} // namespace

QtSerialPort::QtSerialPort(const std::string& folder) : m_links(folder) {
    QObject::connect(&m_port, &QSerialPort::readyRead, [this] {
        // An error of a handler must not unwind through QSerialPort's own reading, which would
        // leave it deaf: it is raised again from an event of its own, as any handler's error.
        try {
            OnReadyRead();
        } catch (...) {
            QMetaObject::invokeMethod(
                &m_port, [error = std::current_exception()] { std::rethrow_exception(error); },
                Qt::QueuedConnection);
        }
    });
    QObject::connect(&m_port, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { OnError(error); });
}

QtSerialPort::~QtSerialPort() {
    // Closing must not call back into members that are already gone.
    QObject::disconnect(&m_port, nullptr, nullptr, nullptr);
    if (m_port.isOpen())
        m_port.close();
}

void QtSerialPort::SetPortNumber(int number) {
#ifndef _WIN32
    // Chosen again while its link is gone (the simulator that made it ended, an adapter's link
    // was removed with it), the port still means the device the link named: it is reported
    // missing, never taken for /dev/ttyS<n-1>.
    const bool stillNamed = m_named && number == m_portNumber;
    if (m_links.HasEntry(number)) {
        m_named = true;
        m_namedTarget = m_links.Reaches(number).target;
    } else if (!stillNamed) {
        m_named = false;
        m_namedTarget.clear();
    }
#endif
    m_portNumber = number;
}

std::string QtSerialPort::MissingDevice(int number) const {
#ifdef _WIN32
    (void)number;
    return {};
#else
    if (m_links.HasEntry(number)) {
        const PortLinks::Reach reach = m_links.Reaches(number);
        return reach.missing ? reach.target : std::string();
    }
    if (m_named && number == m_portNumber)
        return m_namedTarget.empty() ? m_links.EntryPath(number) : m_namedTarget;
    return {};
#endif
}

std::string QtSerialPort::OpenDevicePath() const {
    return IsOpen() ? m_openPath : std::string();
}

std::string QtSerialPort::DevicePath(int number) const {
#ifdef _WIN32
    return PortName(number);
#else
    // A port chosen through its link that has gone (an adapter unplugged) is missing; it must
    // not turn into another device that happens to carry the same number.
    if (!m_links.HasEntry(number) && m_named && number == m_portNumber)
        return m_links.EntryPath(number);
    return m_links.DevicePath(number);
#endif
}

void QtSerialPort::EnsureOpen() {
    if (m_vanished)
        CloseDevice();
    if (m_port.isOpen())
        return;

    const int number = m_portNumber;
    const bool byPath = !m_devicePath.empty();
    const std::string name = byPath ? m_devicePath : PortName(number);
    if (!byPath && (number < 1 || number > MaxPortNumber))
        throw PortError(PortErrorKind::DoesNotExist, number, name + " is not a serial port");
    if (m_dataBits != 7 && m_dataBits != 8)
        throw PortError(PortErrorKind::Other, number,
                        name + ": unsupported data bits " + std::to_string(m_dataBits));
    if (m_stopBits != 1 && m_stopBits != 2)
        throw PortError(PortErrorKind::Other, number,
                        name + ": unsupported stop bits " + std::to_string(m_stopBits));
    if (m_baudRate <= 0)
        throw PortError(PortErrorKind::Other, number,
                        name + ": unsupported baud rate " + std::to_string(m_baudRate));

    // Qt would take a relative name for one under /dev.
    std::error_code absoluteError;
    const std::string path = byPath
                                 ? std::filesystem::absolute(m_devicePath, absoluteError).string()
                                 : DevicePath(number);
    // A device given by its path, or through the port's link, is told of by that path.
    const bool pathNamed = byPath || m_links.HasEntry(number);
    const std::string port = byPath ? std::string() : name + ": ";
#ifndef _WIN32
    if (!byPath) {
        if (const std::string missing = MissingDevice(number); !missing.empty())
            throw PortError(PortErrorKind::DoesNotExist, number,
                            name + ": " + m_links.EntryPath(number) + " leads to " + missing +
                                ", which is not there",
                            std::string(), std::string(), missing);
    }
    std::error_code ignored;
    const auto status = std::filesystem::status(path, ignored);
    if (!std::filesystem::exists(status))
        throw PortError(PortErrorKind::DoesNotExist, number,
                        port + "the device " + path + " does not exist",
                        byPath ? path : std::string());
    // A file or a folder would fail to open with the system's bare words ("Inappropriate ioctl
    // for device", "Is a directory"): each is named for what it is.
    if (std::filesystem::is_regular_file(status))
        throw PortError(PortErrorKind::IsAFile, number,
                        port + path + " is a file, not a serial device", path);
    if (std::filesystem::is_directory(status))
        throw PortError(PortErrorKind::IsAFolder, number,
                        port + path + " is a folder, not a serial device", path);
#endif

    m_port.setPortName(QString::fromStdString(path));
    m_port.setBaudRate(m_baudRate);
    m_port.setParity(m_parity == Parity::Odd    ? QSerialPort::OddParity
                     : m_parity == Parity::Even ? QSerialPort::EvenParity
                                                : QSerialPort::NoParity);
    m_port.setDataBits(m_dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    m_port.setStopBits(m_stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(static_cast<qint64>(m_inputQueueSize));

    bool opened = false;
    {
        const auto opening = FlagForScope(m_opening);
        opened = m_port.open(QIODevice::ReadWrite);
        if (opened) {
            // Devices without modem lines (pseudo-terminals, some adapters) refuse these; the
            // port works regardless.
            m_port.setDataTerminalReady(true);
            m_port.setRequestToSend(true);
        }
    }
    if (!opened) {
        const PortErrorKind kind = KindOf(m_port.error());
        const std::string reason = m_port.errorString().toStdString();
        const bool told = kind == PortErrorKind::DoesNotExist ? byPath : pathNamed;
        throw PortError(kind, number, port + path + ": " + reason, told ? path : std::string(),
                        reason);
    }
    m_port.clearError();
    m_openPath = path;
}

void QtSerialPort::CloseDevice() {
    if (m_port.isOpen())
        m_port.close();
    m_vanished = false;
    // Received bytes nobody took belong to the closed session; a reopened port starts afresh.
    m_received.clear();
    m_matcher.ResetStream();
    ++m_session;
}

std::uint16_t QtSerialPort::AddDataTrigger(std::string_view sequence) {
    EnsureOpen();
    const std::uint16_t handle = m_matcher.Add(sequence);
    m_handles.insert(handle);
    return handle;
}

void QtSerialPort::RemoveTrigger(std::uint16_t handle) {
    if (!IsOpen())
        return;
    m_matcher.Remove(handle);
    m_handles.erase(handle);
}

void QtSerialPort::Close() {
    CloseDevice();
}

bool QtSerialPort::IsOpen() const {
    return m_port.isOpen() && !m_vanished;
}

void QtSerialPort::SendRaw(std::string_view bytes) {
    EnsureOpen();
    if (bytes.empty())
        return;
    const auto size = static_cast<qint64>(bytes.size());
    if (m_port.write(bytes.data(), size) != size)
        throw PortError(PortErrorKind::Other, m_portNumber,
                        PortName(m_portNumber) + ": " + m_port.errorString().toStdString());
}

std::size_t QtSerialPort::OutputQueueUsed() const {
    return IsOpen() ? static_cast<std::size_t>(m_port.bytesToWrite()) : 0;
}

char QtSerialPort::ReadByte() {
    if (m_received.empty())
        return '\0';
    const char byte = m_received.front();
    m_received.pop_front();
    return byte;
}

void QtSerialPort::DiscardInput() {
    if (!IsOpen())
        return;
    m_received.clear();
    m_matcher.ResetStream();
    // Reading first lets a full read buffer take input again once it is cleared.
    m_port.readAll();
    {
        // A device that has gone away is noticed when the command is written, as ever; failing
        // to drop its input is no reason to report it sooner.
        const QSignalBlocker quiet(m_port);
        m_port.clear(QSerialPort::Input);
    }
    m_port.clearError();
}

void QtSerialPort::OnReadyRead() {
    // A handler that waits lets events run; bytes arriving meanwhile are picked up by the loop
    // below, after the events of the earlier bytes.
    if (m_delivering)
        return;
    // A handler that throws must not leave the port deaf to every later byte.
    const auto delivering = FlagForScope(m_delivering);
    const std::uint64_t session = m_session;
    while (m_session == session && m_port.isOpen() && m_port.bytesAvailable() > 0) {
        const QByteArray chunk = m_port.readAll();
        if (chunk.isEmpty())
            break;
        m_received.insert(m_received.end(), chunk.begin(), chunk.end());
        const auto events = m_matcher.Feed(
            std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
        for (const auto& event : events) {
            // A handler that closed the port ended the session these bytes belong to.
            if (m_session != session)
                break;
            if (event.kind == TriggerMatcher::Event::Kind::Bytes) {
                if (m_onBytesAvailable)
                    m_onBytesAvailable(event.value);
            } else if (m_handles.contains(event.value) && m_onTrigger) {
                m_onTrigger(event.value);
            }
        }
    }
}

void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
    // A device that goes away shows as a resource error, or, once the terminal is hung up, as a
    // read error: the device reports end of file over and over, so the port would spin.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (m_opening || !gone || !m_port.isOpen() || m_vanished)
        return;
    // Closing inside QSerialPort's own notification is not safe, so it is closed from a later
    // event; until then the port reports itself closed and the next use reopens it.
    m_vanished = true;
    const std::uint64_t session = m_session;
    QMetaObject::invokeMethod(
        &m_port,
        [this, session] {
            if (m_vanished && m_session == session)
                CloseDevice();
        },
        Qt::QueuedConnection);
}

} // namespace setfolio
