#pragma once

#include <string>

namespace setfolio {

// A library number as the processor's commands carry it: three digits for 0 to 999 ("007",
// "042", "500"); an empty text from 1000 on.
std::string FormatLibraryNumber(int number);

} // namespace setfolio
