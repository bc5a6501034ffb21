#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace setfolio {

enum class Parity { None = 0, Odd = 1, Even = 2 };

// The ways opening a port can fail, as the user is told about them: the three of any port, and
// a path that leads to a file or a folder instead of a device.
enum class PortErrorKind { DoesNotExist, AlreadyOpen, Other, IsAFile, IsAFolder };

class PortError : public std::runtime_error {
public:
    // `device` is the path of a device given by path or by a port's link, when the user is told
    // of it rather than of the port; `reason` is what the system said when it could not be
    // opened; `missingDevice` is the device the port's link names, which is not there (an
    // adapter unplugged, a simulator ended).
    PortError(PortErrorKind kind, int portNumber, const std::string& detail,
              std::string device = {}, std::string reason = {}, std::string missingDevice = {})
        : std::runtime_error(detail), m_kind(kind), m_portNumber(portNumber),
          m_device(std::move(device)), m_reason(std::move(reason)),
          m_missingDevice(std::move(missingDevice)) {}
    PortErrorKind Kind() const { return m_kind; }
    int PortNumber() const { return m_portNumber; }
    const std::string& Device() const { return m_device; }
    const std::string& Reason() const { return m_reason; }
    const std::string& MissingDevice() const { return m_missingDevice; }

private:
    PortErrorKind m_kind;
    int m_portNumber;
    std::string m_device;
    std::string m_reason;
    std::string m_missingDevice;
};

inline constexpr std::size_t DefaultQueueSize = 4096;
inline constexpr std::size_t LargeQueueSize = 45000;

// A serial port (COM1 to COM32) as the link needs it. The port opens on first use: registering a
// trigger or sending opens it with the stored settings, and a failure to open throws PortError.
// Both events run on the user-interface thread, as events of its loop.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Settings take effect when the port next opens.
    virtual void SetPortNumber(int number) = 0; // 1 to 32
    // A device to open instead of the numbered port's (/dev/ttyUSB0, a pseudo-terminal); empty
    // goes back to the number. Errors still name the port number.
    virtual void SetDevicePath(const std::string& path) = 0;
    virtual void SetBaudRate(int baud) = 0;
    virtual void SetParity(Parity parity) = 0;
    virtual void SetDataBits(int bits) = 0;
    virtual void SetStopBits(int bits) = 0;
    virtual void SetInputQueueSize(std::size_t bytes) = 0;
    virtual void SetOutputQueueSize(std::size_t bytes) = 0;

    // From now on every occurrence of `sequence` in the received stream raises the trigger event
    // with the returned handle. Triggers survive Close() and are active again, under the same
    // handles, when the port reopens.
    virtual std::uint16_t AddDataTrigger(std::string_view sequence) = 0;
    // Does nothing while the port is closed.
    virtual void RemoveTrigger(std::uint16_t handle) = 0;

    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // The device the open port uses (its path); empty while it is closed, or where the port
    // cannot tell.
    virtual std::string OpenDevicePath() const { return {}; }
    // The device port `number` was named to lead to that is not there, so that the port will
    // not open (a link whose device is gone, or a link removed since the port was chosen through
    // it); empty otherwise, or where the port cannot tell.
    virtual std::string MissingDevice(int number) const {
        (void)number;
        return {};
    }

    // Queues the bytes for sending and returns at once.
    virtual void SendRaw(std::string_view bytes) = 0;
    // Bytes still waiting to be sent; 0 while the port is closed.
    virtual std::size_t OutputQueueUsed() const = 0;

    // Takes the next received byte; only valid for bytes announced by the arrival event.
    virtual char ReadByte() = 0;
    // Drops every received byte that has not been announced yet, the device's unread input
    // included, and any part of a trigger sequence seen so far. Does nothing while closed.
    virtual void DiscardInput() = 0;

    // `count` received bytes are waiting to be taken with ReadByte, in arrival order.
    virtual void SetOnBytesAvailable(std::function<void(std::uint16_t count)> handler) = 0;
    // A trigger's sequence has arrived; every byte before it was announced first.
    virtual void SetOnTrigger(std::function<void(std::uint16_t handle)> handler) = 0;
};

} // namespace setfolio
