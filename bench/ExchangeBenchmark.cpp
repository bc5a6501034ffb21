// Round trips of coded-family library queries over a pseudo-terminal, through the same classes
// the program uses. A peer thread plays the processor: once answering at once, once after 20 ms.
// Reports the median round trip, and how much processor time the waiting side used.
//
//   build/dev/bench/setfolio-bench-exchange [count]
#include "BenchSupport.h"
#include "PtyPair.h"
#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

using namespace setfolio;
using Clock = std::chrono::steady_clock;

namespace {

// Answers every "701\r" with "701 12\r", after `delay`.
void Peer(const testing::PtyPair& pty, std::chrono::milliseconds delay,
          const std::atomic<bool>& stop) {
    std::string pending;
    while (!stop) {
        pollfd fd{pty.MasterFd(), POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0)
            continue;
        pending += pty.ReadAvailable();
        for (auto cr = pending.find('\r'); cr != std::string::npos; cr = pending.find('\r')) {
            pending.erase(0, cr + 1);
            if (delay.count() > 0)
                std::this_thread::sleep_for(delay);
            pty.Write("701 12\r");
        }
    }
}

void Run(int count, std::chrono::milliseconds delay) {
    testing::PtyPair pty;
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("ports");
    QFile::link(QString::fromStdString(pty.SlavePath()), folder.path() + "/ports/COM1");

    QtEventLoop loop;
    QtSerialPort port(folder.path().toStdString());
    QtTcpClient tcp(loop);
    bench::SilentPrompts prompts;
    const Settings settings(folder.path().toStdString());
    CurrentModel model(settings);
    model.Use(0); // a coded-family model
    Transport transport(port, tcp, loop, prompts);
    transport.SetSerialSettingsSource([] { return SerialSettings{1, 38400, Parity::None, 8, 1}; });
    Exchange exchange(loop, transport, model, prompts);
    transport.OpenConnection();

    std::atomic<bool> stop{false};
    std::thread peer(Peer, std::cref(pty), delay, std::cref(stop));

    std::vector<double> roundTrips;
    roundTrips.reserve(static_cast<std::size_t>(count));
    int failures = 0;
    const auto wallStart = Clock::now();
    const double threadCpuStart = bench::ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double processCpuStart = bench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        const Reply reply = exchange.QueryLibrary();
        roundTrips.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (!reply.Ok() || reply.library != 12)
            ++failures;
    }
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    const double threadCpu = bench::ClockSeconds(CLOCK_THREAD_CPUTIME_ID) - threadCpuStart;
    const double processCpu = bench::ClockSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuStart;
    stop = true;
    peer.join();

    std::sort(roundTrips.begin(), roundTrips.end());
    const auto at = [&](double share) {
        return roundTrips[static_cast<std::size_t>(share * static_cast<double>(count - 1))];
    };
    std::printf("peer delay %3lld ms: %d exchanges, %d failed, round trip median %.0f us, "
                "p90 %.0f us, max %.0f us; wall %.2f s, CPU of the waiting thread %.3f s "
                "(%.1f %% of wall), whole process %.3f s (%.1f %%)\n",
                static_cast<long long>(delay.count()), count, failures, at(0.5), at(0.9),
                roundTrips.back(), wall, threadCpu, 100.0 * threadCpu / wall, processCpu,
                100.0 * processCpu / wall);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    Run(count, std::chrono::milliseconds(0));
    Run(count, std::chrono::milliseconds(20));
    return 0;
}
