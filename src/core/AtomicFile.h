#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace setfolio {

// Reads a whole file as bytes. Returns nothing when the file does not exist or cannot be read
// (a folder is no file).
std::optional<std::string> ReadWholeFile(const std::string& path);

// A whole file's bytes, or why they could not be read, in words ("it is a folder", "no such file
// or directory", "permission denied").
struct FileContent {
    std::optional<std::string> bytes;
    std::string problem;
};
FileContent ReadFileContent(const std::string& path);

// Replaces the file's content with `bytes` so that a reader sees either the old file or the new
// one, never a mix: the bytes go to a temporary file in the same folder, are flushed to disk and
// the temporary file is renamed over the target. A symbolic link is written through: the file it
// leads to is replaced (or made, for a link that leads nowhere yet) and the link stays. Returns
// false (and leaves the old file and no temporary file behind) when any step fails.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// The file a write to `path` lands in: `path` itself or, when that is a symbolic link, the end
// of its chain of links (a relative link counts from the link's own folder), which need not
// exist. Nothing for a chain that never ends.
std::optional<std::string> WriteTargetOf(const std::string& path);

// Whether a file can be made beside the file a write to `path` lands in (a probe file is made
// there and removed). False for a path that names a folder or anything else that is no file.
bool CanCreateFileBeside(const std::string& path);

// Whether `path` is an existing file that must not be replaced: the user may not write it, or
// nobody may (no write permission bit at all). Such a file is protected on purpose, so not even
// the superuser, who could, replaces it.
bool IsWriteProtected(const std::string& path);

// Makes `folder` and the folders above it that are missing, each readable by its owner only (a
// folder of one's settings is nobody else's business). True when the folder is there afterwards.
bool MakeFolders(const std::string& folder);

bool FileExists(const std::string& path);
// std::fopen with a UTF-8 name (which Windows would otherwise read in the ANSI code page).
std::FILE* OpenStdioFile(const std::string& path, const char* mode);
bool DeleteFile(const std::string& path);

} // namespace setfolio
