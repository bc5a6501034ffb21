#include "library/LibraryFile.h"

#include "core/AtomicFile.h"
#include "core/ProfileFile.h"

namespace setfolio {

namespace {

// The rename that replaces a file needs only its folder to be writable: a file the user has
// protected would be replaced all the same.
void RefuseWriteProtected(const std::string& path) {
    if (IsWriteProtected(path))
        throw WriteError(path, WriteRefusal::WriteProtected);
}

} // namespace

LibraryFileDraft::LibraryFileDraft(std::string path) : m_path(std::move(path)) {
    RefuseWriteProtected(m_path);
    if (!CanCreateFileBeside(m_path))
        throw WriteError(m_path);
    if (FileExists(m_path)) {
        auto content = ReadWholeFile(m_path);
        if (!content)
            throw WriteError(m_path);
        m_content = std::move(*content);
        m_earlier = m_content;
    }
}

LibraryFileDraft LibraryFileDraft::InMemory(std::string earlier) {
    LibraryFileDraft draft;
    draft.m_earlier = std::move(earlier);
    return draft;
}

std::string LibraryFileDraft::EarlierText(std::string_view section, std::string_view key) const {
    return profile::FindValue(m_earlier, section, key).value_or(std::string());
}

std::string LibraryFileDraft::ReadText(std::string_view section, std::string_view key,
                                       std::string_view defaultValue) const {
    auto value = profile::FindValue(m_content, section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::int32_t LibraryFileDraft::ReadInteger(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue) const {
    const auto value = profile::FindValue(m_content, section, key);
    return value ? profile::ParseInteger(*value).value_or(defaultValue) : defaultValue;
}

void LibraryFileDraft::WriteText(std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw WriteError(m_path);
    m_content = profile::SetValue(m_content, section, key, value);
}

void LibraryFileDraft::WriteTexts(std::string_view section,
                                  std::span<const profile::KeyValue> entries) {
    for (const auto& entry : entries) {
        if (entry.value.find_first_of("\r\n") != std::string::npos)
            throw WriteError(m_path);
    }
    m_content = profile::SetValues(m_content, section, entries);
}

void LibraryFileDraft::WriteInteger(std::string_view section, std::string_view key,
                                    std::int32_t value) {
    WriteText(section, key, std::to_string(value));
}

void LibraryFileDraft::Commit() {
    // A long download gives the user time to protect the file meanwhile.
    RefuseWriteProtected(m_path);
    if (!WriteFileAtomically(m_path, m_content))
        throw WriteError(m_path);
}

} // namespace setfolio
