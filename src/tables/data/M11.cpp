// Addition set M-11: the flaw detection of M-11 and its second gauge, after the rows of base
// set M-02.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef LibraryParms[] = {
    {"FlawMode", "2.1.16"},
    {"LumpThresh", "2.1.17"},
    {"NeckThresh", "2.1.18"},
    {"AlarmDur", "2.1.19"},
    {"FlawInclude", "2.1.20"},
    {"FlawWindow", "2.1.21"},
};

constexpr MenuParmDef GlobalParms[] = {
    {"Gage2", "2.4.47"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetM11() {
    return {.set = {"M-11", true}, .library = LibraryParms, .global = GlobalParms};
}

} // namespace setfolio::data
