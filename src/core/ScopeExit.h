#pragma once

#include <utility>

namespace setfolio {

// Runs `undo` when the scope is left, however it is left: by a return or by an error. Flags a
// callback sets for its own duration, timers a wait starts, sizes a transfer changes: each is
// put back with one of these, so an error on the way never leaves the program half-changed.
template <typename Undo> class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Undo undo) : m_undo(std::move(undo)) {}
    ~ScopeExit() { m_undo(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Undo m_undo;
};

// Sets `flag` for as long as the returned guard lives.
inline auto FlagForScope(bool& flag) {
    flag = true;
    return ScopeExit([&flag] { flag = false; });
}

} // namespace setfolio
