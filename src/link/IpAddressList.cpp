#include "link/IpAddressList.h"

#include "core/AtomicFile.h"
#include "core/ProfileFile.h"

#include <stdexcept>

namespace setfolio {

std::vector<std::string> ParseIpAddressList(std::string_view bytes) {
    std::vector<std::string> entries;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            entries.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        current.push_back(c);
    }
    if (!current.empty())
        entries.push_back(std::move(current));
    return entries;
}

std::string FormatIpAddressList(const std::vector<std::string>& entries) {
    std::string bytes;
    for (const auto& entry : entries)
        bytes.append(entry).append("\r\n");
    return bytes;
}

IpAddressListFile::IpAddressListFile(const std::string& folder)
    : m_path((folder.empty() || folder.back() == '/' ? folder : folder + "/") +
             std::string(FileName)) {}

bool IpAddressListFile::Exists() const {
    return FileExists(m_path);
}

std::vector<std::string> IpAddressListFile::Read() const {
    const auto bytes = ReadWholeFile(m_path);
    if (!bytes)
        throw std::runtime_error("Unable to read " + m_path);
    return ParseIpAddressList(*bytes);
}

void IpAddressListFile::Write(const std::vector<std::string>& entries) const {
    for (const auto& entry : entries) {
        // A line break inside an entry would split it into two when read back.
        if (entry.find_first_of("\r\n") != std::string::npos)
            throw WriteError(m_path);
    }
    if (const auto slash = m_path.find_last_of('/'); slash != std::string::npos)
        MakeFolders(m_path.substr(0, slash));
    if (!WriteFileAtomically(m_path, FormatIpAddressList(entries)))
        throw WriteError(m_path);
}

} // namespace setfolio
