#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <stdexcept>
#include <string>

namespace setfolio::testing {

// setfolio-sim running beside a test, stopped (and its serial link removed) when the test ends.
class SimProcess {
public:
    explicit SimProcess(QStringList args) {
        if (const auto serial = args.indexOf("--serial"); serial >= 0 && serial + 1 < args.size())
            m_serialLink = args[serial + 1];
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(SETFOLIO_SIM_PATH, args);
        // Wait for its "ready" line; it names the TCP port it listens on.
        QEventLoop wait;
        QTimer::singleShot(10000, &wait, &QEventLoop::quit);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &wait, [&] {
            m_output += m_process.readAllStandardOutput().toStdString();
            if (m_output.find("ready") != std::string::npos)
                wait.quit();
        });
        QObject::connect(&m_process, &QProcess::finished, &wait, &QEventLoop::quit);
        wait.exec();
        if (m_output.find("ready") == std::string::npos)
            throw std::runtime_error("setfolio-sim did not start: " + m_output +
                                     m_process.readAllStandardError().toStdString());
        const auto tcp = m_output.find("tcp 127.0.0.1:");
        if (tcp != std::string::npos)
            m_tcpPort = static_cast<std::uint16_t>(std::stoi(m_output.substr(tcp + 14)));
    }
    ~SimProcess() { Stop(); }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    std::uint16_t TcpPort() const { return m_tcpPort; }

    // The options that make it listen on a loopback TCP port of its own choosing, or on a serial
    // link at `serialLink`.
    static QStringList LinkArgs(bool overTcp, const std::string& serialLink) {
        if (overTcp)
            return {"--tcp", "0"};
        return {"--serial", QString::fromStdString(serialLink)};
    }
    // The setfolio-cli options that reach it: over TCP when it listens there.
    QStringList CliLink() const {
        if (m_tcpPort != 0)
            return {"--tcp", QString("127.0.0.1:%1").arg(m_tcpPort)};
        return {"--serial", m_serialLink};
    }

    // Ends the simulator as Ctrl+C would.
    void Stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    // Ends it at once, as a crash or a power cut would: its serial link stays behind.
    void Kill() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    int ExitCode() const { return m_process.exitCode(); }

private:
    QProcess m_process;
    std::string m_output;
    std::uint16_t m_tcpPort = 0;
    QString m_serialLink;
};

} // namespace setfolio::testing
