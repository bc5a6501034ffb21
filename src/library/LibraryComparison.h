#pragma once

#include "library/LibraryDecoder.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// A key whose stored value differs between two libraries, or that one of them lacks (or, when
// every key is asked for, one that is the same in both).
struct ParameterDifference {
    std::string section;
    std::string name;
    std::optional<DecodedParameter> a; // nothing: only the other library has the key
    std::optional<DecodedParameter> b;
    // Values of the key that no reader of that library sees (it comes again), when compared.
    std::vector<std::string> unusedA;
    std::vector<std::string> unusedB;

    bool Differs() const { return !a || !b || a->stored != b->stored || unusedA != unusedB; }
};

// Which keys a comparison lists: those that differ, or every key of either library.
enum class ComparedKeys { Differing, All };

// Whether values no reader sees (a key or section that comes again) count: they do between two
// files, not between a file and what a processor holds.
enum class UnusedValues { Ignored, Compared };

// What differs between two decoded libraries, key by key and byte for byte: each section in the
// order the first library has it (then the sections only the second has), its keys in the first
// library's order followed by those only the second has. Names match without regard to letter
// case, as every reader of the files takes them. `setfolio-cli diff` and the library viewer both
// list this.
std::vector<ParameterDifference> CompareLibraries(const DecodedLibrary& a, const DecodedLibrary& b,
                                                  ComparedKeys keys = ComparedKeys::Differing,
                                                  UnusedValues unused = UnusedValues::Ignored);

// The differences as JSON: {"a", "b", "differences": [{"section", "name", "a", "b"}]}, a side
// being {"stored", "text"} or null; a difference in unused values adds "unusedA" and "unusedB".
std::string DifferencesJson(const std::vector<ParameterDifference>& differences,
                            std::string_view fileA, std::string_view fileB);

} // namespace setfolio
