// Addition set M-06: the line speed averaging of M-06, after the rows of addition set M-05.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef GlobalParms[] = {
    {"LineSpeedAvg", "2.5.9"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetM06() {
    return {.set = {"M-06", true}, .global = GlobalParms};
}

} // namespace setfolio::data
