#include "qt/QtTcpClient.h"
#include "qt/QtEventLoop.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace setfolio;

namespace {

class QtTcpClientTest : public ::testing::Test {
protected:
    bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 1000) {
        bool expired = false;
        auto timer = loop.CreateTimer();
        timer->SetInterval(timeoutMs);
        timer->SetOnExpiry([&] { expired = true; });
        timer->Start();
        loop.WaitUntil([&] { return expired || condition(); });
        return condition();
    }

    // Connects the client to a local server and keeps the server's end as `peer`.
    void ConnectToPeer() {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        client.SetHost("127.0.0.1");
        client.SetPort(server.serverPort());
        client.Connect();
        ASSERT_TRUE(WaitFor([&] { return server.hasPendingConnections(); }));
        peer = server.nextPendingConnection();
    }

    void Send(const std::string& bytes) {
        peer->write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    // Sends `bytes` from a later event, while the client is waiting.
    std::unique_ptr<Timer> SendLater(const std::string& bytes, int delayMs) {
        auto timer = loop.CreateTimer();
        timer->SetInterval(delayMs);
        timer->SetOnExpiry([this, bytes] { Send(bytes); });
        timer->Start();
        return timer;
    }

    QtEventLoop loop;
    QtTcpClient client{loop};
    QTcpServer server;
    QTcpSocket* peer = nullptr; // owned by the server
};

TEST_F(QtTcpClientTest, ConnectRunsTheHandlerAndLinesEndWithLfOrCrLf) {
    bool handlerRan = false;
    client.SetOnConnected([&] {
        handlerRan = true;
        EXPECT_TRUE(client.IsConnected());
    });
    ConnectToPeer();
    EXPECT_TRUE(handlerRan);

    client.Write("ID?\r\n");
    ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() >= 5; }));
    EXPECT_EQ(peer->readAll().toStdString(), "ID?\r\n");

    Send("text\r\nplain\n\r\n");
    EXPECT_EQ(client.ReadLine(1000).line, "text");
    const LineRead plain = client.ReadLine(1000);
    EXPECT_EQ(plain.line, "plain");
    EXPECT_FALSE(plain.timedOut);
    EXPECT_EQ(client.ReadLine(1000).line, "") << "an empty line is a line";
}

TEST_F(QtTcpClientTest, IncompleteLineTimesOutAndStaysBuffered) {
    ConnectToPeer();
    Send("text\r");
    const auto start = std::chrono::steady_clock::now();
    const LineRead first = client.ReadLine(100);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_TRUE(first.timedOut);
    EXPECT_EQ(first.line, "");

    Send("\n");
    const LineRead second = client.ReadLine(1000);
    EXPECT_FALSE(second.timedOut);
    EXPECT_EQ(second.line, "text");
}

TEST_F(QtTcpClientTest, LineSplitOverTwoSendsIsJoined) {
    ConnectToPeer();
    Send("12.");
    auto later = SendLater("5E-3\r\n", 30);
    EXPECT_EQ(client.ReadLine(1000).line, "12.5E-3");
}

TEST_F(QtTcpClientTest, LinesOverTheLengthLimitAreRefused) {
    ConnectToPeer();
    const std::string longest(MaxTcpLineLength, 'x');
    Send(longest + "\r\n");
    EXPECT_EQ(client.ReadLine(1000).line, longest);

    Send(longest + "y\n");
    EXPECT_THROW(client.ReadLine(1000), TcpError);
    // Refused with its error, the line is gone, however much of it has arrived.
    Send("next\n" + longest + "yy");
    EXPECT_EQ(client.ReadLine(1000).line, "next");
    EXPECT_THROW(client.ReadLine(1000), TcpError);
    Send("tail\nlast\n");
    EXPECT_EQ(client.ReadLine(1000).line, "last");
}

TEST_F(QtTcpClientTest, DiscardedInputIsNotReadAfterwards) {
    ConnectToPeer();
    Send("late\nlater\npart");
    ASSERT_TRUE(WaitFor([&] { return client.LineReady(); }));
    client.DiscardInput();
    Send("own\n");
    EXPECT_EQ(client.ReadLine(1000).line, "own");
}

TEST_F(QtTcpClientTest, PeerClosingEndsReadingAfterTheBufferedLines) {
    ConnectToPeer();
    // More than the socket keeps for the client: the rest waits in the kernel until read.
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += std::to_string(i) + "\n";
    Send(lines + "last\n");
    peer->disconnectFromHost();
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(client.ReadLine(1000).line, std::to_string(i));
    EXPECT_EQ(client.ReadLine(1000).line, "last");
    EXPECT_THROW(client.ReadLine(1000), TcpError);
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(QtTcpClientTest, DisconnectSendsWhatWasWrittenAndThenRefusesWrites) {
    client.Disconnect(); // never connected: harmless
    EXPECT_THROW(client.Write("x"), TcpError);
    EXPECT_THROW(client.ReadLine(10), TcpError);

    ConnectToPeer();
    client.Write("BYE\r\n");
    client.Disconnect();
    EXPECT_FALSE(client.IsConnected());
    EXPECT_THROW(client.Write("x"), TcpError);
    std::string atPeer;
    ASSERT_TRUE(WaitFor([&] {
        atPeer += peer->readAll().toStdString();
        return peer->state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_EQ(atPeer, "BYE\r\n");
}

TEST_F(QtTcpClientTest, ConnectingToAClosedPortFails) {
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const auto port = server.serverPort();
    server.close();
    bool handlerRan = false;
    client.SetOnConnected([&] { handlerRan = true; });
    client.SetHost("127.0.0.1");
    client.SetPort(port);
    EXPECT_THROW(client.Connect(), TcpError);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_FALSE(handlerRan);
}

// A listener whose accept queue is full: the kernel drops further connection requests without
// answering, so a connection attempt to it stays pending.
class SilentListener {
public:
    SilentListener() {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_fd, 0) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        for (int i = 0; i < 4 && !QueueFull(); ++i) {
            const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            m_fillers.push_back(filler);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
            pollfd done{filler, POLLOUT, 0};
            ::poll(&done, 1, 1000);
        }
    }
    ~SilentListener() {
        for (int fd : m_fillers)
            ::close(fd);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    std::uint16_t Port() const { return m_port; }
    bool QueueFull() const {
        tcp_info info{};
        socklen_t length = sizeof info;
        if (m_fd < 0 || ::getsockopt(m_fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
            return false;
        // For a listener these hold the accept queue's length and its limit.
        return info.tcpi_unacked > info.tcpi_sacked;
    }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
    std::vector<int> m_fillers;
};

TEST_F(QtTcpClientTest, DisconnectDuringConnectAbandonsTheAttempt) {
    SilentListener silent;
    if (!silent.QueueFull())
        GTEST_SKIP() << "cannot make a local listener that leaves connection requests unanswered";
    client.SetHost("127.0.0.1");
    client.SetPort(silent.Port());
    bool handlerRan = false;
    client.SetOnConnected([&] { handlerRan = true; });
    auto abandon = loop.CreateTimer();
    abandon->SetInterval(50);
    abandon->SetOnExpiry([&] { client.Disconnect(); });
    abandon->Start();

    const auto start = std::chrono::steady_clock::now();
    try {
        client.Connect();
        FAIL() << "connected to a listener that does not answer";
    } catch (const TcpError& error) {
        EXPECT_NE(std::string(error.what()).find("abandoned"), std::string::npos) << error.what();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(client.IsConnected());
    EXPECT_FALSE(handlerRan);

    // The client is usable again afterwards.
    handlerRan = false;
    ConnectToPeer();
    EXPECT_TRUE(handlerRan);
    EXPECT_TRUE(client.IsConnected());
}

} // namespace
