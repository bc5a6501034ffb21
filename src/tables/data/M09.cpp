// Addition set M-09: the clear logic setting of M-09 to M-11, a processor-wide parameter only.
#include "tables/data/DataSets.h"

namespace setfolio::data {

namespace {

// clang-format off
constexpr MenuParmDef GlobalParms[] = {
    {"ClearLogic", "2.4.46"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetM09() {
    return {.set = {"M-09", true}, .global = GlobalParms};
}

} // namespace setfolio::data
