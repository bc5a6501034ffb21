#include "FakeTcpClient.h"

#include "FakeEventLoop.h"

#include <memory>

namespace setfolio::fake {

void FakeTcpClient::Connect() {
    ++connects;
    m_connecting = true;
    m_peerClosed = false;
    m_buffer.Clear();
    const auto refused = std::make_shared<bool>(false);
    const int attempt = ++m_attemptNumber;
    if (m_attempt != Attempt::NeverAnswers) {
        m_loop.Schedule(m_attemptDelay, [this, refused, attempt] {
            if (!m_connecting || attempt != m_attemptNumber)
                return;
            if (m_attempt == Attempt::Refused) {
                *refused = true;
                m_connecting = false;
                return;
            }
            m_connecting = false;
            m_connected = true;
        });
    }
    m_loop.WaitUntil([&] { return !m_connecting; });
    if (*refused)
        throw TcpError("Connection refused");
    if (!m_connected)
        throw TcpError("Connection attempt abandoned");
    if (m_onConnected)
        m_onConnected();
}

void FakeTcpClient::Disconnect() {
    ++disconnects;
    m_connecting = false;
    m_connected = false;
}

void FakeTcpClient::Write(std::string_view bytes) {
    if (!m_connected)
        throw TcpError("Socket is not connected");
    sent.append(bytes);
    if (m_peer)
        m_peer(std::string(bytes));
}

LineRead FakeTcpClient::ReadLine(int timeoutMs) {
    bool timedOut = false;
    auto timer = m_loop.CreateTimer();
    timer->SetInterval(timeoutMs);
    timer->SetOnExpiry([&] { timedOut = true; });
    timer->Start();
    std::optional<std::string> line;
    m_loop.WaitUntil([&] {
        line = m_buffer.TakeLine();
        return line.has_value() || timedOut || m_peerClosed;
    });
    if (line)
        return {std::move(*line), false};
    if (m_peerClosed)
        throw TcpError("The remote host closed the connection");
    return {"", true};
}

void FakeTcpClient::Receive(std::string bytes, std::int64_t delayMs) {
    m_loop.Schedule(delayMs, [this, bytes = std::move(bytes)] {
        if (m_connected)
            m_buffer.Append(bytes);
    });
}

void FakeTcpClient::CloseFromPeer(std::int64_t delayMs) {
    m_loop.Schedule(delayMs, [this] {
        m_peerClosed = true;
        m_connected = false;
    });
}

} // namespace setfolio::fake
