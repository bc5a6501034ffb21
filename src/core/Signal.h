#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace setfolio {

// Keeps one handler attached to a signal for as long as it lives; destroying it (or Cancel)
// detaches the handler. It may outlive the signal.
class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    ~Subscription() { Cancel(); }
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            Cancel();
            m_cancel = std::exchange(other.m_cancel, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    void Cancel() {
        if (auto cancel = std::exchange(m_cancel, {}))
            cancel();
    }

private:
    std::function<void()> m_cancel;
};

// Tells whoever subscribed that something happened. Handlers run in the order they subscribed;
// one may subscribe or cancel others (or itself) while the signal is being emitted.
template <typename... Args> class Signal {
public:
    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    Subscription Subscribe(std::function<void(Args...)> handler) {
        const std::uint64_t id = ++m_slots->lastId;
        m_slots->handlers.push_back({id, std::make_shared<Handler>(std::move(handler))});
        return Subscription([weak = std::weak_ptr<Slots>(m_slots), id] {
            if (const auto alive = weak.lock())
                std::erase_if(alive->handlers, [id](const auto& entry) { return entry.id == id; });
        });
    }

    void Emit(Args... args) const {
        // A copy: handlers may change the list while it is being walked.
        const auto handlers = m_slots->handlers;
        for (const auto& entry : handlers) {
            if (Attached(entry.id))
                (*entry.handler)(args...);
        }
    }

private:
    using Handler = std::function<void(Args...)>;
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<Handler> handler;
    };
    struct Slots {
        std::uint64_t lastId = 0;
        std::vector<Entry> handlers;
    };

    bool Attached(std::uint64_t id) const {
        for (const auto& entry : m_slots->handlers) {
            if (entry.id == id)
                return true;
        }
        return false;
    }

    std::shared_ptr<Slots> m_slots = std::make_shared<Slots>();
};

} // namespace setfolio
