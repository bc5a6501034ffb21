// What the benchmarks share: prompts that only report errors, and clock readings.
#pragma once

#include "platform/Prompts.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace setfolio::bench {

// Error boxes go to stderr; a yes-or-no question gets `answer`.
class SilentPrompts : public Prompts {
public:
    explicit SilentPrompts(bool answer = false) : m_answer(answer) {}
    void ErrorBox(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void WarningBeep() override {}
    void DefaultBeep() override {}
    bool WarningYesNo(const std::string&) override { return m_answer; }

private:
    bool m_answer;
};

// The reading of `clock` in seconds.
inline double ClockSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace setfolio::bench
