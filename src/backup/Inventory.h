#pragma once

#include "link/SerialLine.h"
#include "link/Transport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// The longest name of a section: it is a folder's name, and part of every path of its files.
inline constexpr std::size_t MaxSectionNameBytes = 100;

// One processor of a plant, as its section of the inventory names it.
struct InventoryProcessor {
    std::string name; // the section: also the folder its libraries go into
    int line = 0;     // where the section starts
    std::int32_t modelType = -1;
    bool serial = false;
    std::string device; // Serial=
    SerialSettings serialSettings = DefaultSerialSettings();
    std::string host; // Tcp=HOST[:PORT]
    std::uint16_t port = ProcessorTcpPort;
    std::vector<int> libraries; // in the order given, each once
    bool includeCalibration = false;

    // "tcp 192.168.1.20:4001" or "serial /dev/ttyUSB0 9600 8N1".
    std::string LinkText() const;
};

struct InventoryProblem {
    std::string section; // empty for the file as a whole
    int line = 0;
    std::string text;
};

struct Inventory {
    std::vector<InventoryProcessor> processors;
    std::vector<InventoryProblem> problems; // an inventory with problems is refused as a whole
};

// Reads an inventory: a profile (INI) file in UTF-8 (a byte-order mark at its start is passed
// over), read as every profile is, with one section per processor and the keys Model, Tcp or
// Serial (with Baud, Parity, DataBits, StopBits), Libraries ("1-20,25") and IncludeCal. A line
// that starts with ";" or "#", and text after a blank and a ";", is a comment. Models,
// addresses and line settings are read as the command line reads them (a parity's name in any
// letter case). A section's name is its folder's: it may not begin with "." nor be
// manifest.json, and has at most MaxSectionNameBytes bytes. Every problem is listed, by section
// and line.
Inventory ParseInventory(std::string_view content);

// "1-20,25" as the numbers it names; nothing when the text is not such a list of libraries
// 0 to 999.
std::optional<std::vector<int>> ParseLibraryList(std::string_view text);

} // namespace setfolio
