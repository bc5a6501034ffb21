// Addition set C-15: the fault counter input of C-15. Its vocabulary step gives the digital
// inputs an eighth action, which the conditional rows of base set C-12 then copy.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr std::string_view InputActionTexts[] = {"RUN/STOP    ", "CTL ON/OFF  ", "SPC ON/OFF  ", "CLR SPC DATA", "PRINT RPTS  ", "PRINT & CLR ", "CLEAR LENGTH", "FAULT COUNT "};

constexpr VocabularyDef Vocabulary[] = {
    {"InputAction", InputActionTexts},
};

constexpr MnemonicDef Mnemonics[] = {
    {"PrintFaults", "J4", "NoYes"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetC15() {
    return {.set = {"C-15", true}, .vocabulary = Vocabulary, .mnemonic = Mnemonics};
}

} // namespace setfolio::data
