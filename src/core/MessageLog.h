#pragma once

#include "core/Signal.h"

#include <string>
#include <vector>

namespace setfolio {

// The main window's message window: the program's log of results. Lines are only ever appended.
class MessageLog {
public:
    void AddMessageLine(const std::string& line) {
        m_lines.push_back(line);
        appended.Emit(line);
    }
    const std::vector<std::string>& Lines() const { return m_lines; }

    // Each line as it arrives, for the window (or the console) that shows them.
    Signal<const std::string&> appended;

private:
    std::vector<std::string> m_lines;
};

} // namespace setfolio
