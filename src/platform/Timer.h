#pragma once

#include <functional>

namespace setfolio {

// A one-shot timer: once started it expires a single time, `Interval()` milliseconds later, and
// its expiry handler runs as an event of the event loop. Starting a running timer starts it anew.
class Timer {
public:
    virtual ~Timer() = default;

    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
    virtual void SetOnExpiry(std::function<void()> handler) = 0;
};

} // namespace setfolio
