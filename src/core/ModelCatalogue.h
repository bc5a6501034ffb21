#pragma once

#include <array>
#include <cstdint>
#include <optional>
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

// What single models do differently from the rest of their family.
struct ModelQuirks {
    // Before the conditional rows are read, the SPC report of each of the first `spcChannels`
    // channels (A, B, ...) whose source is "none" is set to none on the processor as well.
    int spcChannels = 0;
    // The model may lack the second alarm dimension: when AlarmDim2 is refused it is stored as
    // its first choice and the download goes on.
    bool optionalSecondAlarmDimension = false;
    // The model answers an accepted command with N14.
    bool acceptsWithN14 = false;
    // The conversion entry: every file is uploaded with this entry's own tables, whatever model
    // wrote it.
    bool convertsEveryFile = false;
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
    ModelQuirks quirks = {};
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
// No quirks for an undefined type.
const ModelQuirks& QuirksOf(std::int32_t modelType);

// The model list of the main window: the listed entries in catalogue order.
std::vector<std::string_view> ListLines();
// -1 when the line shows no model.
std::int32_t ModelOfListLine(int line);
// -1 for an unlisted entry and for an undefined type.
int ListLineOf(std::int32_t modelType);

// A model as a person names it: an entry name as the catalogue writes it ("C-12"), or a model
// type in decimal digits ("0"). Nothing for any other text.
std::optional<std::int32_t> ModelNamed(std::string_view text);
// The entry names nearest to a text that names no model, for "did you mean": those fewest
// letters away (ignoring letter case), at most `most` of them, in catalogue order.
std::vector<std::string_view> EntriesNear(std::string_view text, std::size_t most = 4);
// A family's name in words: "coded", "bench", "menu" or "none".
std::string_view NameOf(ModelFamily family);

std::vector<BuilderSet> CompositionOf(std::int32_t modelType, ParmList list);

} // namespace setfolio
