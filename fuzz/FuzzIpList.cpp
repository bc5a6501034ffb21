// The IP address list file: any bytes read, and what is written reads back the same.
#include "link/IpAddressList.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace setfolio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = ParseIpAddressList(bytes);
    for (const auto& entry : entries) {
        if (entry.find_first_of("\r\n") != std::string::npos)
            std::abort();
        // A host read from an entry is read again, as the transport does, to itself.
        if (const auto address = ParseHostEntry(entry, 23);
            address && ParseHostEntry(address->host, address->port) != address)
            std::abort();
    }
    if (ParseIpAddressList(FormatIpAddressList(entries)) != entries)
        std::abort();
    return 0;
}
