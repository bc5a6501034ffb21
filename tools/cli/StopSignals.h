#pragma once

#include <atomic>
#include <memory>
#include <vector>

class QTimer;

namespace setfolio {
class Exchange;
}

namespace setfolio::cli {

// While it lives, SIGINT, SIGTERM and SIGHUP do not end the program but ask the command to stop:
// the first one is noted (Caught), and `stop` is set, from the signal handler itself. A second
// signal ends the program at once, as it would have without this.
class StopSignals {
public:
    explicit StopSignals(std::atomic<bool>* stop = nullptr);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that came, or 0.
    static int Caught();
    // The exit status of a command a signal stopped: 128 + the signal.
    static int StoppedExitStatus() { return 128 + Caught(); }

    // Ends the exchange in flight on `exchange` (from the thread whose loop it waits in, which is
    // this one) once a signal has come: the first wait of it that runs after the signal is
    // aborted, and no other. The timer that looks is the returned object's.
    static std::unique_ptr<QTimer> AbortOnSignal(Exchange& exchange);

private:
    std::vector<void (*)(int)> m_previous;
};

} // namespace setfolio::cli
