#pragma once

#include "tables/ParameterTables.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// The assembled tables of modelType as one JSON object, one row per line: entry, model type and
// family, then the lists of that family (coded: mnemonic, conditional, numeric, header; menu:
// library, global; bench and undefined models: all six, empty). Only the valid rows are written.
// A choice row whose texts came from the site's own file says so ("site": true).
std::string TablesJson(const ParameterTables& tables, std::int32_t modelType);

// A processor text as a JSON string. Texts are bytes, so each byte becomes the code point of the
// same value; control characters and bytes 0x7F to 0xFF are written as \u00XX, which keeps the
// output plain ASCII and lets a reader recover every byte.
std::string JsonString(std::string_view bytes);

// A text of the program's own (a name from an inventory, a path) as a JSON string: its UTF-8
// characters as they are, quotes, backslashes and control characters escaped. A byte that is
// not part of well-formed UTF-8 is written as JsonString writes it.
std::string JsonText(std::string_view utf8);

// A number that may be missing, as JSON: the number, or null.
std::string JsonNumber(const std::optional<int>& value);

} // namespace setfolio
