#include "link/LibraryNumber.h"

namespace setfolio {

std::string FormatLibraryNumber(int number) {
    if (number < 0 || number >= 1000)
        return {};
    std::string digits = std::to_string(number);
    return std::string(3 - digits.size(), '0') + digits;
}

} // namespace setfolio
