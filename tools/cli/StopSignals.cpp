#include "StopSignals.h"

#include "link/Exchange.h"

#include <QTimer>

#include <csignal>

namespace setfolio::cli {

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t g_caught = 0;
std::atomic<std::atomic<bool>*> g_stop{nullptr};

extern "C" void OnStopSignal(int signal) {
    g_caught = signal;
    std::signal(signal, SIG_DFL);
    if (std::atomic<bool>* stop = g_stop.load())
        stop->store(true);
}

} // namespace

StopSignals::StopSignals(std::atomic<bool>* stop) {
    g_caught = 0;
    g_stop.store(stop);
    for (const int signal : Signals)
        m_previous.push_back(std::signal(signal, OnStopSignal));
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < m_previous.size(); ++i)
        std::signal(Signals[i], m_previous[i]);
    g_stop.store(nullptr);
}

int StopSignals::Caught() {
    return g_caught;
}

std::unique_ptr<QTimer> StopSignals::AbortOnSignal(Exchange& exchange) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(100);
    QTimer* watch = timer.get();
    QObject::connect(watch, &QTimer::timeout, watch, [watch, &exchange] {
        if (Caught() == 0)
            return;
        watch->stop();
        exchange.Abort();
    });
    timer->start();
    return timer;
}

} // namespace setfolio::cli
