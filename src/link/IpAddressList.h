#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// The list file: one entry per line. CR LF, a lone CR or a lone LF ends a line; a line break at
// the very end adds no entry, and an empty line in the middle is an empty entry.
std::vector<std::string> ParseIpAddressList(std::string_view bytes);
// Every entry followed by CR LF.
std::string FormatIpAddressList(const std::vector<std::string>& entries);

struct HostAndPort {
    std::string host;
    std::uint16_t port = 0;
    bool operator==(const HostAndPort&) const = default;
};

// Why an address leads nowhere: it names no host, a host that is no IP address or host name
// (see IsValidHost), or a port that is not a number from 1 to 65535.
enum class AddressFault { None, NoHost, BadHost, BadPort };
struct AddressReading {
    HostAndPort address; // when there is no fault
    AddressFault fault = AddressFault::None;
    explicit operator bool() const { return fault == AddressFault::None; }
};

// Where an address leads: "192.168.1.20:4001" gives a port, as does "[fe80::1]:4001" for an
// IPv6 host, whose brackets are not part of the host; an address without one (an IPv6 address
// without brackets among them) leads to `defaultPort`. Blanks around it are not part of it.
// Every front end (the IP list, the inventory, the command line) reads an address with this.
AddressReading ReadHostAddress(std::string_view address, std::uint16_t defaultPort);

// Where an entry of the list leads: its address ends at the first " - " (the rest names the
// processor). Nothing when the address leads nowhere.
std::optional<HostAndPort> ParseHostEntry(std::string_view entry, std::uint16_t defaultPort);
// An IPv4 address (four numbers from 0 to 255), an IPv6 address (with a zone after '%', as in
// "fe80::1%eth0"), or a host name (labels of letters, digits, '-' and '_' with dots between
// them; one whose last label is a number must be an IPv4 address: "999.1.1.1" is none).
bool IsValidHost(std::string_view host);
// An address as the list dialog takes it, without the name: a valid host, optionally followed
// by ":port" (an IPv6 host then in brackets).
bool IsValidAddress(std::string_view address);

// "IpAddressList.txt" in the settings folder.
class IpAddressListFile {
public:
    static constexpr std::string_view FileName = "IpAddressList.txt";
    explicit IpAddressListFile(const std::string& folder);

    const std::string& Path() const { return m_path; }
    bool Exists() const;
    // Throws std::runtime_error when the file exists but cannot be read.
    std::vector<std::string> Read() const;
    // Atomic, making the folder when it is missing; throws WriteError, leaving the old file as
    // it was.
    void Write(const std::vector<std::string>& entries) const;

private:
    std::string m_path;
};

} // namespace setfolio
