#pragma once

#include "PtyPair.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <string>

namespace setfolio::testing {

// Plays a processor at the far end of a pseudo-terminal or of a loopback TCP server: every
// command line (ended by CR) it receives is answered with what the script returns for it.
class ScriptedPeer {
public:
    using Script = std::function<std::string(const std::string& command)>;

    explicit ScriptedPeer(Script script) : m_script(std::move(script)) {}

    // Serves the master side of `pty`.
    void Serve(PtyPair& pty) {
        m_notifier = std::make_unique<QSocketNotifier>(pty.MasterFd(), QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this, &pty] {
            Take(pty.ReadAvailable(), [&pty](const std::string& reply) { pty.Write(reply); });
        });
    }

    // Listens on 127.0.0.1 and a free port, which it returns.
    std::uint16_t Listen() {
        m_server = std::make_unique<QTcpServer>();
        m_server->listen(QHostAddress::LocalHost, 0);
        QObject::connect(m_server.get(), &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = m_server->nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                const QByteArray bytes = socket->readAll();
                Take(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     [socket](const std::string& reply) {
                         socket->write(reply.data(), static_cast<qint64>(reply.size()));
                     });
            });
        });
        return m_server->serverPort();
    }

    const std::string& Received() const { return m_received; }

private:
    template <typename Send> void Take(const std::string& bytes, Send send) {
        m_received += bytes;
        m_pending += bytes;
        for (auto cr = m_pending.find('\r'); cr != std::string::npos; cr = m_pending.find('\r')) {
            const std::string command = m_pending.substr(0, cr + 1);
            m_pending.erase(0, cr + 1);
            const std::string reply = m_script(command);
            if (!reply.empty())
                send(reply);
        }
    }

    Script m_script;
    std::string m_received;
    std::string m_pending;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<QTcpServer> m_server;
};

} // namespace setfolio::testing
