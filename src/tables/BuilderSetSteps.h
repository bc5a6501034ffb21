#pragma once

#include "core/ModelCatalogue.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace setfolio {

// Rows as the data of a builder set writes them down; a builder step turns each into a record.
// Rows name their vocabularies, so a later vocabulary step can change what a step copies.

struct VocabularyDef {
    std::string_view name;
    std::span<const std::string_view> texts;
};

struct MnemonicDef {
    std::string_view name;
    std::string_view code;
    std::string_view vocabulary;
};

struct CondMnemonicDef {
    std::string_view name;
    std::string_view code;
    std::string_view source;
    std::span<const std::string_view> valueSets; // the vocabulary of each value set
};

struct NumericDef {
    std::string_view name;
    std::string_view code;
};

struct HeaderDef {
    std::string_view name;
    std::string_view code1;
    std::string_view code2;
};

struct MenuParmDef {
    std::string_view name;
    std::string_view menuPath;
};

// The vocabulary steps a set's mnemonic step runs before its first row, in order, chosen by the
// current model type (a base set may bring in an addition set's vocabularies, or run them in
// place of its own).
using VocabularyPlan = std::vector<BuilderSet> (*)(std::int32_t currentModelType);

// The rows of a conditional step that depends on the current model type (a base set may take a
// row's source from another parameter on some of its models).
using ConditionalPlan = std::vector<CondMnemonicDef> (*)(std::int32_t currentModelType);

// One builder set: the steps it contributes to each list. A set lacks a step by leaving its rows
// empty.
struct BuilderSetSteps {
    BuilderSet set{};
    // The set's vocabulary step.
    std::span<const VocabularyDef> vocabulary = {};
    // Without a plan the mnemonic step runs the set's own vocabulary step.
    VocabularyPlan vocabularyPlan = nullptr;
    std::span<const MnemonicDef> mnemonic = {};
    std::span<const CondMnemonicDef> conditional = {};
    // With a plan the conditional step takes its rows from the plan instead.
    ConditionalPlan conditionalPlan = nullptr;
    std::span<const NumericDef> numeric = {};
    std::span<const HeaderDef> header = {};
    std::span<const MenuParmDef> library = {};
    std::span<const MenuParmDef> global = {};
};

} // namespace setfolio
