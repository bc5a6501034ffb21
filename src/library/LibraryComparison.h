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

    // Two numbers of choices that have the same text ("N/A " is choice 2, 3 and 4 of some
    // rows): a processor shows them alike, so neither side can be told from the other.
    bool SameText() const {
        return a && b && a->stored != b->stored && a->choice && b->choice && a->text && b->text &&
               *a->text == *b->text;
    }
    bool Differs() const {
        return !a || !b || (a->stored != b->stored && !SameText()) || unusedA != unusedB;
    }
};

// Which keys a comparison lists: those that differ, or every key of either library.
enum class ComparedKeys { Differing, All };

// Whether values no reader sees (a key or section that comes again) count: they do between two
// files, not between a file and what a processor holds.
enum class UnusedValues { Ignored, Compared };

// What differs between two decoded libraries, key by key and byte for byte (and the choices that
// differ only in number, not in text, which do not count as different: SameText): each section
// in the order the first library has it (then the sections only the second has), its keys in the
// first library's order followed by those only the second has. Names match without regard to letter
// case, as every reader of the files takes them. `setfolio-cli diff` and the library viewer both
// list this.
std::vector<ParameterDifference> CompareLibraries(const DecodedLibrary& a, const DecodedLibrary& b,
                                                  ComparedKeys keys = ComparedKeys::Differing,
                                                  UnusedValues unused = UnusedValues::Ignored);

// Whether any of them is a difference (not only a choice of the same text).
bool AnyDifference(const std::vector<ParameterDifference>& differences);

// The differences as JSON: {"a", "b", "differences": [{"section", "name", "a", "b"}]}, a side
// being {"stored", "text"} or null; a pair of choices with the same text has "sameText": true, and
// a difference in unused values adds "unusedA" and "unusedB".
std::string DifferencesJson(const std::vector<ParameterDifference>& differences,
                            std::string_view fileA, std::string_view fileB);

} // namespace setfolio
