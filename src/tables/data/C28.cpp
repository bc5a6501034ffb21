// Addition set C-28: the concentricity and trend rows of C-28 and C-29 and the sample average
// of C-28.
#include "tables/data/DataSets.h"

#include <string_view>
#include <vector>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view ConcModeTexts[] = {"DIFFERENCE", "PERCENTAGE"};
constexpr std::string_view QvSelectTexts[] = {"OFF    ", "LAYER 1", "LAYER 2", "LAYER 3", "LAYER 4", "LAYER 5"};

constexpr VocabularyDef Vocabulary[] = {
    {"ConcMode", ConcModeTexts},
    {"QvSelect", QvSelectTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"ConcMode", "69", "ConcMode"},
    {"T1Data", "T0", "TrendData"},
};

constexpr NumericDef Numerics[] = {
    {"SamplesToAvg", "01"},
};
// clang-format on

// This vocabulary step runs inside the mnemonic step of base set C-27, not in this set's own.
std::vector<BuilderSet> NoVocabularyStep(std::int32_t) {
    return {};
}

} // namespace

BuilderSetSteps AdditionSetC28() {
    return {.set = {"C-28", true},
            .vocabulary = Vocabulary,
            .vocabularyPlan = NoVocabularyStep,
            .mnemonic = Mnemonics,
            .numeric = Numerics};
}

} // namespace setfolio::data
