#pragma once

#include "core/Signal.h"

#include <ctime>
#include <string>
#include <vector>

namespace setfolio {

// The main window's message window: the program's log of results. Lines are appended, each
// with the time it came; Clear empties the whole log.
class MessageLog {
public:
    void AddMessageLine(const std::string& line) {
        m_lines.push_back(line);
        m_times.push_back(std::time(nullptr));
        appended.Emit(line);
    }
    const std::vector<std::string>& Lines() const { return m_lines; }
    // When each line came, in the order of Lines().
    const std::vector<std::time_t>& Times() const { return m_times; }
    void Clear() {
        m_lines.clear();
        m_times.clear();
        cleared.Emit();
    }

    // Each line as it arrives, for the window (or the console) that shows them.
    Signal<const std::string&> appended;
    Signal<> cleared;

private:
    std::vector<std::string> m_lines;
    std::vector<std::time_t> m_times;
};

} // namespace setfolio
