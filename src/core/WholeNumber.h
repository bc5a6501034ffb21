#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace setfolio {

// A whole number as a person writes it in an option or a settings file: decimal digits only,
// with no sign and no blanks. Nothing for any other text, or a number beyond 32 bits.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

} // namespace setfolio
