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

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::uint16_t> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int port = 0;
    for (const char digit : digits)
        port = port * 10 + (digit - '0');
    if (port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

} // namespace

std::optional<HostAndPort> ParseHostEntry(std::string_view entry, std::uint16_t defaultPort) {
    std::string_view address = Trimmed(entry.substr(0, entry.find(" - ")));
    std::string_view host = address;
    std::optional<std::uint16_t> port = defaultPort;
    if (address.starts_with('[')) {
        const auto close = address.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = address.substr(1, close - 1);
        const std::string_view rest = address.substr(close + 1);
        if (!rest.empty())
            port = rest.starts_with(':') ? ParsePort(rest.substr(1)) : std::nullopt;
    } else if (const auto colon = address.find(':');
               colon != std::string_view::npos && address.find(':', colon + 1) == address.npos) {
        host = address.substr(0, colon);
        port = ParsePort(address.substr(colon + 1));
    }
    if (host.empty() || !port)
        return std::nullopt;
    return HostAndPort{std::string(host), *port};
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
