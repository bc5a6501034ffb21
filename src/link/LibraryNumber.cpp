#include "link/LibraryNumber.h"

#include "core/WholeNumber.h"

namespace setfolio {

std::string FormatLibraryNumber(int number) {
    if (number < 0 || number > LastLibraryNumber)
        return {};
    std::string digits = std::to_string(number);
    return std::string(3 - digits.size(), '0') + digits;
}

std::optional<int> ParseLibraryNumber(std::string_view text) {
    const auto number = ParseWholeNumber(text);
    if (!number || *number > LastLibraryNumber)
        return std::nullopt;
    return *number;
}

} // namespace setfolio
