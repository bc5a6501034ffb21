#pragma once

#include <string>

namespace setfolio {

// Where the file selections start: at the file last chosen in any of them in this run, and
// before that where each one's own setting says.
class RecentFolder {
public:
    std::string StartFor(const std::string& own) const { return m_last.empty() ? own : m_last; }
    void Chosen(const std::string& path) { m_last = path; }

private:
    std::string m_last;
};

} // namespace setfolio
