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
// "(none)" for a side without the key, and the values of the key that come again unused; each
// side after its name when the sides are named ("file 01 \"MM     \" -> processor 00 \"INCHES \"").
std::string DifferencesText(const std::vector<ParameterDifference>& differences,
                            std::string_view nameA = {}, std::string_view nameB = {});

} // namespace setfolio::cli
