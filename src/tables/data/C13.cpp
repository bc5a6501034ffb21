// Addition set C-13: the ticket printer of C-13. Its rows use the vocabularies of base set C-12.
#include "tables/data/DataSets.h"

#include <string_view>

namespace setfolio::data {

namespace {

// clang-format off
constexpr MnemonicDef Mnemonics[] = {
    {"TicketPrinter", "J0", "OffOn"},
    {"PrintTime", "J1", "NoYes"},
    {"PrintDate", "J2", "NoYes"},
    {"PrintLength", "J3", "NoYes"},
};

constexpr HeaderDef Headers[] = {
    {"TicketHdr", "10", "20"},
    {"Awg", "11", "21"},
    {"PartNum", "12", "22"},
    {"Compound", "13", "23"},
    {"LotNum", "14", "24"},
    {"OperNum", "15", "25"},
    {"MachNum", "16", "26"},
};
// clang-format on

} // namespace

BuilderSetSteps AdditionSetC13() {
    return {.set = {"C-13", true}, .mnemonic = Mnemonics, .header = Headers};
}

} // namespace setfolio::data
