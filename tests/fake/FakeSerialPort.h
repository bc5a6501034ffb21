#pragma once

#include "link/TriggerMatcher.h"
#include "platform/SerialPort.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace setfolio::fake {

class FakeEventLoop;

// A serial port with a scripted peer. Bytes the program sends are recorded (and handed to the
// peer, if one is set); bytes the peer sends arrive as events of the fake loop.
class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(FakeEventLoop& loop) : m_loop(loop) {}

    void SetPortNumber(int number) override { portNumber = number; }
    void SetDevicePath(const std::string& path) override { devicePath = path; }
    void SetBaudRate(int baud) override { baudRate = baud; }
    void SetParity(Parity value) override { parity = value; }
    void SetDataBits(int bits) override { dataBits = bits; }
    void SetStopBits(int bits) override { stopBits = bits; }
    void SetInputQueueSize(std::size_t bytes) override { inputQueueSize = bytes; }
    void SetOutputQueueSize(std::size_t bytes) override { outputQueueSize = bytes; }

    std::uint16_t AddDataTrigger(std::string_view sequence) override;
    void RemoveTrigger(std::uint16_t handle) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    void SendRaw(std::string_view bytes) override;
    std::size_t OutputQueueUsed() const override { return m_open ? outputQueueUsed : 0; }
    char ReadByte() override;
    void DiscardInput() override {
        m_received.clear();
        m_matcher.ResetStream();
    }
    void SetOnBytesAvailable(std::function<void(std::uint16_t)> handler) override {
        m_onBytes = std::move(handler);
    }
    void SetOnTrigger(std::function<void(std::uint16_t)> handler) override {
        m_onTrigger = std::move(handler);
    }

    // The peer's side.
    // Delivers `bytes` to the program `delayMs` from now, as one chunk.
    void Receive(std::string bytes, std::int64_t delayMs = 0);
    // Called with every command the program sends.
    void SetPeer(std::function<void(const std::string& sent)> peer) { m_peer = std::move(peer); }
    const std::function<void(const std::string& sent)>& Peer() const { return m_peer; }
    // Makes the next open fail with this kind of port error.
    void FailNextOpen(PortErrorKind kind) { m_failOpen = kind; }
    // From now on sent bytes wait in the output queue and leave it at `bytesPerSecond` of virtual
    // time, one write after the other; 0 (the start) leaves outputQueueUsed to the test.
    void DrainAt(int bytesPerSecond) { m_drainRate = bytesPerSecond; }

    std::string sent; // every byte sent, in order
    int opens = 0;
    int portNumber = 0;
    std::string devicePath;
    int baudRate = 0;
    Parity parity = Parity::None;
    int dataBits = 0;
    int stopBits = 0;
    std::size_t inputQueueSize = DefaultQueueSize;
    std::size_t outputQueueSize = DefaultQueueSize;
    std::size_t outputQueueUsed = 0;

private:
    void OpenIfClosed();

    FakeEventLoop& m_loop;
    TriggerMatcher m_matcher;
    std::deque<char> m_received;
    std::function<void(std::uint16_t)> m_onBytes;
    std::function<void(std::uint16_t)> m_onTrigger;
    std::function<void(const std::string&)> m_peer;
    std::optional<PortErrorKind> m_failOpen;
    bool m_open = false;
    int m_drainRate = 0;
    std::int64_t m_drainedAt = 0; // virtual time at which the queue will be empty
};

} // namespace setfolio::fake
