#include "link/IpAddressList.h"

#include "core/AtomicFile.h"
#include "core/ProfileFile.h"
#include "core/Utf8Path.h"
#include "core/WholeNumber.h"

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
    const auto port = ParseWholeNumber(digits);
    if (!port || *port < 1 || *port > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(*port);
}

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool IsHex(std::string_view text) {
    return !text.empty() && text.size() <= 4 &&
           text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// Splits at every `separator`; empty parts are kept.
std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const auto at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos)
            return parts;
        from = at + 1;
    }
}

bool IsIpv4(std::string_view text) {
    const auto parts = Split(text, '.');
    if (parts.size() != 4)
        return false;
    for (const auto part : parts) {
        const auto number = ParseWholeNumber(part);
        if (!number || part.size() > 3 || *number > 255)
            return false;
    }
    return true;
}

// Groups of hex digits, at most one "::" for a run of zero groups, and an IPv4 address in
// place of the last two groups.
bool IsIpv6(std::string_view text) {
    if (const auto zone = text.find('%'); zone != std::string_view::npos) {
        const std::string_view name = text.substr(zone + 1);
        if (name.empty() || name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTU"
                                                   "VWXYZ0123456789_.-") != std::string_view::npos)
            return false;
        text = text.substr(0, zone);
    }
    const auto gap = text.find("::");
    if (gap != std::string_view::npos && text.find("::", gap + 1) != std::string_view::npos)
        return false;
    std::size_t groups = 0;
    const auto count = [&groups](std::string_view side, bool last) {
        if (side.empty())
            return true;
        const auto parts = Split(side, ':');
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (last && i + 1 == parts.size() && parts[i].find('.') != std::string_view::npos) {
                if (!IsIpv4(parts[i]))
                    return false;
                groups += 2;
            } else if (IsHex(parts[i])) {
                ++groups;
            } else {
                return false;
            }
        }
        return true;
    };
    if (gap == std::string_view::npos)
        return count(text, true) && groups == 8;
    return count(text.substr(0, gap), false) && count(text.substr(gap + 2), true) && groups < 8;
}

bool IsHostName(std::string_view text) {
    if (text.ends_with('.'))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 253)
        return false;
    const auto labels = Split(text, '.');
    for (const auto label : labels) {
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-' ||
            label.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                    "-_") != std::string_view::npos)
            return false;
    }
    // A name never ends in a number: that is an IPv4 address, or a wrong one.
    return !IsDigits(labels.back());
}

} // namespace

bool IsValidHost(std::string_view host) {
    return IsIpv4(host) || IsIpv6(host) || IsHostName(host);
}

bool IsValidAddress(std::string_view address) {
    return static_cast<bool>(ReadHostAddress(address, 1));
}

AddressReading ReadHostAddress(std::string_view address, std::uint16_t defaultPort) {
    address = Trimmed(address);
    std::string_view host = address;
    std::optional<std::string_view> port;
    bool bracketed = false;
    if (address.starts_with('[')) {
        const auto close = address.find(']');
        if (close == std::string_view::npos)
            return {{}, AddressFault::BadHost};
        host = address.substr(1, close - 1);
        bracketed = true;
        const std::string_view rest = address.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':'))
            return {{}, AddressFault::BadHost};
        if (!rest.empty())
            port = rest.substr(1);
    } else if (const auto colon = address.find(':');
               colon != std::string_view::npos && address.find(':', colon + 1) == address.npos) {
        host = address.substr(0, colon);
        port = address.substr(colon + 1);
    }
    if (host.empty())
        return {{}, AddressFault::NoHost};
    const auto number = port ? ParsePort(*port) : std::optional<std::uint16_t>(defaultPort);
    if (!number)
        return {{}, AddressFault::BadPort};
    if (bracketed ? !IsIpv6(host) : !IsValidHost(host))
        return {{}, AddressFault::BadHost};
    return {{std::string(host), *number}, AddressFault::None};
}

std::optional<HostAndPort> ParseHostEntry(std::string_view entry, std::uint16_t defaultPort) {
    auto reading = ReadHostAddress(entry.substr(0, entry.find(" - ")), defaultPort);
    if (!reading)
        return std::nullopt;
    return std::move(reading.address);
}

IpAddressListFile::IpAddressListFile(const std::string& folder)
    : m_path(JoinPath(folder, FileName)) {}

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
    if (PathOf(m_path).has_parent_path())
        MakeFolders(FolderOf(m_path));
    if (!WriteFileAtomically(m_path, FormatIpAddressList(entries)))
        throw WriteError(m_path);
}

} // namespace setfolio
