#pragma once

#include "platform/Timer.h"

#include <QTimer>

namespace setfolio {

class QtTimer : public Timer {
public:
    QtTimer();

    void SetInterval(int milliseconds) override { m_timer.setInterval(milliseconds); }
    int Interval() const override { return m_timer.interval(); }
    void Start() override { m_timer.start(); }
    void Stop() override { m_timer.stop(); }
    bool IsRunning() const override { return m_timer.isActive(); }
    void SetOnExpiry(std::function<void()> handler) override { m_handler = std::move(handler); }

private:
    QTimer m_timer;
    std::function<void()> m_handler;
};

} // namespace setfolio
