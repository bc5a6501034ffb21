#include "qt/QtTcpClient.h"

#include "core/ScopeExit.h"

#include <algorithm>

namespace setfolio {

namespace {
// What the socket keeps for us at most. Beyond it the socket stops reading, the kernel's buffers
// fill and TCP holds the peer back: a peer that streams while nothing is read costs no memory.
constexpr qint64 SocketReadBufferBytes = 64 * 1024;
// The most the line buffer takes from the socket: the longest line with its CR LF.
constexpr std::size_t LineBufferBytes = MaxTcpLineLength + 2;
} // namespace

QtTcpClient::QtTcpClient(EventLoop& loop) : m_loop(loop) {
    m_socket.setReadBufferSize(SocketReadBufferBytes);
    // The bytes stay with the socket until a line is wanted.
    QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { ++m_arrivals; });
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError) {
        if (m_connecting) {
            m_failed = true;
            m_failure = m_socket.errorString().toStdString();
        }
    });
    QObject::connect(&m_socket, &QTcpSocket::disconnected, [this] {
        if (!m_closing)
            m_peerClosed = true;
    });
}

QtTcpClient::~QtTcpClient() {
    QObject::disconnect(&m_socket, nullptr, nullptr, nullptr);
    m_socket.abort();
}

void QtTcpClient::Connect() {
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
    m_lines.Clear();
    m_abandoned = false;
    m_failed = false;
    m_closing = false;
    m_peerClosed = false;
    m_failure.clear();

    {
        const auto connecting = FlagForScope(m_connecting);
        m_socket.connectToHost(QString::fromStdString(m_host), m_port);
        m_loop.WaitUntil([this] {
            return m_abandoned || m_failed || m_socket.state() == QAbstractSocket::ConnectedState;
        });
    }

    if (m_abandoned)
        throw TcpError("Connection attempt abandoned");
    if (m_failed || m_socket.state() != QAbstractSocket::ConnectedState) {
        m_socket.abort();
        throw TcpError(m_failure.empty() ? "Connection failed" : m_failure);
    }
    if (m_onConnected)
        m_onConnected();
}

void QtTcpClient::Disconnect() {
    if (m_connecting) {
        m_abandoned = true;
        m_socket.abort();
        return;
    }
    m_closing = true;
    // Unlike abort(), this still sends what Write() queued before closing.
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.disconnectFromHost();
}

bool QtTcpClient::IsConnected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

void QtTcpClient::Write(std::string_view bytes) {
    if (!IsConnected())
        throw TcpError("Not connected");
    if (bytes.empty())
        return;
    const auto size = static_cast<qint64>(bytes.size());
    if (m_socket.write(bytes.data(), size) != size)
        throw TcpError(m_socket.errorString().toStdString());
}

void QtTcpClient::TakeReceived() {
    while (m_socket.isOpen() && !m_lines.HasLine() && m_lines.Size() < LineBufferBytes) {
        const QByteArray bytes =
            m_socket.read(static_cast<qint64>(LineBufferBytes - m_lines.Size()));
        if (bytes.isEmpty())
            return;
        m_lines.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
}

std::optional<std::string> QtTcpClient::NextLine() {
    TakeReceived();
    return m_lines.TakeLine();
}

bool QtTcpClient::LineReady() {
    TakeReceived();
    return m_lines.HasLine();
}

void QtTcpClient::DiscardInput() {
    m_lines.Clear();
    if (m_socket.isOpen())
        m_socket.skip(m_socket.bytesAvailable());
}

LineRead QtTcpClient::ReadLine(int timeoutMs) {
    auto notConnected = [this] {
        return TcpError(m_peerClosed ? "Connection closed by the peer" : "Not connected");
    };

    if (auto line = NextLine())
        return {std::move(*line), false};
    if (!IsConnected())
        throw notConnected();

    bool expired = false;
    auto timer = m_loop.CreateTimer();
    timer->SetInterval(std::max(timeoutMs, 0));
    timer->SetOnExpiry([&expired] { expired = true; });
    timer->Start();
    for (;;) {
        const std::uint64_t arrivals = m_arrivals;
        m_loop.WaitUntil([&] { return m_arrivals != arrivals || expired || !IsConnected(); });
        if (auto line = NextLine())
            return {std::move(*line), false};
        if (!IsConnected())
            throw notConnected();
        if (expired)
            return {"", true};
    }
}

} // namespace setfolio
