#include "ui/FirstPaintReport.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace setfolio {

namespace {

// Watches the window's paint events; lives as the window's child and goes after reporting.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(QWidget& window) : QObject(&window), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            m_window.removeEventFilter(this);
            // The event goes on to the window, and the backing store is flushed to the screen
            // before control returns to the event loop: the report waits until then.
            QTimer::singleShot(0, this, [this] {
                Report();
                deleteLater();
            });
        }
        return false;
    }

private:
    static void Report() {
        // The steady clock is CLOCK_MONOTONIC on Linux.
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now);
        std::printf("first-paint %lld\n", static_cast<long long>(nanoseconds.count()));
        std::fflush(stdout);
    }

    QWidget& m_window;
    bool m_seen = false;
};

} // namespace

void ReportFirstPaint(QWidget& window) {
    if (!qEnvironmentVariableIsSet("SETFOLIO_REPORT_FIRST_PAINT"))
        return;
    window.installEventFilter(new FirstPaintProbe(window));
}

} // namespace setfolio
