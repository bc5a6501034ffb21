#pragma once

#include "platform/Timer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace setfolio {

// The user-interface thread's event loop as the logic sees it. Every wait of the program is a
// WaitUntil: it services events (replies, timer expiries, button presses) until the condition
// holds, and costs no processor time while nothing happens.
class EventLoop {
public:
    virtual ~EventLoop() = default;

    virtual void WaitUntil(const std::function<bool()>& condition) = 0;
    // Services the events that are pending now and returns without waiting.
    virtual void ProcessEvents() = 0;
    // Queues `event` to run later on the loop's thread.
    virtual void Post(std::function<void()> event) = 0;
    virtual std::unique_ptr<Timer> CreateTimer() = 0;
    // A steady clock in milliseconds, for measuring how long something took.
    virtual std::int64_t NowMs() const = 0;
};

} // namespace setfolio
