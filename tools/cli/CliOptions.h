#pragma once

#include "link/SerialLine.h"
#include "link/Transport.h"
#include "tables/SiteVocabulary.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace setfolio::cli {

// A command line that cannot be carried out: exit status 2, with what() as the message.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message, bool withHelp = true)
        : std::runtime_error(message), offerHelp(withHelp) {}
    // Whether a pointer to --help follows the message.
    bool offerHelp;
};

// Which processor, and how to reach it.
struct LinkSettings {
    std::int32_t modelType = -1;
    bool serial = false;
    std::string device; // --serial DEVICE
    SerialSettings serialSettings = DefaultSerialSettings();
    std::string host; // --tcp HOST[:PORT]
    std::uint16_t port = ProcessorTcpPort;
    // The site's own choice texts (--vocabulary, or the file in the user's settings folder).
    SiteVocabulary vocabulary;
    // Where the link's traffic is traced (--trace FILE); none when empty.
    std::string tracePath;
};

// The values of the options, checked; each throws UsageError naming what is wrong. A model is
// an entry name (C-12) or a model type (0), as ModelNamed reads it.
std::int32_t ReadModel(const std::string& text);
int ReadLibraryNumber(const std::string& text);
int ReadBaudRate(const std::string& text);
Parity ReadParity(const std::string& text);
int ReadDataBits(const std::string& text);
int ReadStopBits(const std::string& text);
// HOST, HOST:PORT or [IPV6]:PORT into `link`, as ReadHostAddress reads it; an address with more
// than one colon and no brackets is taken whole as an IPv6 host.
void ReadTcpTarget(const std::string& text, LinkSettings& link);

} // namespace setfolio::cli
