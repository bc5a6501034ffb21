#include "core/ModelCatalogue.h"

#include "core/WholeNumber.h"

#include <algorithm>
#include <limits>

namespace setfolio {

namespace {

using enum ModelFamily;

// Order | entry | list text | listed | model type | family | slow library switch | paced upload
// | composition per list (mnemonic, conditional, numeric, header, library, global) | quirks.
// clang-format off
constexpr std::array<CatalogueEntry, ModelTypeCount> Entries{{
    {"C-01", "C-01", true, 26, CodedFamily, false, false,
     {"C-01", "C-01", "C-01", "C-01", "-", "-"}},
    {"C-02", "C-02", true, 35, CodedFamily, false, false,
     {"C-02", "C-02", "C-02", "C-02", "-", "-"},
     {.spcChannels = 4}},
    {"C-03", "C-03", true, 41, CodedFamily, false, false,
     {"C-03", "C-03", "C-03", "C-03", "-", "-"},
     {.spcChannels = 3, .optionalSecondAlarmDimension = true}},
    {"C-04", "C-04", true, 27, CodedFamily, false, false,
     {"C-04", "C-04", "C-04", "C-04", "-", "-"}},
    {"C-05", "C-05", true, 28, CodedFamily, false, false,
     {"C-05", "C-05", "C-05", "C-05", "-", "-"}},
    {"C-06", "C-06", true, 29, CodedFamily, false, false,
     {"C-06", "C-06", "C-06", "C-06", "-", "-"}},
    {"C-07", "C-07", true, 17, CodedFamily, false, true,
     {"C-07", "-", "C-07", "C-07", "-", "-"}},
    {"C-08", "C-08", true, 23, CodedFamily, false, true,
     {"C-08", "-", "C-08", "C-08", "-", "-"}},
    {"C-09", "C-09", true, 31, CodedFamily, false, false,
     {"C-09", "C-09", "C-09", "C-09", "-", "-"}},
    {"C-10", "C-10", true, 8, CodedFamily, false, false,
     {"C-10", "C-10", "C-10", "C-10", "-", "-"},
     {.spcChannels = 6}},
    {"C-11", "C-11", true, 9, CodedFamily, false, false,
     {"C-10, +C-11", "C-10", "C-10, +C-11", "C-10", "-", "-"},
     {.spcChannels = 6}},
    {"C-12", "C-12", true, 0, CodedFamily, false, false,
     {"C-12", "C-12", "C-12", "C-12", "-", "-"},
     {.spcChannels = 6}},
    {"C-13", "C-13", true, 1, CodedFamily, false, false,
     {"C-12, +C-13", "C-12", "C-12", "C-12, +C-13", "-", "-"},
     {.spcChannels = 6}},
    {"C-14", "C-14", true, 2, CodedFamily, false, false,
     {"C-14", "C-12", "C-12", "C-12, C-14", "-", "-"},
     {.spcChannels = 6}},
    {"C-15", "C-15", true, 10, CodedFamily, false, false,
     {"C-14, +C-15", "C-12", "C-12", "C-12, C-14", "-", "-"}},
    {"C-16", "C-16", true, 44, CodedFamily, true, false,
     {"C-16", "C-16", "C-16", "C-16", "-", "-"}},
    {"C-17", "C-17", true, 43, CodedFamily, true, false,
     {"C-17", "C-17", "C-17", "C-17", "-", "-"}},
    {"C-18", "C-18", true, 32, CodedFamily, true, false,
     {"C-18", "C-18", "C-18", "C-18", "-", "-"},
     {.acceptsWithN14 = true}},
    {"C-19", "C-19", true, 4, CodedFamily, true, false,
     {"C-19", "C-19", "C-19", "C-19", "-", "-"}},
    {"C-20", "C-20 (German)", true, 7, CodedFamily, true, false,
     {"C-19", "C-19", "C-19", "C-19", "-", "-"}},
    {"C-21", "C-21", true, 3, CodedFamily, true, false,
     {"C-21", "C-21", "C-21", "C-21", "-", "-"}},
    {"C-22", "C-22", true, 12, CodedFamily, true, false,
     {"C-22", "C-22", "C-22", "C-22", "-", "-"}},
    {"C-23", "C-23", true, 15, CodedFamily, true, false,
     {"C-19", "C-19", "C-19, +C-23", "C-19, +C-23", "-", "-"}},
    {"C-24", "C-24", true, 13, CodedFamily, true, false,
     {"C-22", "C-22", "C-22, +C-24", "C-22", "-", "-"}},
    {"C-25", "C-25", true, 30, CodedFamily, true, false,
     {"C-19, +C-25", "C-19", "C-19, +C-23, +C-25", "C-19, +C-23", "-", "-"}},
    {"C-26", "C-26", true, 14, CodedFamily, true, false,
     {"C-19", "C-19", "C-19", "C-19", "-", "-"}},
    {"C-27", "C-27", true, 18, CodedFamily, true, false,
     {"C-27", "C-27", "C-27", "C-27", "-", "-"}},
    {"C-28", "C-28", true, 19, CodedFamily, true, false,
     {"C-27, +C-28", "C-27", "C-27, +C-28", "C-27", "-", "-"}},
    {"C-29", "C-29", true, 20, CodedFamily, true, false,
     {"C-27, +C-28", "C-27", "C-27", "C-27", "-", "-"}},
    {"C-30", "Upload C-17 to C-31", true, 46, CodedFamily, true, false,
     {"C-30", "C-30", "C-30", "C-30", "-", "-"},
     {.convertsEveryFile = true}},
    {"C-31", "C-31", true, 45, CodedFamily, true, false,
     {"C-31", "C-31", "C-31", "C-31", "-", "-"}},
    {"B-01", "B-01", true, 5, BenchFamily, false, false,
     {"-", "-", "-", "-", "-", "-"}},
    {"B-02", "B-02", true, 22, BenchFamily, false, false,
     {"-", "-", "-", "-", "-", "-"}},
    {"M-01", "M-01", true, 6, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-01", "M-01"}},
    {"M-02", "M-02", true, 11, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-02", "M-02"}},
    {"M-03", "M-03", true, 39, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-03", "M-03"}},
    {"M-04", "M-04", true, 24, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-04", "M-04"}},
    {"M-05", "M-05", true, 36, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-04, +M-05", "M-04, +M-05"}},
    {"M-06", "M-06", true, 37, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-04, +M-05", "M-04, +M-05, +M-06"}},
    {"M-07", "M-07", true, 25, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-07", "M-07"}},
    {"M-08", "M-08", true, 21, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-02, +M-08", "M-02, +M-08"}},
    {"M-09", "M-09", true, 33, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-02, +M-08", "M-02, +M-08, +M-09"}},
    {"M-10", "M-10", false, 34, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-02, +M-08", "M-02, +M-08, +M-09"}},
    {"M-11", "M-11", true, 42, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-02, +M-11", "M-02, +M-09, +M-11"}},
    {"M-12", "M-12", true, 16, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-12", "M-12"}},
    {"M-13", "M-13", true, 38, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-12, +M-13", "M-12"}},
    {"M-14", "M-14", true, 40, MenuFamily, false, false,
     {"-", "-", "-", "-", "M-14", "M-14"}},
}};
// clang-format on

} // namespace

std::span<const CatalogueEntry> Catalogue() {
    return Entries;
}

const CatalogueEntry* EntryOf(std::int32_t modelType) {
    for (const auto& entry : Entries) {
        if (entry.modelType == modelType)
            return &entry;
    }
    return nullptr;
}

ModelFamily FamilyOf(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry ? entry->family : NoFamily;
}

bool SlowLibrarySwitch(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry && entry->slowLibrarySwitch;
}

bool PacedUpload(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry && entry->pacedUpload;
}

std::string_view LabelOf(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry ? entry->listText : std::string_view{};
}

const ModelQuirks& QuirksOf(std::int32_t modelType) {
    static constexpr ModelQuirks None{};
    const auto* entry = EntryOf(modelType);
    return entry ? entry->quirks : None;
}

std::vector<std::string_view> ListLines() {
    std::vector<std::string_view> lines;
    for (const auto& entry : Entries) {
        if (entry.listed)
            lines.push_back(entry.listText);
    }
    return lines;
}

std::int32_t ModelOfListLine(int line) {
    if (line < 0)
        return -1;
    int current = 0;
    for (const auto& entry : Entries) {
        if (!entry.listed)
            continue;
        if (current == line)
            return entry.modelType;
        ++current;
    }
    return -1;
}

int ListLineOf(std::int32_t modelType) {
    int line = 0;
    for (const auto& entry : Entries) {
        if (entry.modelType == modelType)
            return entry.listed ? line : -1;
        if (entry.listed)
            ++line;
    }
    return -1;
}

std::optional<std::int32_t> ModelNamed(std::string_view text) {
    for (const auto& entry : Entries) {
        if (entry.entry == text)
            return entry.modelType;
    }
    if (const auto number = ParseWholeNumber(text); number && EntryOf(*number))
        return number;
    return std::nullopt;
}

namespace {

char Folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// How many letters must be inserted, removed or replaced to make one text the other.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                               diagonal + (Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::vector<std::string_view> EntriesNear(std::string_view text, std::size_t most) {
    std::size_t nearest = std::numeric_limits<std::size_t>::max();
    for (const auto& entry : Entries)
        nearest = std::min(nearest, EditDistance(text, entry.entry));
    std::vector<std::string_view> near;
    for (const auto& entry : Entries) {
        if (near.size() < most && EditDistance(text, entry.entry) == nearest)
            near.push_back(entry.entry);
    }
    return near;
}

std::string_view NameOf(ModelFamily family) {
    switch (family) {
    case CodedFamily:
        return "coded";
    case BenchFamily:
        return "bench";
    case MenuFamily:
        return "menu";
    case NoFamily:
        break;
    }
    return "none";
}

std::vector<BuilderSet> CompositionOf(std::int32_t modelType, ParmList list) {
    std::vector<BuilderSet> sets;
    const auto* entry = EntryOf(modelType);
    if (!entry)
        return sets;
    std::string_view cell = entry->composition[static_cast<std::size_t>(list)];
    if (cell == "-")
        return sets;
    while (!cell.empty()) {
        const auto comma = cell.find(',');
        std::string_view item = cell.substr(0, comma);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        BuilderSet set;
        if (!item.empty() && item.front() == '+') {
            set.addition = true;
            item.remove_prefix(1);
        }
        set.entry = item;
        sets.push_back(set);
        cell = comma == std::string_view::npos ? std::string_view{} : cell.substr(comma + 1);
    }
    return sets;
}

} // namespace setfolio
