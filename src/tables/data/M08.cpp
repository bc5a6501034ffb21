// Addition set M-08: the parameters of M-08 to M-10 under menu 2.6 and their logic setting,
// after the rows of base set M-02.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef LibraryParms[] = {
    {"StacMode", "2.6.1"},
    {"StacPeriod", "2.6.2"},
    {"StacFormFactor", "2.6.3"},
    {"StacXSrc", "2.6.4"},
    {"StacYSrc", "2.6.5"},
};

constexpr MenuParmDef GlobalParms[] = {
    {"StacLogic", "2.4.33"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetM08() {
    return {.set = {"M-08", true}, .library = LibraryParms, .global = GlobalParms};
}

} // namespace setfolio::data
