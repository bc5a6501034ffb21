// Addition set C-23: the fixture names and the pallet label fields of C-23 and C-25.
#include "tables/data/DataSets.h"

#include <string_view>
#include <vector>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view FixtNameTexts[] = {"RT-50  ", "RT-75  ", "RT-100 ", "RT-150 ", "RT-200 ", "RT-250 ", "CUSTOM "};

constexpr VocabularyDef Vocabulary[] = {
    {"FixtName", FixtNameTexts},
};

constexpr NumericDef Numerics[] = {
    {"LabelCopies", "37"},
    {"RollsPerPallet", "38"},
};

constexpr HeaderDef Headers[] = {
    {"StockNum", "10", "20"},
    {"BatchNum", "11", "21"},
};
// clang-format on

// This vocabulary step runs inside the mnemonic step of base set C-19, not in this set's own.
std::vector<BuilderSet> NoVocabularyStep(std::int32_t) {
    return {};
}

} // namespace

BuilderSetSteps AdditionSetC23() {
    return {.set = {"C-23", true},
            .vocabulary = Vocabulary,
            .vocabularyPlan = NoVocabularyStep,
            .numeric = Numerics,
            .header = Headers};
}

} // namespace setfolio::data
