#include "qt/QtEventLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

using namespace setfolio;

namespace {

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST(QtEventLoop, WaitingForATimerSleepsInsteadOfSpinning) {
    QtEventLoop loop;
    auto timer = loop.CreateTimer();
    bool fired = false;
    timer->SetInterval(1000);
    timer->SetOnExpiry([&] { fired = true; });

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    timer->Start();
    loop.WaitUntil([&] { return fired; });
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const auto wall = std::chrono::steady_clock::now() - wallStart;

    EXPECT_FALSE(timer->IsRunning());
    // A precise timer never fires early.
    EXPECT_GE(wall, std::chrono::milliseconds(1000));
    EXPECT_LT(cpu, 0.1) << "the wait burned processor time";
}

TEST(QtEventLoop, PostedEventsRunInOrderOnTheLoop) {
    QtEventLoop loop;
    std::string order;
    loop.Post([&] { order += "a"; });
    loop.Post([&] { order += "b"; });
    EXPECT_EQ(order, "");
    loop.WaitUntil([&] { return order.size() == 2; });
    EXPECT_EQ(order, "ab");
}

TEST(QtEventLoop, StoppedTimerDoesNotFire) {
    QtEventLoop loop;
    auto stopped = loop.CreateTimer();
    auto marker = loop.CreateTimer();
    bool stoppedFired = false;
    bool markerFired = false;
    stopped->SetInterval(20);
    stopped->SetOnExpiry([&] { stoppedFired = true; });
    marker->SetInterval(80);
    marker->SetOnExpiry([&] { markerFired = true; });
    stopped->Start();
    marker->Start();
    stopped->Stop();
    loop.WaitUntil([&] { return markerFired; });
    EXPECT_FALSE(stoppedFired);
}

} // namespace
