#include "backup/UnfinishedWrites.h"

#include "core/Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace setfolio {

namespace {

bool IsLibraryFileName(std::string_view name) {
    constexpr std::string_view Front = "Library ", Back = ".lvf";
    if (name.size() != Front.size() + 3 + Back.size() || !name.starts_with(Front) ||
        !name.ends_with(Back))
        return false;
    for (const char c : name.substr(Front.size(), 3)) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool IsTemporarySuffix(std::string_view suffix) {
    if (suffix.size() != 6)
        return false;
    for (const char c : suffix) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

bool IsUnfinishedWrite(const std::string& name) {
    constexpr std::string_view Marker = ".tmp-";
    if (name.size() < Marker.size() + 6)
        return false;
    const std::string_view view = name;
    const std::size_t at = name.size() - 6 - Marker.size();
    if (view.substr(at, Marker.size()) != Marker || !IsTemporarySuffix(view.substr(at + 5)))
        return false;
    const std::string_view base = view.substr(0, at);
    return base == "manifest.json" || base == "last-run.json" || IsLibraryFileName(base);
}

std::vector<std::string> RemoveUnfinishedWrites(const std::string& destination,
                                                const std::vector<std::string>& sections) {
    namespace fs = std::filesystem;
    std::vector<fs::path> folders{PathOf(destination), PathOf(destination) / ".setfolio"};
    for (const auto& section : sections)
        folders.push_back(PathOf(destination) / PathOf(section));
    std::vector<fs::path> leftovers;
    for (const auto& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code statError;
            if (it->is_regular_file(statError) && !it->is_symlink(statError) &&
                IsUnfinishedWrite(Utf8Of(it->path().filename())))
                leftovers.push_back(it->path());
        }
    }
    std::vector<std::string> removed;
    for (const auto& path : leftovers) {
        std::error_code error;
        if (fs::remove(path, error))
            removed.push_back(Utf8Of(path));
    }
    return removed;
}

} // namespace setfolio
