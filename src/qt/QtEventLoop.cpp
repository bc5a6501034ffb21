#include "qt/QtEventLoop.h"

#include "qt/QtTimer.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>

namespace setfolio {

void QtEventLoop::WaitUntil(const std::function<bool()>& condition) {
    while (!condition())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtEventLoop::ProcessEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::Post(std::function<void()> event) {
    QMetaObject::invokeMethod(&m_context, std::move(event), Qt::QueuedConnection);
}

std::unique_ptr<Timer> QtEventLoop::CreateTimer() {
    return std::make_unique<QtTimer>();
}

std::int64_t QtEventLoop::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace setfolio
