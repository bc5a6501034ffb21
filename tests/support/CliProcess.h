#pragma once

#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>

namespace setfolio::testing {

// A text of the program's as Qt's, for the command lines the tests build.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

struct CliRun {
    int exitCode = -1;    // -1 when it did not end normally
    bool crashed = false; // ended by a signal nobody sent
    std::string out;
    std::string err;
    long peakKiB = 0; // its peak resident memory, when measured
};

struct CliLimits {
    rlim_t fileBytes = RLIM_INFINITY;         // the largest file it may write
    int killAfterMs = 0;                      // ends it with SIGKILL
    std::function<bool()> killWhen = {};      // ends it with SIGKILL once this holds (polled)
    std::function<bool()> terminateWhen = {}; // sends SIGTERM once, when this holds (polled)
    int timeoutMs = 60000;
    bool measureMemory = false; // watches its peak resident memory (polled)
};

// The peak resident memory of a running process, in KiB (0 once it has gone).
inline long PeakResidentKiB(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    }
    return 0;
}

// Runs one of our command-line programs while the event loop keeps serving any peer of the test.
inline CliRun RunProgram(const QString& program, const QStringList& args,
                         const CliLimits& limits = {}) {
    QProcess process;
    if (limits.fileBytes != RLIM_INFINITY) {
        const rlim_t bytes = limits.fileBytes;
        process.setChildProcessModifier([bytes] {
            const rlimit limit{bytes, bytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        });
    }
    QEventLoop wait;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QTimer::singleShot(limits.timeoutMs, &wait, &QEventLoop::quit);
    if (limits.killAfterMs > 0)
        QTimer::singleShot(limits.killAfterMs, &process, [&process] { process.kill(); });
    QTimer watch;
    long peakKiB = 0;
    bool terminated = false;
    if (limits.killWhen || limits.terminateWhen || limits.measureMemory) {
        QObject::connect(&watch, &QTimer::timeout, &process, [&] {
            if (limits.terminateWhen && !terminated && limits.terminateWhen()) {
                terminated = true;
                process.terminate();
            }
            if (limits.measureMemory)
                peakKiB = std::max(peakKiB, PeakResidentKiB(process.processId()));
            if (limits.killWhen && limits.killWhen())
                process.kill();
        });
        watch.start(20);
    }
    process.start(program, args);
    wait.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
    }
    const bool normal = process.exitStatus() == QProcess::NormalExit;
    const bool killed = limits.killAfterMs > 0 || limits.killWhen;
    return {normal ? process.exitCode() : -1, !normal && !killed,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString(), peakKiB};
}

// A loopback port nobody listens on: one a server had a moment ago.
inline std::uint16_t ClosedTcpPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

inline CliRun RunCli(const QStringList& args, const CliLimits& limits = {}) {
    return RunProgram(SETFOLIO_CLI_PATH, args, limits);
}

} // namespace setfolio::testing
