#pragma once

#include <optional>
#include <string>

namespace setfolio {

// Reads a whole file as bytes. Returns nothing when the file does not exist or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file's content with `bytes` so that a reader sees either the old file or the new
// one, never a mix: the bytes go to a temporary file in the same folder, are flushed to disk and
// the temporary file is renamed over the target. Returns false (and leaves the old file and no
// temporary file behind) when any step fails.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);

} // namespace setfolio
