#pragma once

class QWidget;

namespace setfolio {

// For start-up measurements: once `window` has been painted for the first time, prints
// "first-paint <ns>" on stdout, the time read from the monotonic clock (CLOCK_MONOTONIC on
// Linux, which every process shares, so a parent can subtract its own reading from it).
// Does nothing unless the environment variable SETFOLIO_REPORT_FIRST_PAINT is set.
void ReportFirstPaint(QWidget& window);

} // namespace setfolio
