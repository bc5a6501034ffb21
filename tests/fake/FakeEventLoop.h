#pragma once

#include "platform/EventLoop.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <utility>

namespace setfolio::fake {

// Thrown when a wait could never end: nothing is queued and no timer runs, or virtual time ran
// past the loop's limit. A test fails at once instead of hanging.
class WaitNeverEnds : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// An event loop on a virtual clock. A wait runs the queued events and, when none are left, jumps
// the clock to the next timer (or scheduled peer action) that is due, so a 30 s time-out passes
// in microseconds.
class FakeEventLoop : public EventLoop {
public:
    FakeEventLoop() = default;
    FakeEventLoop(const FakeEventLoop&) = delete;
    FakeEventLoop& operator=(const FakeEventLoop&) = delete;

    void WaitUntil(const std::function<bool()>& condition) override;
    void ProcessEvents() override;
    void Post(std::function<void()> event) override;
    std::unique_ptr<Timer> CreateTimer() override;

    // Virtual milliseconds since the loop was made.
    std::int64_t Now() const { return m_now; }
    std::int64_t NowMs() const override { return m_now; }
    // Runs `action` as an event when the clock reaches Now() + delay (for simulated peers).
    void Schedule(std::int64_t delayMs, std::function<void()> action);
    // Lets the clock run for `ms`, servicing everything that falls due.
    void AdvanceBy(std::int64_t ms);
    // The longest a single wait may take in virtual time before it counts as never ending.
    void SetWaitLimit(std::int64_t ms) { m_waitLimit = ms; }

private:
    friend class FakeTimer;
    using Key = std::pair<std::int64_t, std::uint64_t>; // due time, order of scheduling

    Key Add(std::int64_t due, std::function<void()> action);
    void Cancel(const Key& key) { m_scheduled.erase(key); }
    bool RunOnePosted();
    void RunNextScheduled();

    std::int64_t m_now = 0;
    std::uint64_t m_sequence = 0;
    std::int64_t m_waitLimit = 24LL * 3600 * 1000;
    std::deque<std::function<void()>> m_posted;
    std::map<Key, std::function<void()>> m_scheduled;
};

} // namespace setfolio::fake
