#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "tables/Assembly.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

using namespace setfolio;

namespace {

// The model is only ever set with Use, so the settings file is never touched.
struct World {
    Settings settings{"unused"};
    CurrentModel current{settings};
    ParameterTables tables;

    // What a transfer of the current model does first.
    void Assemble(std::int32_t modelType) {
        current.Use(modelType);
        AssembleParameterTables(tables, current, modelType);
    }
};

std::int32_t TypeOf(std::string_view entry) {
    for (const auto& e : Catalogue()) {
        if (e.entry == entry)
            return e.modelType;
    }
    throw std::invalid_argument(std::string(entry));
}

struct Counts {
    std::int32_t mnemonic, conditional, numeric, header;
    friend bool operator==(const Counts&, const Counts&) = default;
};

Counts CountsOf(const ParameterTables& tables) {
    return {tables.MnemonicCount(), tables.CondMnemonicCount(), tables.NumericCount(),
            tables.HeaderCount()};
}

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.mnemonic << "/" << c.conditional << "/" << c.numeric << "/" << c.header;
}

const std::map<std::string_view, Counts> ModelsWithData = {
    {"C-01", {58, 4, 42, 1}},    {"C-02", {53, 8, 70, 1}},    {"C-03", {34, 7, 60, 1}},
    {"C-04", {61, 5, 82, 1}},    {"C-05", {70, 5, 53, 1}},    {"C-06", {62, 5, 81, 1}},
    {"C-07", {23, 0, 27, 3}},    {"C-08", {25, 0, 60, 3}},    {"C-09", {189, 92, 120, 1}},
    {"C-10", {185, 91, 134, 1}}, {"C-11", {186, 91, 140, 1}}, {"C-12", {191, 92, 117, 1}},
    {"C-13", {195, 92, 117, 8}}, {"C-14", {196, 92, 117, 8}}, {"C-15", {197, 92, 117, 8}},
    {"C-16", {136, 45, 189, 1}}, {"C-17", {154, 44, 206, 1}}, {"C-18", {138, 44, 173, 1}},
    {"C-19", {149, 48, 177, 1}}, {"C-20", {149, 48, 177, 1}}, {"C-21", {149, 48, 177, 1}},
    {"C-22", {136, 48, 176, 1}}, {"C-23", {149, 48, 179, 3}}, {"C-24", {136, 48, 177, 1}},
    {"C-25", {150, 48, 180, 3}}, {"C-26", {149, 48, 177, 1}}, {"C-27", {133, 48, 127, 1}},
    {"C-28", {135, 48, 128, 1}}, {"C-29", {135, 48, 127, 1}}, {"C-30", {133, 44, 148, 1}},
    {"C-31", {153, 48, 163, 1}},
};

const TMnemonic& Mnemonic(const ParameterTables& tables, std::string_view name) {
    for (const auto& row : tables.MnemonicList.Rows()) {
        if (row.name == name)
            return row;
    }
    throw std::invalid_argument(std::string(name));
}

const TCondMnemonic& Conditional(const ParameterTables& tables, std::string_view name) {
    for (const auto& row : tables.CondMnemonicList.Rows()) {
        if (row.name == name)
            return row;
    }
    throw std::invalid_argument(std::string(name));
}

TEST(ParameterTables, CountsOfEachModelFromAFreshStartAndAfterAnyOtherModel) {
    World chain; // assembles every model in turn, so each follows another one
    for (const auto& [entry, counts] : ModelsWithData) {
        World fresh;
        fresh.Assemble(TypeOf(entry));
        EXPECT_EQ(CountsOf(fresh.tables), counts) << entry;
        EXPECT_EQ(fresh.tables.MnemonicFill(), counts.mnemonic) << entry;
        EXPECT_EQ(fresh.tables.CondMnemonicFill(), counts.conditional) << entry;
        EXPECT_EQ(fresh.tables.NumericFill(), counts.numeric) << entry;
        EXPECT_EQ(fresh.tables.HeaderFill(), counts.header) << entry;

        chain.Assemble(TypeOf(entry));
        EXPECT_TRUE(
            std::ranges::equal(chain.tables.MnemonicList.Rows(), fresh.tables.MnemonicList.Rows()))
            << entry;
        EXPECT_TRUE(std::ranges::equal(chain.tables.CondMnemonicList.Rows(),
                                       fresh.tables.CondMnemonicList.Rows()))
            << entry;
        EXPECT_TRUE(
            std::ranges::equal(chain.tables.NumericList.Rows(), fresh.tables.NumericList.Rows()))
            << entry;
        EXPECT_TRUE(
            std::ranges::equal(chain.tables.HeaderList.Rows(), fresh.tables.HeaderList.Rows()))
            << entry;
    }
}

TEST(ParameterTables, ReassemblingGivesTheSameListsNothingAccumulates) {
    World world;
    world.Assemble(TypeOf("C-12"));
    const ParameterTables first = world.tables;
    world.Assemble(TypeOf("C-13"));
    EXPECT_EQ(CountsOf(world.tables), (Counts{195, 92, 117, 8}));
    world.Assemble(TypeOf("C-12"));
    EXPECT_EQ(CountsOf(world.tables), CountsOf(first));
    EXPECT_TRUE(std::ranges::equal(world.tables.MnemonicList.Rows(), first.MnemonicList.Rows()));
    EXPECT_TRUE(std::ranges::equal(world.tables.HeaderList.Rows(), first.HeaderList.Rows()));
}

TEST(ParameterTables, ListsTheCompositionNamesNothingForOrHasNoDataForStayEmpty) {
    World world;
    world.Assemble(TypeOf("C-12"));
    world.Assemble(TypeOf("C-07"));
    EXPECT_EQ(world.tables.CondMnemonicCount(), 0);
    EXPECT_EQ(world.tables.CondMnemonicFill(), 0);

    // Every coded model whose builder sets are not carried yet assembles empty lists.
    for (const auto& entry : Catalogue()) {
        if (entry.family != ModelFamily::CodedFamily || ModelsWithData.contains(entry.entry))
            continue;
        world.Assemble(TypeOf("C-12"));
        world.Assemble(entry.modelType);
        EXPECT_EQ(CountsOf(world.tables), (Counts{0, 0, 0, 0})) << entry.entry;
    }
}

TEST(ParameterTables, TheCurrentFamilyDecidesWhichListsAreRebuilt) {
    World world;
    world.Assemble(TypeOf("C-12"));
    const Counts c12 = CountsOf(world.tables);

    // Menu, bench and undefined models leave the coded lists as they were.
    for (const std::int32_t other : {TypeOf("M-02"), TypeOf("M-10"), TypeOf("B-01"), 47, -1}) {
        world.Assemble(other);
        EXPECT_EQ(CountsOf(world.tables), c12) << other;
    }
    // The menu lists hold M-10's rows: B-01 and the undefined types left them as they were.
    EXPECT_EQ(world.tables.LibraryParmCount(), 37);
    EXPECT_EQ(world.tables.GlobalParmCount(), 27);

    // A coded current model with a menu model's type (an upload of a menu file): the coded
    // branch runs and finds nothing to build.
    world.current.Use(TypeOf("C-12"));
    AssembleParameterTables(world.tables, world.current, TypeOf("M-02"));
    EXPECT_EQ(CountsOf(world.tables), (Counts{0, 0, 0, 0}));

    // A menu current model with a coded model's type changes no coded list.
    world.Assemble(TypeOf("C-12"));
    world.current.Use(TypeOf("M-02"));
    AssembleParameterTables(world.tables, world.current, TypeOf("C-13"));
    EXPECT_EQ(CountsOf(world.tables), c12);
}

struct Row {
    std::string_view name;
    std::string_view code;
};

struct Ends {
    std::string_view entry;
    Row mnemonic[2], conditional[2], numeric[2], header[2];
};

TEST(ParameterTables, FirstAndLastRowOfEachList) {
    const Ends cases[] = {
        {"C-09",
         {{"MeasUnits", "00"}, {"T4Color", "I8"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"T4Limit", "D3"}},
         {{"LibraryHdr", "03"}, {"LibraryHdr", "03"}}},
        {"C-10",
         {{"MeasUnits", "00"}, {"Sp1PrinterPort", "HD"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"Sp1XmitDelay", "C0"}},
         {{"LibraryHdr", "03"}, {"LibraryHdr", "03"}}},
        {"C-11",
         {{"MeasUnits", "00"}, {"FiberValue", "0K"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"YPosOffset3", "2E"}},
         {{"LibraryHdr", "03"}, {"LibraryHdr", "03"}}},
        {"C-12",
         {{"MeasUnits", "00"}, {"T4Color", "I8"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"T4Limit", "D3"}},
         {{"LibraryHdr", "03"}, {"LibraryHdr", "03"}}},
        {"C-13",
         {{"MeasUnits", "00"}, {"PrintLength", "J3"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"T4Limit", "D3"}},
         {{"LibraryHdr", "03"}, {"MachNum", "16"}}},
        {"C-14",
         {{"MeasUnits", "00"}, {"ShrinkAxis", "2D"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"T4Limit", "D3"}},
         {{"LibraryHdr", "03"}, {"MachNum", "16"}}},
        {"C-15",
         {{"MeasUnits", "00"}, {"PrintFaults", "J4"}},
         {{"MagData1", "13"}, {"Sp1P1ItemData5", "H9"}},
         {{"FlawDuration1", "00"}, {"T4Limit", "D3"}},
         {{"LibraryHdr", "03"}, {"MachNum", "16"}}},
    };
    for (const auto& c : cases) {
        World world;
        world.Assemble(TypeOf(c.entry));
        const auto& t = world.tables;
        const auto check = [&c](const auto& rows, const Row(&ends)[2], auto code) {
            ASSERT_FALSE(rows.empty()) << c.entry;
            EXPECT_EQ(rows.front().name, ends[0].name) << c.entry;
            EXPECT_EQ(code(rows.front()), ends[0].code) << c.entry;
            EXPECT_EQ(rows.back().name, ends[1].name) << c.entry;
            EXPECT_EQ(code(rows.back()), ends[1].code) << c.entry;
        };
        const auto code = [](const auto& row) { return row.code; };
        check(t.MnemonicList.Rows(), c.mnemonic, code);
        check(t.CondMnemonicList.Rows(), c.conditional, code);
        check(t.NumericList.Rows(), c.numeric, code);
        check(t.HeaderList.Rows(), c.header, [](const THeader& row) { return row.code1; });
    }
    World c13;
    c13.Assemble(TypeOf("C-13"));
    EXPECT_EQ(c13.tables.HeaderList[7].code2, "26");
}

TEST(ParameterTables, ChoiceTextsKeepTheirBlanks) {
    struct Choice {
        std::string_view entry, row;
        std::size_t count, index;
        std::string_view text;
    };
    const Choice cases[] = {
        {"C-12", "Resolution", 7, 6, " XXXXXX"},    {"C-12", "ControlAxis", 4, 0, "X-AXIS   "},
        {"C-13", "ControlAxis", 4, 0, "X-AXIS   "}, {"C-14", "ControlAxis", 4, 0, "X-AXIS  "},
        {"C-15", "ShrinkAxis", 4, 2, "XY AVG  "},   {"C-10", "ControlAxis", 4, 2, "XY AVG   "},
        {"C-11", "ControlAxis", 4, 2, "FVAL     "}, {"C-10", "ASpcSource", 13, 4, "GAGE1 X- Y  "},
        {"C-11", "TolRpt", 13, 11, "GAGE3 FVAL  "}, {"C-11", "FiberValue", 2, 1, "AVG"},
        {"C-10", "MeasUnits", 4, 3, "MICRONS"},     {"C-10", "hsFlawDuration", 8, 7, "7 138.900"},
        {"C-09", "GageType1", 5, 0, "PRESET   "},   {"C-09", "GageType2", 5, 0, "OFF      "},
        {"C-09", "T4Data", 10, 8, "FINL X-Y"},      {"C-12", "Di1Src16", 1, 0, "  STATUS"},
        {"C-15", "PrintFaults", 2, 1, "YES"},
    };
    for (const auto& c : cases) {
        World world;
        world.Assemble(TypeOf(c.entry));
        const auto& values = Mnemonic(world.tables, c.row).values;
        ASSERT_EQ(values.count, static_cast<std::int32_t>(c.count)) << c.entry << " " << c.row;
        EXPECT_EQ(values.values[c.index], c.text) << c.entry << " " << c.row;
    }
}

TEST(ParameterTables, ValueSetsOfConditionalRows) {
    struct Set {
        std::string_view entry, row;
        std::size_t sets, set;
        std::vector<std::string> texts;
    };
    const std::string elevenBlanks(11, ' ');
    const std::vector<std::string> sevenActions = {"RUN/STOP    ", "CTL ON/OFF  ", "SPC ON/OFF  ",
                                                   "CLR SPC DATA", "PRINT RPTS  ", "PRINT & CLR ",
                                                   "CLEAR LENGTH"};
    auto eightActions = sevenActions;
    eightActions.push_back("FAULT COUNT ");
    const Set cases[] = {
        {"C-12", "MagData1", 5, 4, {elevenBlanks}},
        {"C-12",
         "Ac1Data1",
         4,
         3,
         {"MOP PHASE 2 ", "MOP PHASE 3 ", "MOP PHASE 4 ", "RELAY INCR  ", "RELAY DECR  ",
          "MOP PHASE 1 "}},
        {"C-12",
         "Ac1Data2",
         4,
         3,
         {"MOP PHASE 2 ", "MOP PHASE 3 ", "MOP PHASE 4 ", "RELAY INCR  ", "RELAY DECR  "}},
        {"C-12", "InterimUnits", 2, 1, {"SECONDS ", "METERS  ", "SUBGRPS "}},
        {"C-12", "Di1Data1", 1, 0, sevenActions},
        {"C-13", "Di2Data16", 1, 0, sevenActions},
        {"C-14", "Di1Data1", 1, 0, sevenActions},
        {"C-15", "Di1Data1", 1, 0, eightActions},
        {"C-15", "Di2Data16", 1, 0, eightActions},
        {"C-09", "ControlAxis", 4, 0, {std::string(9, ' ')}},
        {"C-09", "ControlAxis", 4, 3, {"AVG      "}},
        {"C-09",
         "Ac1Data1",
         5,
         4,
         {"MOP PHASE 2 ", "MOP PHASE 3 ", "MOP PHASE 4 ", "RELAY INCR  ", "RELAY DECR  ",
          "MOP PHASE 1 "}},
        {"C-09",
         "ASpcReports",
         10,
         9,
         {"NONE          ", "HISTOGRAM     ", "x & R         ", "HIST, x & R   ", "SUMMARY       ",
          "SUMMARY, HIST ", "SUMMARY, x & R", "ALL REPORTS   "}},
        {"C-10",
         "Ac2Data16",
         5,
         3,
         {"CRITICAL ERR", "RUN / STOP  ", "SPC ON/OFF  ", "CTL ON/OFF  ", "HS LEV1 FLAW",
          "HS LEV2 FLAW"}},
        {"C-10", "Sp1P1ItemData2", 5, 4, {elevenBlanks}},
        {"C-10",
         "Ad3Data3",
         4,
         2,
         {"X POSITION ", "Y POSITION ", "X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION",
          "XY DIAMETER", "XY DEV     ", "X - Y      ", "X-Y DEV    "}},
        {"C-11",
         "Ad3Data3",
         4,
         2,
         {"X POSITION ", "Y POSITION ", "X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION",
          "FVAL       ", "FVAL DEV   ", "X - Y      ", "X-Y DEV    "}},
        {"C-11",
         "MagData3",
         6,
         0,
         {"X POSITION ", "Y POSITION ", "X DIAMETER ", "X DEVIATION", "Y DIAMETER ", "Y DEVIATION",
          "FVAL       ", "FVAL DEV   ", "X - Y      ", "X-Y DEV    ", "FLAW COUNT "}},
        {"C-11",
         "Ac1Data1",
         5,
         1,
         {"X DIAM OOS  ", "Y DIAM OOS  ", "FVAL OOS    ", "X - Y OOS   ", "POSITION OOS",
          "X DIAM OOW  ", "Y DIAM OOW  ", "FVAL OOW    ", "X - Y OOW   ", "POSITION OOW",
          "FLAW DETECT "}},
    };
    for (const auto& c : cases) {
        World world;
        world.Assemble(TypeOf(c.entry));
        const auto& row = Conditional(world.tables, c.row);
        ASSERT_EQ(row.count, static_cast<std::int32_t>(c.sets)) << c.entry << " " << c.row;
        EXPECT_EQ(row.valueSets[c.set].values, c.texts) << c.entry << " " << c.row;
    }
}

TEST(ParameterTables, VocabularyVariantsFollowTheCurrentModel) {
    // An upload of a C-11 file while a C-12 is current runs base set C-10 without the C-11
    // vocabularies: the rows are C-11's, the texts C-10's.
    World world;
    world.current.Use(TypeOf("C-12"));
    AssembleParameterTables(world.tables, world.current, TypeOf("C-11"));
    EXPECT_EQ(CountsOf(world.tables), (Counts{186, 91, 140, 1}));
    EXPECT_EQ(Mnemonic(world.tables, "ControlAxis").values.values[2], "XY AVG   ");
    EXPECT_EQ(Mnemonic(world.tables, "FiberValue").values.count, 0);
}

// Conditional rows whose source row the model lacks: a download finds no stored choice for the
// source and takes value set 0.
bool SourceMayBeMissing(std::string_view entry, std::string_view row) {
    static const std::set<std::pair<std::string_view, std::string_view>> rows = {
        {"C-16", "InterimUnits"}, {"C-22", "CDelayUnits"},  {"C-22", "DDelayUnits"},
        {"C-22", "InterimUnits"}, {"C-22", "CDelayUnits2"}, {"C-24", "CDelayUnits"},
        {"C-24", "DDelayUnits"},  {"C-24", "InterimUnits"}, {"C-24", "CDelayUnits2"},
    };
    return rows.contains({entry, row});
}

// The rules every assembled model keeps, which the transfer engines rely on.
void CheckInvariants(const ParameterTables& t, std::string_view entry) {
    SCOPED_TRACE(std::string(entry));
    const auto validCode = [](const std::string& code) {
        return code.size() == 2 && std::ranges::all_of(code, [](char c) {
                   return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
               });
    };
    // A download stores the first equal text and stores "DISABLED" as choice 0, so a text that
    // occurs twice, or "DISABLED" after the first place, could not be read back as itself. C-30's
    // QvSelect is the one vocabulary that repeats a text ("N/A ").
    const auto validValues = [entry](const TvvValues& v, std::string_view row) {
        const std::set<std::string> distinct(v.values.begin(), v.values.end());
        const auto disabled = std::ranges::find(v.values, "DISABLED");
        return v.count > 0 && v.count == static_cast<std::int32_t>(v.values.size()) &&
               (distinct.size() == v.values.size() || (entry == "C-30" && row == "QvSelect")) &&
               (disabled == v.values.end() || disabled == v.values.begin());
    };
    std::set<std::string> names, allNames, codes, mnemonicCodes;
    std::map<std::string, std::int32_t> choices;
    for (const auto& row : t.MnemonicList.Rows()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(mnemonicCodes.insert(row.code).second) << row.code;
        EXPECT_TRUE(validCode(row.code)) << row.name;
        EXPECT_TRUE(validValues(row.values, row.name)) << row.name;
        choices[row.name] = row.values.count;
    }
    allNames.insert(names.begin(), names.end());
    names.clear();
    for (const auto& row : t.CondMnemonicList.Rows()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(codes.insert(row.code).second) << row.code;
        EXPECT_FALSE(mnemonicCodes.contains(row.code)) << row.code;
        EXPECT_TRUE(validCode(row.code)) << row.name;
        EXPECT_EQ(row.count, static_cast<std::int32_t>(row.valueSets.size())) << row.name;
        for (const auto& set : row.valueSets)
            EXPECT_TRUE(validValues(set, row.name)) << row.name;
        if (!choices.contains(row.source)) {
            if (!SourceMayBeMissing(entry, row.name))
                ADD_FAILURE() << row.name << " names no mnemonic row " << row.source;
            continue;
        }
        EXPECT_GE(row.count, choices[row.source]) << row.name;
    }
    for (const auto& name : names)
        EXPECT_TRUE(allNames.insert(name).second) << name;
    names.clear();
    codes.clear();
    for (const auto& row : t.NumericList.Rows()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(codes.insert(row.code).second) << row.code;
        EXPECT_TRUE(validCode(row.code)) << row.name;
        EXPECT_TRUE(allNames.insert(row.name).second) << row.name;
    }
    codes.clear();
    std::set<std::string> writeCodes;
    for (const auto& row : t.HeaderList.Rows()) {
        EXPECT_TRUE(codes.insert(row.code1).second) << row.code1;
        EXPECT_TRUE(writeCodes.insert(row.code2).second) << row.code2;
        EXPECT_TRUE(validCode(row.code1) && validCode(row.code2)) << row.name;
        // C-07 keeps its SPC report choice as a mnemonic and as a header, in different sections.
        const bool twice = entry == "C-07" && row.name == "SpcReports";
        EXPECT_NE(allNames.insert(row.name).second, twice) << row.name;
    }
}

TEST(ParameterTables, EveryModelWithDataKeepsTheTableRules) {
    for (const auto& entry : Catalogue()) {
        World world;
        world.Assemble(entry.modelType);
        CheckInvariants(world.tables, entry.entry);
        EXPECT_EQ(ModelsWithData.contains(entry.entry), world.tables.MnemonicCount() > 0)
            << entry.entry;
    }
}

// Builder sets made up for the mechanics: C-12's composition for model type 0 and C-13's for 1.
constexpr std::string_view Long[] = {"A", "B", "C"};
constexpr std::string_view Short[] = {"X"};
constexpr VocabularyDef BaseVocabulary[] = {{"V", Long}};
constexpr VocabularyDef AdditionVocabulary[] = {{"V", Short}};
constexpr MnemonicDef BaseRows[] = {{"First", "00", "V"}};
constexpr MnemonicDef AdditionRows[] = {{"Second", "01", "V"}};
constexpr std::string_view BothSets[] = {"V", "V"};
constexpr CondMnemonicDef CondRows[] = {{"Third", "02", "First", BothSets}};
constexpr HeaderDef BaseHeaders[] = {{"H1", "03", "04"}};
constexpr HeaderDef AdditionHeaders[] = {{"H2", "10", "20"}, {"H3", "11", "21"}};

BuilderSetRegistry MadeUpSets() {
    return BuilderSetRegistry({
        {.set = {"C-12", false},
         .vocabulary = BaseVocabulary,
         .mnemonic = BaseRows,
         .conditional = CondRows,
         .header = BaseHeaders},
        {.set = {"C-13", true},
         .vocabulary = AdditionVocabulary,
         .mnemonic = AdditionRows,
         .header = AdditionHeaders},
    });
}

TEST(ParameterTables, StepsAppendRowsOwnTheirVocabularyAndRedefinitionReplacesIt) {
    const auto sets = MadeUpSets();
    World world;
    world.current.Use(1);
    AssembleParameterTables(world.tables, world.current, 1, sets);
    const auto& t = world.tables;
    ASSERT_EQ(CountsOf(t), (Counts{2, 1, 0, 3}));
    // The base row copied the vocabulary before the addition set redefined it...
    EXPECT_EQ(t.MnemonicList[0].values.values, (std::vector<std::string>{"A", "B", "C"}));
    // ...the addition's row has the new definition and nothing of the old one...
    EXPECT_EQ(t.MnemonicList[1].values, (TvvValues{1, {"X"}}));
    // ...and the conditional step, which runs after every mnemonic step, sees the new one too.
    EXPECT_EQ(t.CondMnemonicList[0].valueSets, (std::vector<TvvValues>{{1, {"X"}}, {1, {"X"}}}));
    EXPECT_EQ(t.HeaderList[0].name, "H1");
    EXPECT_EQ(t.HeaderList[2].name, "H3");
    EXPECT_EQ(t.HeaderFill(), 3);

    // The base set alone: its vocabulary step defines the long vocabulary again.
    world.current.Use(0);
    AssembleParameterTables(world.tables, world.current, 0, sets);
    EXPECT_EQ(CountsOf(t), (Counts{1, 1, 0, 1}));
    EXPECT_EQ(t.CondMnemonicList[0].valueSets[1].count, 3);

    EXPECT_THROW(BuilderSetRegistry({{.set = {"C-12", false}}, {.set = {"C-12", false}}}),
                 std::logic_error);
}

TEST(ParameterTables, AListRefusesARowItMadeNoRoomFor) {
    ParmTable<TNumeric> list;
    EXPECT_THROW(list.Store({"A", "00"}), std::out_of_range);
    list.Grow(1);
    list.Store({"A", "00"});
    EXPECT_THROW(list.Store({"B", "01"}), std::out_of_range);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Fill(), 1);
}

} // namespace
