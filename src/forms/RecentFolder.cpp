#include "forms/RecentFolder.h"

#include "core/Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace setfolio {

namespace {

// Whether a selection can start at `path`: a folder or file that is there, or a file name in a
// folder that is (the file a setting names may have been removed since).
bool Reachable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path place = PathOf(path);
    if (fs::exists(place, error))
        return true;
    const fs::path folder = place.parent_path();
    return !folder.empty() && fs::is_directory(folder, error);
}

} // namespace

std::string RecentFolder::StartFor(const std::string& own) const {
    const std::string& start = m_last.empty() ? own : m_last;
    if (m_documents.empty() || Reachable(start))
        return start;
    return m_documents;
}

} // namespace setfolio
