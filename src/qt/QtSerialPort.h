#pragma once

#include "link/PortLinks.h"
#include "link/TriggerMatcher.h"
#include "platform/SerialPort.h"

#include <QSerialPort>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>

namespace setfolio {

// A serial port on QSerialPort. Port n is the device named by `<folder>/ports/COMn` (the
// program's settings folder) when that entry exists (a symlink to the real device), else
// /dev/ttyS<n-1>; on Windows it is COMn. A device path given instead is opened as it is.
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(const std::string& folder);
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    void SetPortNumber(int number) override;
    void SetDevicePath(const std::string& path) override { m_devicePath = path; }
    void SetBaudRate(int baud) override { m_baudRate = baud; }
    void SetParity(Parity parity) override { m_parity = parity; }
    void SetDataBits(int bits) override { m_dataBits = bits; }
    void SetStopBits(int bits) override { m_stopBits = bits; }
    void SetInputQueueSize(std::size_t bytes) override { m_inputQueueSize = bytes; }
    void SetOutputQueueSize(std::size_t bytes) override { m_outputQueueSize = bytes; }

    std::uint16_t AddDataTrigger(std::string_view sequence) override;
    void RemoveTrigger(std::uint16_t handle) override;

    void Close() override;
    bool IsOpen() const override;
    std::string OpenDevicePath() const override;

    void SendRaw(std::string_view bytes) override;
    std::size_t OutputQueueUsed() const override;

    char ReadByte() override;
    void DiscardInput() override;

    void SetOnBytesAvailable(std::function<void(std::uint16_t count)> handler) override {
        m_onBytesAvailable = std::move(handler);
    }
    void SetOnTrigger(std::function<void(std::uint16_t handle)> handler) override {
        m_onTrigger = std::move(handler);
    }

    // The device that port `number` names, as it would be opened now (without a device path).
    std::string DevicePath(int number) const;

    std::string MissingDevice(int number) const override;

private:
    void EnsureOpen();
    void CloseDevice();
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);

    PortLinks m_links;
    int m_portNumber = 1;
    std::string m_devicePath; // opened instead of the numbered port when set
    // Set when the port was named through ports/COMn when it was chosen: it keeps that name,
    // and the device the link led to, while the link is gone.
    bool m_named = false;
    std::string m_namedTarget;
    int m_baudRate = 9600;
    Parity m_parity = Parity::None;
    int m_dataBits = 8;
    int m_stopBits = 1;
    std::size_t m_inputQueueSize = DefaultQueueSize;
    // Kept for the link's sake only: Qt's write buffer grows as needed, so nothing is dropped.
    std::size_t m_outputQueueSize = DefaultQueueSize;

    QSerialPort m_port;
    std::string m_openPath; // the device the port was last opened on
    // Set when the device went away under an open port; it is closed at the next chance.
    bool m_vanished = false;
    bool m_opening = false;
    bool m_delivering = false;
    std::uint64_t m_session = 0; // counts closes, so events of a closed session are dropped
    TriggerMatcher m_matcher;
    std::set<std::uint16_t> m_handles; // triggers in force, to drop events of removed ones
    std::deque<char> m_received;
    std::function<void(std::uint16_t)> m_onBytesAvailable;
    std::function<void(std::uint16_t)> m_onTrigger;
};

} // namespace setfolio
