#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace setfolio {

// Paths are UTF-8 text everywhere in the program. These are where such text meets
// std::filesystem, whose constructor from narrow text reads the ANSI code page on Windows
// ("Müller.ini" would become "MÃ¼ller.ini"), and where a path is split or joined, so that "\"
// and drive roots count on Windows and "/" alone on POSIX.
std::filesystem::path PathOf(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);

// The folder a path names its file in: "." for a bare name, the root itself for a file in it.
std::string FolderOf(const std::string& path);
// The last part of a path, the file's own name ("" for a path that ends in a separator).
std::string FileNameOf(const std::string& path);
// `name` in `folder`, with the system's separator between them unless `folder` ends in one.
std::string JoinPath(const std::string& folder, std::string_view name);

} // namespace setfolio
