#include "qt/QtTimer.h"

namespace setfolio {

QtTimer::QtTimer() {
    m_timer.setSingleShot(true);
    // A coarse timer may expire up to 5 % early, which would cut a reply time-out short.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (m_handler)
            m_handler();
    });
}

} // namespace setfolio
