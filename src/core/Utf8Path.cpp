#include "core/Utf8Path.h"

namespace setfolio {

std::filesystem::path PathOf(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
#else
    // The bytes are the name, whatever they are.
    return std::filesystem::path(utf8);
#endif
}

std::string Utf8Of(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#else
    return path.string();
#endif
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = PathOf(path).parent_path();
    return folder.empty() ? std::string(".") : Utf8Of(folder);
}

std::string FileNameOf(const std::string& path) {
    return Utf8Of(PathOf(path).filename());
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    return Utf8Of(PathOf(folder) / PathOf(name));
}

} // namespace setfolio
