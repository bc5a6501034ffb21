// Addition set M-05: the clear logic of a library and the line speed simulation of M-05 and
// M-06, after the rows of base set M-04.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef LibraryParms[] = {
    {"ClearLogic", "2.4.46"},
};

constexpr MenuParmDef GlobalParms[] = {
    {"LineSpeedSim", "2.5.8"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetM05() {
    return {.set = {"M-05", true}, .library = LibraryParms, .global = GlobalParms};
}

} // namespace setfolio::data
