#pragma once

#include <string>

namespace setfolio {

// Three digits for 0 to 999 ("007", "042", "500"); an empty text from 1000 on.
std::string FormatLibraryNumber(int number);
// At least two digits ("00", "09", "10", "123").
std::string FormatValueIndex(int index);

} // namespace setfolio
