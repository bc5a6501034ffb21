// Addition set C-11: the fiber value of C-11, which takes the place of the XY average in
// the choices of base set C-10.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view ControlAxisTexts[] = {"X-AXIS   ", "Y-AXIS   ", "FVAL     ", "X - Y    "};
constexpr std::string_view SpcSourceTexts[] = {"NONE        ", "GAGE1 X-AXIS", "GAGE1 Y-AXIS", "GAGE1 FVAL  ", "GAGE1 X- Y  ", "GAGE2 X-AXIS", "GAGE2 Y-AXIS", "GAGE2 FVAL  ", "GAGE2 X - Y ", "GAGE3 X-AXIS", "GAGE3 Y-AXIS", "GAGE3 FVAL  ", "GAGE3 X - Y "};
constexpr std::string_view MagMeasurementTexts[] = {"X POSITION ", "Y POSITION ", "X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION", "FVAL       ", "FVAL DEV   ", "X - Y      ", "X-Y DEV    ", "FLAW COUNT "};
constexpr std::string_view AnalogMeasurementTexts[] = {"X POSITION ", "Y POSITION ", "X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION", "FVAL       ", "FVAL DEV   ", "X - Y      ", "X-Y DEV    "};
constexpr std::string_view AlarmMeasurementTexts[] = {"X DIAM OOS  ", "Y DIAM OOS  ", "FVAL OOS    ", "X - Y OOS   ", "POSITION OOS", "X DIAM OOW  ", "Y DIAM OOW  ", "FVAL OOW    ", "X - Y OOW   ", "POSITION OOW", "FLAW DETECT "};
constexpr std::string_view FiberValueTexts[] = {"F/F", "AVG"};

constexpr VocabularyDef Vocabulary[] = {
    {"ControlAxis", ControlAxisTexts},
    {"SpcSource", SpcSourceTexts},
    {"MagMeasurement", MagMeasurementTexts},
    {"AnalogMeasurement", AnalogMeasurementTexts},
    {"AlarmMeasurement", AlarmMeasurementTexts},
    {"FiberValue", FiberValueTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"FiberValue", "0K", "FiberValue"},
};

constexpr NumericDef Numerics[] = {
    {"XPosOffset1", "06"},
    {"YPosOffset1", "0E"},
    {"XPosOffset2", "16"},
    {"YPosOffset2", "1E"},
    {"XPosOffset3", "26"},
    {"YPosOffset3", "2E"},
};
// clang-format on

// This vocabulary step runs inside the mnemonic step of base set C-10, not in this set's own.
std::vector<BuilderSet> NoVocabularyStep(std::int32_t) {
    return {};
}

} // namespace

BuilderSetSteps AdditionSetC11() {
    return {.set = {"C-11", true},
            .vocabulary = Vocabulary,
            .vocabularyPlan = NoVocabularyStep,
            .mnemonic = Mnemonics,
            .numeric = Numerics};
}

} // namespace setfolio::data
