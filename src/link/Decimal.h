#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace setfolio {

// A decimal whole number as the processor writes it: blanks in front are allowed, anything else
// that is not a digit (after an optional sign) is not. Nothing when it is not such a number.
std::optional<std::int32_t> ParseDecimal(std::string_view text);

} // namespace setfolio
