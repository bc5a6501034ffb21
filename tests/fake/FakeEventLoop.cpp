#include "FakeEventLoop.h"

#include <optional>
#include <string>

namespace setfolio::fake {

class FakeTimer : public Timer {
public:
    explicit FakeTimer(FakeEventLoop& loop) : m_loop(loop) {}
    ~FakeTimer() override { Stop(); }

    void SetInterval(int milliseconds) override { m_interval = milliseconds; }
    int Interval() const override { return m_interval; }
    void Start() override {
        Stop();
        m_pending = m_loop.Add(m_loop.Now() + m_interval, [this] {
            m_pending.reset();
            if (m_handler)
                m_handler();
        });
    }
    void Stop() override {
        if (m_pending)
            m_loop.Cancel(*m_pending);
        m_pending.reset();
    }
    bool IsRunning() const override { return m_pending.has_value(); }
    void SetOnExpiry(std::function<void()> handler) override { m_handler = std::move(handler); }

private:
    FakeEventLoop& m_loop;
    int m_interval = 1000;
    std::optional<FakeEventLoop::Key> m_pending;
    std::function<void()> m_handler;
};

void FakeEventLoop::WaitUntil(const std::function<bool()>& condition) {
    const std::int64_t deadline = m_now + m_waitLimit;
    while (!condition()) {
        if (RunOnePosted())
            continue;
        if (m_scheduled.empty())
            throw WaitNeverEnds("wait can never end: no event queued and no timer running");
        if (m_scheduled.begin()->first.first > deadline)
            throw WaitNeverEnds("wait did not end within " + std::to_string(m_waitLimit) +
                                " ms of virtual time");
        RunNextScheduled();
    }
}

void FakeEventLoop::ProcessEvents() {
    while (RunOnePosted()) {
    }
    while (!m_scheduled.empty() && m_scheduled.begin()->first.first <= m_now) {
        RunNextScheduled();
        while (RunOnePosted()) {
        }
    }
}

void FakeEventLoop::Post(std::function<void()> event) {
    m_posted.push_back(std::move(event));
}

std::unique_ptr<Timer> FakeEventLoop::CreateTimer() {
    return std::make_unique<FakeTimer>(*this);
}

void FakeEventLoop::Schedule(std::int64_t delayMs, std::function<void()> action) {
    Add(m_now + delayMs, std::move(action));
}

void FakeEventLoop::AdvanceBy(std::int64_t ms) {
    const std::int64_t until = m_now + ms;
    ProcessEvents();
    while (!m_scheduled.empty() && m_scheduled.begin()->first.first <= until) {
        RunNextScheduled();
        while (RunOnePosted()) {
        }
    }
    m_now = until;
}

FakeEventLoop::Key FakeEventLoop::Add(std::int64_t due, std::function<void()> action) {
    const Key key{due, m_sequence++};
    m_scheduled.emplace(key, std::move(action));
    return key;
}

bool FakeEventLoop::RunOnePosted() {
    if (m_posted.empty())
        return false;
    auto event = std::move(m_posted.front());
    m_posted.pop_front();
    event();
    return true;
}

void FakeEventLoop::RunNextScheduled() {
    auto node = m_scheduled.extract(m_scheduled.begin());
    if (node.key().first > m_now)
        m_now = node.key().first;
    node.mapped()();
}

} // namespace setfolio::fake
