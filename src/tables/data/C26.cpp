// Addition set C-26: the per-transducer wall choices of the trend displays of C-26, C-23 and C-25.
#include "tables/data/DataSets.h"

#include <string_view>
#include <vector>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view TrendDataTexts[] = {"NONE    ", "WALL1   ", "WALL1(1)", "WALL1(2)", "WALL1(3)", "WALL1(4)", "WALL2   ", "WALL2(1)", "WALL2(2)", "WALL2(3)", "WALL2(4)", "OD      ", "ID      "};

constexpr VocabularyDef Vocabulary[] = {
    {"TrendData", TrendDataTexts},
};
// clang-format on

// This vocabulary step runs inside the mnemonic step of base set C-19, not in this set's own.
std::vector<BuilderSet> NoVocabularyStep(std::int32_t) {
    return {};
}

} // namespace

BuilderSetSteps AdditionSetC26() {
    return {.set = {"C-26", true}, .vocabulary = Vocabulary, .vocabularyPlan = NoVocabularyStep};
}

} // namespace setfolio::data
