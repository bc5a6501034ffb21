#pragma once

#include "library/LibraryComparison.h"
#include "library/LibraryDecoder.h"

#include <string>
#include <string_view>
#include <vector>

namespace setfolio::cli {

// A decoded library as aligned lines of text: section, name, stored value, and the meaning in
// double quotes (so its blanks show); then the problems, each on a line of its own.
std::string LibraryText(const DecodedLibrary& library);

// One line per difference: section/name, then each side's stored value and meaning, or
// "(none)" for a side without the key, and the values of the key that come again unused.
std::string DifferencesText(const std::vector<ParameterDifference>& differences);

} // namespace setfolio::cli
