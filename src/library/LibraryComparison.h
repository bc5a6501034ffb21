#pragma once

#include "library/LibraryDecoder.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// A key whose stored value differs between two libraries, or that one of them lacks.
struct ParameterDifference {
    std::string section;
    std::string name;
    std::optional<DecodedParameter> a; // nothing: only the other library has the key
    std::optional<DecodedParameter> b;
};

// What differs between two decoded libraries, key by key and byte for byte, in the order of the
// first library's sections and keys, followed by what only the second has. Names match without
// regard to letter case, as every reader of the files takes them.
std::vector<ParameterDifference> CompareLibraries(const DecodedLibrary& a, const DecodedLibrary& b);

// The differences as JSON: {"a", "b", "differences": [{"section", "name", "a", "b"}]}, a side
// being {"stored", "text"} or null.
std::string DifferencesJson(const std::vector<ParameterDifference>& differences,
                            std::string_view fileA, std::string_view fileB);

} // namespace setfolio
