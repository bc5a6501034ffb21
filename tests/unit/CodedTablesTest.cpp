// The coded-family models besides C-09 to C-15: builder set sizes, the rows each model shares
// with its reference model, the texts that differ from it, and the choices made by the current
// model inside base sets C-19 and C-27.
#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "tables/Assembly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace setfolio;

namespace {

std::int32_t TypeOf(std::string_view entry) {
    for (const auto& e : Catalogue()) {
        if (e.entry == entry)
            return e.modelType;
    }
    throw std::invalid_argument(std::string(entry));
}

// The model is only ever set with Use, so the settings file is never touched.
struct World {
    Settings settings{"unused"};
    CurrentModel current{settings};
    ParameterTables tables;

    // What a transfer of the current model does first.
    explicit World(std::string_view entry) { Assemble(entry); }
    void Assemble(std::string_view entry) {
        current.Use(TypeOf(entry));
        AssembleParameterTables(tables, current, TypeOf(entry));
    }
    // What an upload of a file of another model does while `entry` is current.
    void AssembleWhileCurrent(std::string_view model, std::string_view entry) {
        current.Use(TypeOf(entry));
        AssembleParameterTables(tables, current, TypeOf(model));
    }

    const TMnemonic& Mnemonic(std::string_view name) const {
        return Find(tables.MnemonicList, name);
    }
    const TCondMnemonic& Conditional(std::string_view name) const {
        return Find(tables.CondMnemonicList, name);
    }
    bool HasMnemonic(std::string_view name) const {
        return std::ranges::any_of(tables.MnemonicList.Rows(),
                                   [name](const auto& row) { return row.name == name; });
    }

    template <class Row>
    static const Row& Find(const ParmTable<Row>& table, std::string_view name) {
        for (const auto& row : table.Rows()) {
            if (row.name == name)
                return row;
        }
        throw std::invalid_argument(std::string(name));
    }
};

// "Di1Data" 1 to 16 and the like.
std::vector<std::string> Series(std::string_view stem, int first, int last) {
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i)
        names.push_back(std::string(stem) + std::to_string(i));
    return names;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Name and code of every row of a list: what a library file and the commands rely on.
template <class Row, class KeyOf>
std::vector<std::string> Keys(const ParmTable<Row>& table, KeyOf code) {
    std::vector<std::string> keys;
    for (const auto& row : table.Rows())
        keys.push_back(row.name + " " + code(row));
    return keys;
}
const auto Code = [](const auto& row) { return row.code; };
const auto CodeAndSource = [](const TCondMnemonic& row) { return row.code + " " + row.source; };
const auto HeaderCodes = [](const THeader& row) { return row.code1 + "/" + row.code2; };

TEST(CodedTables, EachBuilderSetHasItsVocabulariesAndRows) {
    struct Size {
        BuilderSet set;
        std::size_t vocabularies, mnemonic, conditional, numeric, header;
    };
    const Size sizes[] = {
        {{"C-01"}, 38, 58, 4, 42, 1},    {{"C-02"}, 36, 53, 8, 70, 1},
        {{"C-03"}, 32, 34, 7, 60, 1},    {{"C-04"}, 37, 61, 5, 82, 1},
        {{"C-05"}, 38, 70, 5, 53, 1},    {{"C-06"}, 36, 62, 5, 81, 1},
        {{"C-07"}, 21, 23, 0, 27, 3},    {{"C-08"}, 21, 25, 0, 60, 3},
        {{"C-16"}, 45, 136, 45, 189, 1}, {{"C-17"}, 45, 154, 44, 206, 1},
        {{"C-18"}, 41, 138, 44, 173, 1}, {{"C-19"}, 45, 149, 48, 177, 1},
        {{"C-21"}, 46, 149, 48, 177, 1}, {{"C-22"}, 43, 136, 48, 176, 1},
        {{"C-27"}, 38, 133, 48, 127, 1}, {{"C-30"}, 31, 133, 44, 148, 1},
        {{"C-31"}, 43, 153, 48, 163, 1}, {{"C-20", true}, 45, 0, 0, 0, 0},
        {{"C-23", true}, 1, 0, 0, 2, 2}, {{"C-24", true}, 0, 0, 0, 1, 0},
        {{"C-25", true}, 1, 1, 0, 1, 0}, {{"C-26", true}, 1, 0, 0, 0, 0},
        {{"C-28", true}, 2, 2, 0, 1, 0}, {{"C-29", true}, 39, 0, 0, 0, 0},
    };
    for (const auto& s : sizes) {
        const auto* set = StandardBuilderSets().Find(s.set);
        ASSERT_NE(set, nullptr) << s.set.Text();
        EXPECT_EQ(set->vocabulary.size(), s.vocabularies) << s.set.Text();
        EXPECT_EQ(set->mnemonic.size(), s.mnemonic) << s.set.Text();
        EXPECT_EQ(set->conditional.size(), s.conditional) << s.set.Text();
        EXPECT_EQ(set->numeric.size(), s.numeric) << s.set.Text();
        EXPECT_EQ(set->header.size(), s.header) << s.set.Text();
        // A vocabulary step defines each vocabulary once.
        std::set<std::string_view> names;
        for (const auto& vocabulary : set->vocabulary)
            EXPECT_TRUE(names.insert(vocabulary.name).second) << s.set.Text() << vocabulary.name;
    }
}

// A model listed as changes to a reference model: the rows whose texts differ from the
// reference's ("other values"). Every other row both have must have the reference's texts.
struct Changes {
    std::string_view entry, reference;
    std::vector<std::string> mnemonic, conditional;
};

TEST(CodedTables, OnlyTheListedRowsHaveOtherTextsThanTheReference) {
    const auto units =
        std::vector<std::string>{"CDelayUnits", "DDelayUnits", "InterimUnits", "CDelayUnits2"};
    const auto inputs = Join({Series("Di1Data", 1, 16), Series("Di2Data", 1, 16)});
    const auto analog = Join({Series("Ad1Data", 1, 3), Series("Ad2Data", 1, 3),
                              Series("Ad3Data", 1, 3), Series("Ad4Data", 1, 3)});
    const std::vector<std::string> trend = {"T1Data", "T2Data", "T3Data", "T4Data"};
    const std::vector<std::string> columns = {"Col1Dim", "Col2Dim", "Col3Dim"};
    const std::vector<std::string> sources = {"ASpcSource", "BSpcSource", "CSpcSource",
                                              "DSpcSource", "ESpcSource", "FSpcSource"};
    const std::vector<std::string> c01Units = {"CDelayUnits", "RDelayUnits", "BatchUnits",
                                               "DDelayUnits"};
    const Changes cases[] = {
        {"C-18",
         "C-19",
         {"SystemTorvik", "RTimeUnits", "FixtName", "Freq", "ConcMode", "ControlDim",
          "ControlDim2"},
         {}},
        {"C-16", "C-18",
         Join({{"Resolution", "ComputeCLs", "QvSelect", "FixtName", "ConcMode", "ControlDim",
                "ControlDim2"},
               sources}),
         analog},
        {"C-17", "C-16", {"QvSelect", "FixtName", "ControlDim", "ControlDim2"}, {}},
        {"C-22", "C-19", {"QvSelect"}, inputs},
        {"C-24", "C-22", {}, {}},
        {"C-26", "C-19", trend, {}},
        {"C-23", "C-19", Join({{"FixtName"}, trend}), {}},
        {"C-25", "C-19", Join({{"FixtName"}, trend}), {}},
        {"C-27", "C-19",
         Join({{"SystemTorvik", "MeasUnits", "QvSelect", "T2Data", "T3Data", "T4Data"},
               Series("SerialSelect", 1, 5)}),
         Join({inputs, analog})},
        {"C-28", "C-27", {"QvSelect"}, units},
        {"C-31", "C-27",
         Join({{"QvSelect", "ControlDim", "ControlDim2"}, Series("SerialSelect", 1, 5)}), units},
        {"C-30", "C-31", {"SystemTorvik", "MeasUnits", "QvSelect", "QvSelect2", "ConcMode"}, {}},
        {"C-02", "C-01",
         Join({{"RTimeUnits", "AnalogData", "DistUnits", "SerialOut", "AlarmDim1", "AlarmDim2",
                "MeasurementType", "ControlDim", "TolRpt"},
               columns}),
         c01Units},
        {"C-03",
         "C-02",
         {"AnalogData", "PrinterPort", "SerialOut", "AlarmDim1", "AlarmDim2", "MeasurementType",
          "ControlDim", "MopDir", "TolRpt"},
         {"ASpcReports", "BSpcReports", "CSpcReports"}},
        {"C-04", "C-02",
         Join({{"RTimeUnits", "AnalogData", "MeasUnits", "DistUnits", "SerialOut", "AlarmDim1",
                "AlarmDim2", "ControlDim", "TolRpt"},
               columns}),
         c01Units},
        {"C-05", "C-01",
         Join({{"RTimeUnits", "AnalogData", "DistUnits", "SerialOut", "AlarmDim1", "AlarmDim2",
                "ControlDim", "TolRpt"},
               columns}),
         c01Units},
        {"C-06",
         "C-05",
         Join({{"AnalogData", "SerialOut", "AlarmDim1", "AlarmDim2", "GageType1", "ControlDim",
                "TolRpt"},
               columns}),
         {}},
    };
    for (const auto& c : cases) {
        const World model(c.entry), reference(c.reference);
        const std::set<std::string> mnemonic(c.mnemonic.begin(), c.mnemonic.end());
        const std::set<std::string> conditional(c.conditional.begin(), c.conditional.end());
        std::size_t differing = 0;
        for (const auto& row : model.tables.MnemonicList.Rows()) {
            if (!reference.HasMnemonic(row.name))
                continue;
            const bool other = row.values != reference.Mnemonic(row.name).values;
            EXPECT_EQ(other, mnemonic.contains(row.name)) << c.entry << " " << row.name;
            differing += other ? 1 : 0;
        }
        EXPECT_EQ(differing, mnemonic.size()) << c.entry;
        for (const auto& row : model.tables.CondMnemonicList.Rows()) {
            const auto& rows = reference.tables.CondMnemonicList.Rows();
            const auto same = std::ranges::find(rows, row.name, &TCondMnemonic::name);
            if (same == rows.end())
                continue;
            EXPECT_EQ(row.valueSets != same->valueSets, conditional.contains(row.name))
                << c.entry << " " << row.name;
        }
    }
}

TEST(CodedTables, TranslatedModelsHaveTheRowsOfC19AndNoTextOfIt) {
    const World c19("C-19");
    for (const std::string_view entry : {"C-20", "C-21"}) {
        // Assembled right after a C-19, so no English text may be left over.
        World world("C-19");
        world.Assemble(entry);
        const auto& t = world.tables;
        EXPECT_EQ(Keys(t.MnemonicList, Code), Keys(c19.tables.MnemonicList, Code)) << entry;
        EXPECT_EQ(Keys(t.CondMnemonicList, CodeAndSource),
                  Keys(c19.tables.CondMnemonicList, CodeAndSource))
            << entry;
        EXPECT_EQ(Keys(t.NumericList, Code), Keys(c19.tables.NumericList, Code)) << entry;
        EXPECT_EQ(Keys(t.HeaderList, HeaderCodes), Keys(c19.tables.HeaderList, HeaderCodes))
            << entry;
        for (std::int32_t i = 0; i < t.MnemonicCount(); ++i) {
            EXPECT_EQ(t.MnemonicList[i].values.count, c19.tables.MnemonicList[i].values.count);
            EXPECT_NE(t.MnemonicList[i].values, c19.tables.MnemonicList[i].values)
                << entry << " " << t.MnemonicList[i].name;
        }
        for (std::int32_t i = 0; i < t.CondMnemonicCount(); ++i) {
            EXPECT_NE(t.CondMnemonicList[i].valueSets, c19.tables.CondMnemonicList[i].valueSets)
                << entry << " " << t.CondMnemonicList[i].name;
        }
    }
}

TEST(CodedTables, C29HasTheRowsOfC28AndC27AndNoTextOfC28) {
    World world("C-28");
    const ParameterTables c28 = world.tables;
    world.Assemble("C-29");
    const World c27("C-27");
    const auto& t = world.tables;
    EXPECT_EQ(Keys(t.MnemonicList, Code), Keys(c28.MnemonicList, Code));
    EXPECT_EQ(Keys(t.CondMnemonicList, CodeAndSource), Keys(c28.CondMnemonicList, CodeAndSource));
    EXPECT_EQ(Keys(t.NumericList, Code), Keys(c27.tables.NumericList, Code));
    EXPECT_EQ(Keys(t.HeaderList, HeaderCodes), Keys(c27.tables.HeaderList, HeaderCodes));
    for (std::int32_t i = 0; i < t.MnemonicCount(); ++i)
        EXPECT_NE(t.MnemonicList[i].values, c28.MnemonicList[i].values) << t.MnemonicList[i].name;
    for (std::int32_t i = 0; i < t.CondMnemonicCount(); ++i) {
        EXPECT_NE(t.CondMnemonicList[i].valueSets, c28.CondMnemonicList[i].valueSets)
            << t.CondMnemonicList[i].name;
    }
}

TEST(CodedTables, C27ChoosesTheSourceOfItsUnitRowsByTheCurrentModel) {
    struct Case {
        std::string_view model, current, source;
    };
    const Case cases[] = {
        {"C-27", "C-27", "DistUnits"},
        {"C-28", "C-28", "MeasUnits"},
        {"C-29", "C-29", "MeasUnits"},
        {"C-31", "C-31", "MeasUnits"},
        // An upload of a file of one of these models while another is current.
        {"C-28", "C-27", "DistUnits"},
        {"C-27", "C-29", "MeasUnits"},
    };
    for (const auto& c : cases) {
        World world(c.current);
        world.AssembleWhileCurrent(c.model, c.current);
        for (const auto name : {"CDelayUnits", "DDelayUnits", "InterimUnits", "CDelayUnits2"}) {
            const auto& row = world.Conditional(name);
            EXPECT_EQ(row.source, c.source) << c.model << " " << c.current << " " << name;
            EXPECT_EQ(row.count, 2);
        }
        // Both sources are mnemonic rows of these models.
        EXPECT_TRUE(world.HasMnemonic(c.source)) << c.model;
    }
}

TEST(CodedTables, WithoutADistanceUnitTheUnitRowsUseValueSetZero) {
    for (const std::string_view entry : {"C-22", "C-24", "C-16"}) {
        const World world(entry);
        EXPECT_FALSE(world.HasMnemonic("DistUnits")) << entry;
        for (const auto& row : world.tables.CondMnemonicList.Rows()) {
            if (row.source != "DistUnits")
                continue;
            // The stored choice of a missing source reads as "00": the feet set.
            EXPECT_EQ(row.valueSets[0].values[1], "FEET    ") << entry << " " << row.name;
        }
    }
    EXPECT_EQ(World("C-16").tables.CondMnemonicList[0].name, "InterimUnits");
}

TEST(CodedTables, EachSensorCardGroupEndsWithItsRangeRowOnce) {
    struct Card {
        std::string_view range, code, before;
    };
    const Card cards[] = {{"Card0Range", "DH", "Card0Accept2"},
                          {"Card1Range", "DN", "Card1Accept2"},
                          {"Card2Range", "DT", "Card2Accept2"},
                          {"Card3Range", "DZ", "Card3Accept2"}};
    for (int n = 16; n <= 26; ++n) {
        const std::string entry = "C-" + std::to_string(n);
        const World world(entry);
        const auto rows = world.tables.NumericList.Rows();
        for (const auto& card : cards) {
            EXPECT_EQ(std::ranges::count(rows, card.range, &TNumeric::name), 1)
                << entry << " " << card.range;
            const auto at = std::ranges::find(rows, card.range, &TNumeric::name);
            ASSERT_NE(at, rows.end()) << entry;
            EXPECT_EQ(at->code, card.code) << entry;
            EXPECT_EQ((at - 1)->name, card.before) << entry;
            EXPECT_NE((at + 1)->name.substr(0, 5), card.range.substr(0, 5)) << entry;
        }
    }
}

TEST(CodedTables, C07TransfersSpcReportsAsMnemonicAndAsHeader) {
    const World world("C-07");
    const auto& mnemonic = world.Mnemonic("SpcReports");
    EXPECT_EQ(mnemonic.code, "22");
    EXPECT_EQ(mnemonic.values.count, 8);
    const auto& header = World::Find(world.tables.HeaderList, "SpcReports");
    EXPECT_EQ(header.code1, "03");
    EXPECT_EQ(header.code2, "04");
    // This processor shows the x-bar of "x & R" as its own character.
    EXPECT_EQ(mnemonic.values.values[2], "\x01 & R         ");
    EXPECT_EQ(World("C-08").tables.HeaderList[0].name, "SpcReports");
}

TEST(CodedTables, C30IsMadeOfC17RowsUnderTheirC31Codes) {
    const World c30("C-30"), c17("C-17"), c31("C-31");
    const auto subset = [](std::vector<std::string> part, std::vector<std::string> whole) {
        std::ranges::sort(part);
        std::ranges::sort(whole);
        return std::ranges::includes(whole, part);
    };
    EXPECT_TRUE(subset(Keys(c30.tables.MnemonicList, Code), Keys(c17.tables.MnemonicList, Code)));
    EXPECT_TRUE(
        subset(Keys(c30.tables.CondMnemonicList, Code), Keys(c17.tables.CondMnemonicList, Code)));
    EXPECT_TRUE(subset(Keys(c30.tables.NumericList, Code), Keys(c17.tables.NumericList, Code)));
    EXPECT_TRUE(
        subset(Keys(c30.tables.HeaderList, HeaderCodes), Keys(c17.tables.HeaderList, HeaderCodes)));

    // On a C-31 every code means the same parameter, except W2Select's 71 (NumLayers there).
    std::map<std::string, std::string> c31Names;
    for (const auto& row : c31.tables.MnemonicList.Rows())
        c31Names[row.code] = row.name;
    for (const auto& row : c31.tables.CondMnemonicList.Rows())
        c31Names[row.code] = row.name;
    std::vector<std::string> clashes;
    const auto check = [&](const auto& rows) {
        for (const auto& row : rows) {
            const auto other = c31Names.find(row.code);
            if (other != c31Names.end() && other->second != row.name)
                clashes.push_back(row.name + " " + other->second);
        }
    };
    check(c30.tables.MnemonicList.Rows());
    check(c30.tables.CondMnemonicList.Rows());
    EXPECT_EQ(clashes, std::vector<std::string>{"W2Select NumLayers"});
    EXPECT_EQ(c30.Mnemonic("W2Select").values, c31.Mnemonic("NumLayers").values);
    EXPECT_FALSE(c30.HasMnemonic("RTimeUnits"));
}

TEST(CodedTables, QuotedChoiceTexts) {
    struct Texts {
        std::string_view entry, row;
        std::vector<std::string> values;
    };
    const Texts cases[] = {
        {"C-26",
         "T3Data",
         {"NONE    ", "WALL1   ", "WALL1(1)", "WALL1(2)", "WALL1(3)", "WALL1(4)", "WALL2   ",
          "WALL2(1)", "WALL2(2)", "WALL2(3)", "WALL2(4)", "OD      ", "ID      "}},
        {"C-25", "TermToPrint", {"ROLL", "BOX "}},
        {"C-28", "ConcMode", {"DIFFERENCE", "PERCENTAGE"}},
        // The sixth choice has no text of its own.
        {"C-30", "QvSelect", {"DUAL", "OFF ", "N/A ", "N/A ", "N/A ", ""}},
    };
    for (const auto& c : cases) {
        const World world(c.entry);
        const auto& values = world.Mnemonic(c.row).values;
        EXPECT_EQ(values.count, static_cast<std::int32_t>(c.values.size())) << c.entry;
        EXPECT_EQ(values.values, c.values) << c.entry << " " << c.row;
    }
    EXPECT_EQ(World("C-26").Mnemonic("T1Data").values, World("C-23").Mnemonic("T4Data").values);

    struct Text {
        std::string_view entry, row;
        std::string text;
    };
    const Text texts[] = {
        {"C-20", "ControlDim", "KEINE    "},  {"C-29", "ControlDim", "AUCUN     "},
        {"C-29", "ControlDim", "PAROI     "}, {"C-21", "ControlDim", "NENHUM    "},
        {"C-21", "ControlDim", "PAREDE    "}, {"C-21", "DistUnits", "P\x90S     "},
        {"C-21", "ControlOut", "REL\x90  "},
    };
    for (const auto& t : texts) {
        const World world(t.entry);
        const auto& values = world.Mnemonic(t.row).values.values;
        EXPECT_NE(std::ranges::find(values, t.text), values.end()) << t.entry << " " << t.text;
    }
    EXPECT_EQ(World("C-20").Conditional("CDelayUnits").valueSets[1].values,
              (std::vector<std::string>{"SEKUND ", "METER   "}));
    EXPECT_EQ(World("C-29").Conditional("DDelayUnits").valueSets[0].values[0], "SECOND.");
    EXPECT_EQ(World("C-21").Conditional("CDelayUnits").valueSets[0].values[1], "P\x90S     ");
}

TEST(CodedTables, AdditionVocabulariesFollowTheCurrentModel) {
    struct Case {
        std::string_view model, current;
        std::int32_t fixtures, trendData;
    };
    const Case cases[] = {
        {"C-19", "C-19", 6, 8},  {"C-26", "C-26", 6, 13}, {"C-23", "C-23", 7, 13},
        {"C-25", "C-25", 7, 13}, {"C-23", "C-19", 6, 8},  {"C-19", "C-25", 7, 13},
    };
    for (const auto& c : cases) {
        World world(c.current);
        world.AssembleWhileCurrent(c.model, c.current);
        EXPECT_EQ(world.Mnemonic("FixtName").values.count, c.fixtures) << c.model << c.current;
        for (const auto name : {"T1Data", "T2Data", "T3Data", "T4Data"})
            EXPECT_EQ(world.Mnemonic(name).values.count, c.trendData) << c.model << c.current;
    }
    // C-28's rows take C-27's trend vocabulary, C-29's the French one.
    EXPECT_EQ(World("C-28").Mnemonic("T1Data").values, World("C-27").Mnemonic("T2Data").values);
    EXPECT_EQ(World("C-29").Mnemonic("T1Data").values, World("C-29").Mnemonic("T4Data").values);
    EXPECT_NE(World("C-29").Mnemonic("T1Data").values, World("C-28").Mnemonic("T1Data").values);
}

} // namespace
