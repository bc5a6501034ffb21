#pragma once

#include "link/Transport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setfolio::cli {

struct Options {
    std::string command;             // "library", "select", "tables" or "download"
    int library = -1;                // for select, and the first library of a transfer
    std::optional<int> lastLibrary;  // --to, for a block
    std::string file;                // --file
    bool includeCalibration = false; // --include-cal (upload)
    std::int32_t modelType = -1;
    bool serial = false;
    std::string device; // --serial DEVICE
    SerialSettings serialSettings{1, 9600, Parity::None, 8, 1};
    std::string host; // --tcp HOST[:PORT]
    std::uint16_t port = ProcessorTcpPort;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;     // one line, when options is empty
    bool showUsage = true; // whether the usage text should follow the error
};

// Reads a model given as an entry name (C-12) or a model type (0); nothing when unknown.
std::optional<std::int32_t> ParseModel(const std::string& text);
ParseResult ParseOptions(const std::vector<std::string>& args);

inline constexpr const char* Usage =
    "usage: setfolio-cli library --model MODEL LINK\n"
    "       setfolio-cli select N --model MODEL LINK\n"
    "       setfolio-cli tables MODEL   (prints the model's parameter tables as JSON)\n"
    "       setfolio-cli download --model MODEL LINK --library N [--to M] --file PATH\n"
    "       setfolio-cli upload --model MODEL LINK --library N [--to M] --file PATH "
    "[--include-cal]\n"
    "MODEL: an entry name such as C-12, or a model type 0..46\n"
    "LINK:  --serial DEVICE [--baud B] [--parity none|odd|even] [--data-bits 7|8]\n"
    "                       [--stop-bits 1|2]\n"
    "       --tcp HOST[:PORT]   (port 23 when none is given)\n";

} // namespace setfolio::cli
