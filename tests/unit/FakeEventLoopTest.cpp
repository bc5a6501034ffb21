#include "FakeEventLoop.h"

#include <gtest/gtest.h>

#include <string>

using namespace setfolio;
using setfolio::fake::FakeEventLoop;
using setfolio::fake::WaitNeverEnds;

namespace {

TEST(FakeEventLoop, LongTimerFiresInVirtualTimeAtOnce) {
    FakeEventLoop loop;
    auto timer = loop.CreateTimer();
    bool fired = false;
    timer->SetInterval(30000);
    timer->SetOnExpiry([&] { fired = true; });
    timer->Start();
    EXPECT_TRUE(timer->IsRunning());
    loop.WaitUntil([&] { return fired; });
    EXPECT_EQ(loop.Now(), 30000);
    EXPECT_FALSE(timer->IsRunning()) << "a timer expires once";
}

TEST(FakeEventLoop, EventsRunInOrderOfTimeThenOfPosting) {
    FakeEventLoop loop;
    std::string order;
    auto slow = loop.CreateTimer();
    auto fast = loop.CreateTimer();
    slow->SetInterval(500);
    fast->SetInterval(200);
    slow->SetOnExpiry([&] { order += "S"; });
    fast->SetOnExpiry([&] { order += "F"; });
    slow->Start();
    fast->Start();
    loop.Schedule(200, [&] { order += "P"; }); // same due time as fast, scheduled later
    loop.Post([&] { order += "1"; });
    loop.Post([&] { order += "2"; });
    loop.WaitUntil([&] { return order.size() == 5; });
    EXPECT_EQ(order, "12FPS");
}

TEST(FakeEventLoop, RestartAndStopCancelThePendingExpiry) {
    FakeEventLoop loop;
    auto timer = loop.CreateTimer();
    int fired = 0;
    timer->SetInterval(1000);
    timer->SetOnExpiry([&] { ++fired; });
    timer->Start();
    loop.AdvanceBy(600);
    timer->Start(); // starts anew: due at 1600, not 1000
    loop.AdvanceBy(600);
    EXPECT_EQ(fired, 0);
    loop.AdvanceBy(400);
    EXPECT_EQ(fired, 1);

    timer->Start();
    timer->Stop();
    loop.AdvanceBy(5000);
    EXPECT_EQ(fired, 1);
}

TEST(FakeEventLoop, DestroyedTimerNeverFires) {
    FakeEventLoop loop;
    bool fired = false;
    {
        auto timer = loop.CreateTimer();
        timer->SetOnExpiry([&] { fired = true; });
        timer->Start();
    }
    loop.AdvanceBy(10000);
    EXPECT_FALSE(fired);
}

TEST(FakeEventLoop, WaitThatCanNeverEndFailsInsteadOfHanging) {
    FakeEventLoop loop;
    EXPECT_THROW(loop.WaitUntil([] { return false; }), WaitNeverEnds);

    // A timer that keeps re-arming itself would run forever: the wait limit stops it.
    auto timer = loop.CreateTimer();
    timer->SetInterval(1000);
    timer->SetOnExpiry([&] { timer->Start(); });
    timer->Start();
    loop.SetWaitLimit(60000);
    EXPECT_THROW(loop.WaitUntil([] { return false; }), WaitNeverEnds);
    EXPECT_LE(loop.Now(), 60000);
}

TEST(FakeEventLoop, WaitsNestInsideEventHandlers) {
    // A reply handler may itself wait (a transfer waits inside a button's handler).
    FakeEventLoop loop;
    auto outer = loop.CreateTimer();
    auto inner = loop.CreateTimer();
    bool innerDone = false;
    bool outerDone = false;
    inner->SetInterval(250);
    inner->SetOnExpiry([&] { innerDone = true; });
    outer->SetInterval(100);
    outer->SetOnExpiry([&] {
        inner->Start();
        loop.WaitUntil([&] { return innerDone; });
        outerDone = true;
    });
    outer->Start();
    loop.WaitUntil([&] { return outerDone; });
    EXPECT_EQ(loop.Now(), 350);
}

} // namespace
