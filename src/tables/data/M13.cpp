// Addition set M-13: the clear logic of a library on M-13, after the rows of base set M-12.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef LibraryParms[] = {
    {"ClearLogic", "2.4.46"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetM13() {
    return {.set = {"M-13", true}, .library = LibraryParms};
}

} // namespace setfolio::data
