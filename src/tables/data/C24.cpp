// Addition set C-24: the self calibration average of C-24.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr NumericDef Numerics[] = {
    {"SelfCalAvg", "FK"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetC24() {
    return {.set = {"C-24", true}, .numeric = Numerics};
}

} // namespace setfolio::data
