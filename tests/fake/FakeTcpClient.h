#pragma once

#include "link/LineBuffer.h"
#include "platform/TcpClient.h"

#include <functional>
#include <string>

namespace setfolio::fake {

class FakeEventLoop;

// A TCP client whose connection attempts and peer are scripted on the fake loop.
class FakeTcpClient : public TcpClient {
public:
    enum class Attempt { Connects, Refused, NeverAnswers };

    explicit FakeTcpClient(FakeEventLoop& loop) : m_loop(loop) {}

    void SetHost(const std::string& value) override { host = value; }
    void SetPort(std::uint16_t value) override { port = value; }
    void Connect() override;
    void Disconnect() override;
    bool IsConnected() const override { return m_connected; }
    void Write(std::string_view bytes) override;
    LineRead ReadLine(int timeoutMs) override;
    bool LineReady() override { return m_buffer.HasLine(); }
    void DiscardInput() override { m_buffer.Clear(); }
    void SetOnConnected(std::function<void()> handler) override {
        m_onConnected = std::move(handler);
    }

    // The peer's side.
    void SetAttempt(Attempt attempt, std::int64_t delayMs = 10) {
        m_attempt = attempt;
        m_attemptDelay = delayMs;
    }
    void SetPeer(std::function<void(const std::string& sent)> peer) { m_peer = std::move(peer); }
    void Receive(std::string bytes, std::int64_t delayMs = 0);
    void CloseFromPeer(std::int64_t delayMs = 0);

    std::string host;
    std::uint16_t port = 0;
    std::string sent;
    int connects = 0;
    int disconnects = 0;

private:
    FakeEventLoop& m_loop;
    LineBuffer m_buffer;
    Attempt m_attempt = Attempt::Connects;
    std::int64_t m_attemptDelay = 10;
    int m_attemptNumber = 0;
    bool m_connected = false;
    bool m_connecting = false;
    bool m_peerClosed = false;
    std::function<void()> m_onConnected;
    std::function<void(const std::string&)> m_peer;
};

} // namespace setfolio::fake
