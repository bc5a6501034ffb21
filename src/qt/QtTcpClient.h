#pragma once

#include "link/LineBuffer.h"
#include "platform/EventLoop.h"
#include "platform/TcpClient.h"

#include <QTcpSocket>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace setfolio {

// A TCP client on QTcpSocket. Every wait runs through the event loop, so the user interface
// stays serviced while connecting and reading.
class QtTcpClient : public TcpClient {
public:
    explicit QtTcpClient(EventLoop& loop);
    ~QtTcpClient() override;
    QtTcpClient(const QtTcpClient&) = delete;
    QtTcpClient& operator=(const QtTcpClient&) = delete;

    void SetHost(const std::string& host) override { m_host = host; }
    void SetPort(std::uint16_t port) override { m_port = port; }

    void Connect() override;
    void Disconnect() override;
    bool IsConnected() const override;

    void Write(std::string_view bytes) override;
    LineRead ReadLine(int timeoutMs) override;
    bool LineReady() override;
    void DiscardInput() override;

    void SetOnConnected(std::function<void()> handler) override {
        m_onConnected = std::move(handler);
    }

private:
    void TakeReceived();
    std::optional<std::string> NextLine();

    EventLoop& m_loop;
    std::string m_host;
    std::uint16_t m_port = 0;
    QTcpSocket m_socket;
    LineBuffer m_lines;
    bool m_connecting = false;
    bool m_abandoned = false;
    bool m_failed = false;
    bool m_closing = false; // we asked for the connection to end
    bool m_peerClosed = false;
    std::uint64_t m_arrivals = 0; // counts readyRead signals, to tell a wait that bytes came
    std::string m_failure;
    std::function<void()> m_onConnected;
};

} // namespace setfolio
