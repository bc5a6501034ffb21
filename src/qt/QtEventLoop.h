#pragma once

#include "platform/EventLoop.h"

#include <QObject>

namespace setfolio {

// Waits block in Qt's event dispatcher (WaitForMoreEvents), so a wait uses no processor time
// until an event arrives.
class QtEventLoop : public EventLoop {
public:
    void WaitUntil(const std::function<bool()>& condition) override;
    void ProcessEvents() override;
    void Post(std::function<void()> event) override;
    std::unique_ptr<Timer> CreateTimer() override;
    std::int64_t NowMs() const override;

private:
    QObject m_context; // posted events die with the loop
};

} // namespace setfolio
