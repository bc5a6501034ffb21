#pragma once

#include <string>
#include <utility>

namespace setfolio {

// Where the file selections start: at the file last chosen in any of them in this run, and
// before that where each one's own setting says. A place that is not there (the first start's
// "C:\Setfolio" on a system without drive letters, a folder since removed) gives way to the
// user's documents folder, when one is known; nothing stored changes for it.
class RecentFolder {
public:
    // The user's documents folder; none: every start is taken as it is.
    void SetDocumentsFolder(std::string folder) { m_documents = std::move(folder); }
    std::string StartFor(const std::string& own) const;
    void Chosen(const std::string& path) { m_last = path; }

private:
    std::string m_last;
    std::string m_documents;
};

} // namespace setfolio
