#pragma once

#include <functional>
#include <string>
#include <vector>

namespace setfolio {

// The main window's message window: the program's log of results. Lines are only ever appended.
class MessageLog {
public:
    void AddMessageLine(const std::string& line) {
        m_lines.push_back(line);
        if (onAppend)
            onAppend(line);
    }
    const std::vector<std::string>& Lines() const { return m_lines; }

    // Lets the window show each line as it arrives.
    std::function<void(const std::string&)> onAppend;

private:
    std::vector<std::string> m_lines;
};

} // namespace setfolio
