#include "CliOptions.h"

#include "core/ModelCatalogue.h"
#include "link/IpAddressList.h"
#include "link/LibraryNumber.h"
#include "link/SerialLine.h"

#include <algorithm>

namespace setfolio::cli {

namespace {

// A choice of a list, or a UsageError naming what it must be.
template <class Value>
Value Chosen(const std::optional<Value>& value, const std::string& what,
             const std::string& choices) {
    if (!value)
        throw UsageError(what + " must be " + choices);
    return *value;
}

} // namespace

std::int32_t ReadModel(const std::string& text) {
    const auto model = ModelNamed(text);
    if (model)
        return *model;
    const bool number = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    if (number)
        throw UsageError("unknown model type " + text + ": model types are 0 to " +
                         std::to_string(ModelTypeCount - 1) +
                         " ('setfolio-cli models' lists them)");
    std::string near;
    const auto entries = EntriesNear(text);
    for (std::size_t i = 0; i < entries.size(); ++i)
        near += (i == 0 ? "" : i + 1 == entries.size() ? " or " : ", ") + std::string(entries[i]);
    throw UsageError("unknown model '" + text + "'; did you mean " + near +
                     "? ('setfolio-cli models' lists every model)");
}

int ReadLibraryNumber(const std::string& text) {
    const auto number = ParseLibraryNumber(text);
    if (!number)
        throw UsageError("library number must be 0 to 999, not '" + text + "'");
    return *number;
}

int ReadBaudRate(const std::string& text) {
    return Chosen(ParseBaudRate(text), "baud rate", InWords(BaudRates));
}

Parity ReadParity(const std::string& text) {
    return Chosen(ParseParity(text), "parity", InWords(ParityNames));
}

int ReadDataBits(const std::string& text) {
    return Chosen(ParseDataBits(text), "data bits", InWords(DataBitsChoices));
}

int ReadStopBits(const std::string& text) {
    return Chosen(ParseStopBits(text), "stop bits", InWords(StopBitsChoices));
}

void ReadTcpTarget(const std::string& text, LinkSettings& link) {
    const auto reading = ReadHostAddress(text, ProcessorTcpPort);
    switch (reading.fault) {
    case AddressFault::None:
        break;
    case AddressFault::NoHost:
        throw UsageError("--tcp needs a host");
    case AddressFault::BadHost:
        throw UsageError("bad TCP host in '" + text + "'");
    case AddressFault::BadPort:
        throw UsageError("bad TCP port in '" + text + "'");
    }
    link.host = reading.address.host;
    link.port = reading.address.port;
}

} // namespace setfolio::cli
