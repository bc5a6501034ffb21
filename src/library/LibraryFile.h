#pragma once

#include "core/ProfileFile.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace setfolio {

// A library file being written by a download. The writes go to a working copy, seeded from the
// file that is there already (so keys the download does not write stay as they were), and every
// read sees them at once. The file itself is replaced, atomically, only by Commit(): a download
// that fails or is aborted leaves an earlier file exactly as it was, and no file where there was
// none.
class LibraryFileDraft {
public:
    // Throws WriteError when the target cannot be written (a missing folder, a folder in its
    // place, a name the file system refuses, a write-protected file), so that a download fails
    // before it sends anything. A symbolic link is written through: the file it leads to is
    // replaced and the link stays.
    explicit LibraryFileDraft(std::string path);
    // A working copy that belongs to no file: a library read to be compared, not kept. `earlier`
    // is what the library's file held before (EarlierText); nothing of it is copied.
    static LibraryFileDraft InMemory(std::string earlier = {});

    const std::string& Path() const { return m_path; }

    std::string ReadText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // A value as the file held it before this download; empty when it held none.
    std::string EarlierText(std::string_view section, std::string_view key) const;
    // Throws WriteError for a value that would not stay on one line.
    void WriteText(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // Writes the keys of one section in one pass, as that many WriteText calls in this order
    // would, in time that grows with the file and the entries, not with their product.
    void WriteTexts(std::string_view section, std::span<const profile::KeyValue> entries);

    // Replaces the target with the working copy; throws WriteError, leaving the target as it
    // was, when that fails.
    void Commit();

    const std::string& Content() const { return m_content; }

private:
    LibraryFileDraft() = default;

    std::string m_path;
    std::string m_content;
    std::string m_earlier;
};

} // namespace setfolio
