#include "CliOptions.h"

#include "core/ModelCatalogue.h"
#include "link/Decimal.h"

#include <initializer_list>

namespace setfolio::cli {

std::optional<std::int32_t> ParseModel(const std::string& text) {
    for (const auto& entry : Catalogue()) {
        if (entry.entry == text)
            return entry.modelType;
    }
    const auto number = ParseDecimal(text);
    if (number && FamilyOf(*number) != ModelFamily::NoFamily)
        return number;
    return std::nullopt;
}

namespace {

// A number typed on a command line: the processor's leading blanks are not allowed here.
std::optional<int> ParseNumber(const std::string& text) {
    if (text.empty() || text.front() == ' ')
        return std::nullopt;
    return ParseDecimal(text);
}

std::optional<int> ParseChoice(const std::string& text, std::initializer_list<int> allowed) {
    const auto number = ParseNumber(text);
    for (const int value : allowed) {
        if (number == value)
            return value;
    }
    return std::nullopt;
}

} // namespace

std::int32_t ReadModel(const std::string& text) {
    const auto model = ParseModel(text);
    if (!model)
        throw UsageError("unknown model '" + text + "'");
    return *model;
}

int ReadLibraryNumber(const std::string& text) {
    const auto number = ParseNumber(text);
    if (!number || *number < 0 || *number > 999)
        throw UsageError("library number must be 0 to 999, not '" + text + "'");
    return *number;
}

int ReadBaudRate(const std::string& text) {
    const auto baud = ParseChoice(text, {1200, 2400, 4800, 9600, 19200, 38400});
    if (!baud)
        throw UsageError("baud rate must be 1200, 2400, 4800, 9600, 19200 or 38400");
    return *baud;
}

Parity ReadParity(const std::string& text) {
    if (text == "none")
        return Parity::None;
    if (text == "odd")
        return Parity::Odd;
    if (text == "even")
        return Parity::Even;
    throw UsageError("parity must be none, odd or even");
}

int ReadDataBits(const std::string& text) {
    const auto bits = ParseChoice(text, {7, 8});
    if (!bits)
        throw UsageError("data bits must be 7 or 8");
    return *bits;
}

int ReadStopBits(const std::string& text) {
    const auto bits = ParseChoice(text, {1, 2});
    if (!bits)
        throw UsageError("stop bits must be 1 or 2");
    return *bits;
}

void ReadTcpTarget(const std::string& text, LinkSettings& link) {
    link.host = text;
    link.port = ProcessorTcpPort;
    const auto colon = text.rfind(':');
    if (colon != std::string::npos && text.find(':') == colon) {
        const auto port = ParseNumber(text.substr(colon + 1));
        if (!port || *port < 1 || *port > 65535)
            throw UsageError("bad TCP port in '" + text + "'");
        link.host = text.substr(0, colon);
        link.port = static_cast<std::uint16_t>(*port);
    }
    if (link.host.empty())
        throw UsageError("--tcp needs a host");
}

} // namespace setfolio::cli
