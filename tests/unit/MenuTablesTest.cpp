#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "tables/Assembly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <ranges>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {
// Failures show a row as its name and path.
static void PrintTo(const TdpParm& row, std::ostream* out) {
    *out << row.name << " " << row.menuPath;
}
} // namespace setfolio

using namespace setfolio;

namespace {

// The model is only ever set with Use, so the settings file is never touched.
struct World {
    Settings settings{"unused"};
    CurrentModel current{settings};
    ParameterTables tables;

    // What a transfer of the current model does first.
    void Assemble(std::string_view entry) {
        const std::int32_t type = EntryOf(entry).modelType;
        current.Use(type);
        AssembleParameterTables(tables, current, type);
    }

    static const CatalogueEntry& EntryOf(std::string_view entry) {
        for (const auto& e : Catalogue()) {
            if (e.entry == entry)
                return e;
        }
        throw std::invalid_argument(std::string(entry));
    }
};

using Rows = std::vector<TdpParm>;

Rows RowsOf(const ParmTable<TdpParm>& table) {
    return {table.Rows().begin(), table.Rows().end()};
}

std::vector<std::string_view> MenuModels() {
    std::vector<std::string_view> entries;
    for (const auto& e : Catalogue()) {
        if (e.family == ModelFamily::MenuFamily)
            entries.push_back(e.entry);
    }
    return entries;
}

struct MenuCounts {
    std::string_view entry;
    std::int32_t library, global;
};

constexpr MenuCounts Counts[] = {
    {"M-01", 23, 25}, {"M-02", 32, 25}, {"M-03", 32, 27}, {"M-04", 59, 42}, {"M-05", 60, 43},
    {"M-06", 60, 44}, {"M-07", 62, 51}, {"M-08", 37, 26}, {"M-09", 37, 27}, {"M-10", 37, 27},
    {"M-11", 38, 27}, {"M-12", 47, 40}, {"M-13", 48, 40}, {"M-14", 35, 27},
};

TEST(MenuTables, CountsOfEveryMenuModel) {
    EXPECT_EQ(std::size(Counts), MenuModels().size());
    for (const auto& [entry, library, global] : Counts) {
        World world;
        world.Assemble(entry);
        EXPECT_EQ(world.tables.LibraryParmCount(), library) << entry;
        EXPECT_EQ(world.tables.GlobalParmCount(), global) << entry;
        EXPECT_EQ(world.tables.LibraryParmFill(), library) << entry;
        EXPECT_EQ(world.tables.GlobalParmFill(), global) << entry;
    }
}

struct Ends {
    std::string_view entry;
    TdpParm libraryFirst, libraryLast, globalFirst, globalLast;
};

TEST(MenuTables, FirstAndLastRowOfBothLists) {
    // clang-format off
    const Ends cases[] = {
        {"M-01", {"1Nom1", "2.1.1.1"}, {"ProductID", "2.4.16"}, {"Units", "2.4.10"}, {"AnalogOffset3", "2.5.6.3"}},
        {"M-02", {"1Nom1", "2.1.1.1"}, {"ProductID", "2.4.16"}, {"Units", "2.4.10"}, {"AnalogOffset3", "2.5.6.3"}},
        {"M-04", {"1Nom1", "2.1.1.1"}, {"ProductID", "2.4.16"}, {"Units", "2.4.10"}, {"AlarmOut6", "2.5.7.6"}},
        {"M-05", {"1Nom1", "2.1.1.1"}, {"ClearLogic", "2.4.46"}, {"Units", "2.4.10"}, {"LineSpeedSim", "2.5.8"}},
        {"M-07", {"1Nom1", "2.1.1.1"}, {"ProductID", "2.4.16"}, {"Units", "2.4.10"}, {"AlarmOut6", "2.5.7.6"}},
        {"M-08", {"1Nom1", "2.1.1.1"}, {"StacYSrc", "2.6.5"}, {"Units", "2.4.10"}, {"StacLogic", "2.4.33"}},
        {"M-11", {"1Nom1", "2.1.1.1"}, {"FlawWindow", "2.1.21"}, {"Units", "2.4.10"}, {"Gage2", "2.4.47"}},
        {"M-12", {"1Nom1", "2.1.1.1"}, {"ProductID", "2.4.16"}, {"Units", "2.4.10"}, {"AnalogOffset3", "2.5.6.3"}},
        {"M-13", {"1Nom1", "2.1.1.1"}, {"ClearLogic", "2.4.46"}, {"Units", "2.4.10"}, {"AnalogOffset3", "2.5.6.3"}},
        {"M-14", {"1Nom1", "2.1.1.1"}, {"StacYSrc", "2.6.5"}, {"Units", "2.4.10"}, {"QuadPulsesPer", "2.5.11"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        World world;
        world.Assemble(c.entry);
        const auto library = RowsOf(world.tables.LibraryParmList);
        const auto global = RowsOf(world.tables.GlobalParmList);
        ASSERT_FALSE(library.empty() || global.empty()) << c.entry;
        EXPECT_EQ(library.front(), c.libraryFirst) << c.entry;
        EXPECT_EQ(library.back(), c.libraryLast) << c.entry;
        EXPECT_EQ(global.front(), c.globalFirst) << c.entry;
        EXPECT_EQ(global.back(), c.globalLast) << c.entry;
    }
}

// The rows an addition set brings follow those of the sets before it.
struct Tail {
    std::string_view entry;
    bool global;
    Rows rows;
};

TEST(MenuTables, AdditionSetsAppendTheirRowsInCompositionOrder) {
    const Tail cases[] = {
        {"M-05", true, {{"AlarmOut6", "2.5.7.6"}, {"LineSpeedSim", "2.5.8"}}},
        {"M-06",
         true,
         {{"AlarmOut6", "2.5.7.6"}, {"LineSpeedSim", "2.5.8"}, {"LineSpeedAvg", "2.5.9"}}},
        {"M-06", false, {{"ProductID", "2.4.16"}, {"ClearLogic", "2.4.46"}}},
        {"M-09",
         true,
         {{"AnalogOffset3", "2.5.6.3"}, {"StacLogic", "2.4.33"}, {"ClearLogic", "2.4.46"}}},
        // addition set M-09's row before that of addition set M-11
        {"M-11",
         true,
         {{"AnalogOffset3", "2.5.6.3"}, {"ClearLogic", "2.4.46"}, {"Gage2", "2.4.47"}}},
        {"M-11",
         false,
         {{"ProductID", "2.4.16"},
          {"FlawMode", "2.1.16"},
          {"LumpThresh", "2.1.17"},
          {"NeckThresh", "2.1.18"},
          {"AlarmDur", "2.1.19"},
          {"FlawInclude", "2.1.20"},
          {"FlawWindow", "2.1.21"}}},
        {"M-13", false, {{"ProductID", "2.4.16"}, {"ClearLogic", "2.4.46"}}},
    };
    for (const auto& c : cases) {
        World world;
        world.Assemble(c.entry);
        const auto rows =
            RowsOf(c.global ? world.tables.GlobalParmList : world.tables.LibraryParmList);
        ASSERT_GE(rows.size(), c.rows.size()) << c.entry;
        EXPECT_TRUE(std::equal(c.rows.begin(), c.rows.end(), rows.end() - std::ssize(c.rows)))
            << c.entry << (c.global ? " global" : " library");
    }

    // Each model is its base model's lists with the additions at the end.
    const struct {
        std::string_view model, base;
        std::size_t library, global;
    } built[] = {{"M-05", "M-04", 1, 1}, {"M-06", "M-04", 1, 2}, {"M-08", "M-02", 5, 1},
                 {"M-09", "M-02", 5, 2}, {"M-11", "M-02", 6, 2}, {"M-13", "M-12", 1, 0}};
    for (const auto& [model, base, library, global] : built) {
        World b, m;
        b.Assemble(base);
        m.Assemble(model);
        const auto baseLibrary = RowsOf(b.tables.LibraryParmList);
        const auto baseGlobal = RowsOf(b.tables.GlobalParmList);
        const auto modelLibrary = RowsOf(m.tables.LibraryParmList);
        const auto modelGlobal = RowsOf(m.tables.GlobalParmList);
        EXPECT_EQ(modelLibrary.size(), baseLibrary.size() + library) << model;
        EXPECT_EQ(modelGlobal.size(), baseGlobal.size() + global) << model;
        EXPECT_TRUE(
            std::ranges::equal(baseLibrary, modelLibrary | std::views::take(baseLibrary.size())))
            << model;
        EXPECT_TRUE(
            std::ranges::equal(baseGlobal, modelGlobal | std::views::take(baseGlobal.size())))
            << model;
    }
}

TEST(MenuTables, M10HasExactlyTheListsOfM09) {
    World m09, m10;
    m09.Assemble("M-09");
    m10.Assemble("M-10");
    EXPECT_EQ(RowsOf(m10.tables.LibraryParmList), RowsOf(m09.tables.LibraryParmList));
    EXPECT_EQ(RowsOf(m10.tables.GlobalParmList), RowsOf(m09.tables.GlobalParmList));
}

std::int32_t Occurrences(const Rows& rows, std::string_view name) {
    return static_cast<std::int32_t>(
        std::ranges::count_if(rows, [&](const TdpParm& row) { return row.name == name; }));
}

TEST(MenuTables, M07HoldsSignalRowsOnceEachBetweenTolRptsAndSpecGrav) {
    World world;
    world.Assemble("M-07");
    const auto rows = RowsOf(world.tables.LibraryParmList);
    EXPECT_EQ(Occurrences(rows, "SigNoise"), 1);
    EXPECT_EQ(Occurrences(rows, "GoodScans"), 1);
    const auto at = std::ranges::find(rows, TdpParm{"TolRpts", "2.1.7"});
    ASSERT_LE(at + 4, rows.end());
    EXPECT_EQ(Rows(at, at + 4), (Rows{{"TolRpts", "2.1.7"},
                                      {"SigNoise", "2.1.8"},
                                      {"GoodScans", "2.1.9"},
                                      {"SpecGrav", "2.1.11"}}));
}

// Where a name stands, and under which path, differs from model to model.
struct Placement {
    std::string_view entry;
    bool global;
    std::string_view name;
    std::string_view path; // empty: the list has no row of that name
};

TEST(MenuTables, TheSameNameOrPathBelongsToDifferentRowsInDifferentModels) {
    // clang-format off
    const Placement cases[] = {
        {"M-01", true, "ClearLogic", "2.4.11"}, {"M-05", false, "ClearLogic", "2.4.46"},
        {"M-09", true, "ClearLogic", "2.4.46"}, {"M-11", true, "ClearLogic", "2.4.46"},
        {"M-13", false, "ClearLogic", "2.4.46"}, {"M-04", false, "ClearLogic", ""},
        {"M-12", true, "ClearLogic", ""}, {"M-02", false, "CtlDim", "2.2.6"},
        {"M-01", false, "CtlDim", ""}, {"M-01", true, "CtlDevice", "2.2.6"},
        {"M-12", true, "GageDist1", "2.2.8"}, {"M-12", true, "GageDist", ""},
        {"M-12", true, "LaserSamples", "2.4.9"}, {"M-02", true, "Samples", "2.4.9"},
        {"M-14", true, "UserCode", "2.4.12"}, {"M-14", true, "Security", ""},
        {"M-14", true, "EthernetOutput", "2.5.1"}, {"M-14", false, "Heading", ""},
        {"M-14", false, "ProductID", ""}, {"M-07", false, "20Nom1", "2.1.20.1"},
        {"M-11", false, "FlawInclude", "2.1.20"},
    };
    // clang-format on
    for (const auto& c : cases) {
        World world;
        world.Assemble(c.entry);
        const auto rows =
            RowsOf(c.global ? world.tables.GlobalParmList : world.tables.LibraryParmList);
        const auto at = std::ranges::find(rows, c.name, &TdpParm::name);
        const std::string_view path = at == rows.end() ? std::string_view{} : at->menuPath;
        EXPECT_EQ(path, c.path) << c.entry << " " << c.name;
    }
}

bool IsMenuPath(std::string_view path) {
    std::size_t numbers = 0;
    while (true) {
        const auto point = path.find('.');
        const auto number = path.substr(0, point);
        if (number.empty() ||
            !std::ranges::all_of(number, [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        ++numbers;
        if (point == std::string_view::npos)
            break;
        path.remove_prefix(point + 1);
    }
    return numbers == 3 || numbers == 4;
}

TEST(MenuTables, NamesAndPathsAreUniqueAndNoNameIsInBothLists) {
    for (const auto entry : MenuModels()) {
        World world;
        world.Assemble(entry);
        std::set<std::string> libraryNames;
        for (const auto* table : {&world.tables.LibraryParmList, &world.tables.GlobalParmList}) {
            std::set<std::string> names, paths;
            for (const auto& row : table->Rows()) {
                EXPECT_TRUE(names.insert(row.name).second) << entry << " name " << row.name;
                EXPECT_TRUE(paths.insert(row.menuPath).second) << entry << " path " << row.menuPath;
                EXPECT_TRUE(IsMenuPath(row.menuPath) && row.menuPath.starts_with("2."))
                    << entry << " " << row.name << " " << row.menuPath;
                if (table == &world.tables.LibraryParmList)
                    libraryNames.insert(row.name);
                else
                    EXPECT_FALSE(libraryNames.contains(row.name)) << entry << " " << row.name;
            }
        }
    }
}

TEST(MenuTables, AssemblingBetweenFamiliesAndBackAccumulatesNothing) {
    World fresh;
    fresh.Assemble("C-12");
    const ParameterTables c12 = fresh.tables;
    const auto codedAsC12 = [&](const ParameterTables& tables) {
        return std::ranges::equal(tables.MnemonicList.Rows(), c12.MnemonicList.Rows()) &&
               std::ranges::equal(tables.CondMnemonicList.Rows(), c12.CondMnemonicList.Rows()) &&
               std::ranges::equal(tables.NumericList.Rows(), c12.NumericList.Rows()) &&
               std::ranges::equal(tables.HeaderList.Rows(), c12.HeaderList.Rows());
    };

    // First pass: C-12, a menu model, C-12 again, the same menu model again. Second pass: every
    // menu model right after the one before it. Each gives the lists it gives from a fresh start.
    World chain;
    for (const bool viaCoded : {true, false}) {
        for (const auto entry : MenuModels()) {
            World alone;
            alone.Assemble(entry);
            const Rows library = RowsOf(alone.tables.LibraryParmList);
            const Rows global = RowsOf(alone.tables.GlobalParmList);
            if (viaCoded)
                chain.Assemble("C-12");
            chain.Assemble(entry);
            EXPECT_EQ(RowsOf(chain.tables.LibraryParmList), library) << entry;
            EXPECT_EQ(RowsOf(chain.tables.GlobalParmList), global) << entry;
            if (!viaCoded)
                continue;
            EXPECT_TRUE(codedAsC12(chain.tables)) << entry;
            chain.Assemble("C-12");
            EXPECT_TRUE(codedAsC12(chain.tables)) << entry;
            EXPECT_EQ(RowsOf(chain.tables.LibraryParmList), library) << entry;
            chain.Assemble(entry);
            EXPECT_EQ(RowsOf(chain.tables.LibraryParmList), library) << entry;
            EXPECT_EQ(RowsOf(chain.tables.GlobalParmList), global) << entry;
        }
    }
}

} // namespace
