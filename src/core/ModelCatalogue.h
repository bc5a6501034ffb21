#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

enum class ModelFamily { CodedFamily, BenchFamily, MenuFamily, NoFamily };

// The six parameter lists a model's tables are made of; the first four belong to the coded
// family, the last two to the menu family.
enum class ParmList {
    MnemonicList,
    CondMnemonicList,
    NumericList,
    HeaderList,
    LibraryParmList,
    GlobalParmList
};
inline constexpr std::size_t ParmListCount = 6;

// A set of parameter-table builders: the base set of a catalogue entry, or its addition set.
struct BuilderSet {
    std::string_view entry; // e.g. "C-10"
    bool addition = false;  // written "+C-11" in a composition

    friend bool operator==(const BuilderSet&, const BuilderSet&) = default;
    std::string Text() const { return (addition ? "+" : "") + std::string(entry); }
};

struct CatalogueEntry {
    std::string_view entry;
    std::string_view listText;
    bool listed;
    std::int32_t modelType;
    ModelFamily family;
    bool slowLibrarySwitch;
    bool pacedUpload;
    // Per ParmList: the builder sets in the order they run, comma separated ("C-10, +C-11"),
    // or "-" for a list that stays empty.
    std::array<std::string_view, ParmListCount> composition;
};

inline constexpr std::int32_t ModelTypeCount = 47;

// The fixed catalogue of processor models, in list order.
std::span<const CatalogueEntry> Catalogue();

// Lookups by model type; an undefined type has no entry.
const CatalogueEntry* EntryOf(std::int32_t modelType);
ModelFamily FamilyOf(std::int32_t modelType);
bool SlowLibrarySwitch(std::int32_t modelType);
bool PacedUpload(std::int32_t modelType);
std::string_view LabelOf(std::int32_t modelType);

// The model list of the main window: the listed entries in catalogue order.
std::vector<std::string_view> ListLines();
// -1 when the line shows no model.
std::int32_t ModelOfListLine(int line);
// -1 for an unlisted entry and for an undefined type.
int ListLineOf(std::int32_t modelType);

std::vector<BuilderSet> CompositionOf(std::int32_t modelType, ParmList list);

} // namespace setfolio
