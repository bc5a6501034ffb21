#include "transfer/NumberedNames.h"

namespace setfolio {

std::string FormatLibraryNumber(int number) {
    if (number < 0 || number >= 1000)
        return {};
    std::string digits = std::to_string(number);
    return std::string(3 - digits.size(), '0') + digits;
}

std::string FormatValueIndex(int index) {
    std::string digits = std::to_string(index);
    return index >= 0 && index < 10 ? "0" + digits : digits;
}

} // namespace setfolio
