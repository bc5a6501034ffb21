// Addition set C-25: the label terminal choice of C-25.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view TermToPrintTexts[] = {"ROLL", "BOX "};

constexpr VocabularyDef Vocabulary[] = {
    {"TermToPrint", TermToPrintTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"TermToPrint", "3A", "TermToPrint"},
};

constexpr NumericDef Numerics[] = {
    {"PrintClearDelay", "39"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetC25() {
    return {.set = {"C-25", true},
            .vocabulary = Vocabulary,
            .mnemonic = Mnemonics,
            .numeric = Numerics};
}

} // namespace setfolio::data
