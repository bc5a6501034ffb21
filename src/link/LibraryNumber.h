#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

// A library number as the processor's commands carry it: three digits for 0 to 999 ("007",
// "042", "500"); an empty text from 1000 on.
std::string FormatLibraryNumber(int number);

inline constexpr int LastLibraryNumber = 999;

// A library number as a person writes it in an option or an inventory: digits only, for 0 to
// 999 ("7", "007"). Nothing for any other text.
std::optional<int> ParseLibraryNumber(std::string_view text);

} // namespace setfolio
