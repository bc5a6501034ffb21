#include "core/ModelCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace setfolio;

namespace {

std::string Texts(const std::vector<BuilderSet>& sets) {
    std::string text;
    for (const auto& set : sets)
        text += (text.empty() ? "" : " ") + set.Text();
    return text;
}

TEST(ModelCatalogue, HoldsEachModelTypeOnceAndEntriesInOrder) {
    const auto entries = Catalogue();
    ASSERT_EQ(entries.size(), 47u);
    std::set<std::int32_t> types;
    for (const auto& entry : entries)
        types.insert(entry.modelType);
    EXPECT_EQ(types.size(), 47u);
    EXPECT_EQ(*types.begin(), 0);
    EXPECT_EQ(*types.rbegin(), 46);

    // Order: 31 coded, 2 bench, 14 menu entries.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto expected = i < 31   ? ModelFamily::CodedFamily
                              : i < 33 ? ModelFamily::BenchFamily
                                       : ModelFamily::MenuFamily;
        EXPECT_EQ(entries[i].family, expected) << entries[i].entry;
    }
    EXPECT_EQ(entries[0].entry, "C-01");
    EXPECT_EQ(entries[0].modelType, 26);
    EXPECT_EQ(entries[46].entry, "M-14");
    EXPECT_EQ(entries[46].modelType, 40);
}

TEST(ModelCatalogue, FlagsAndLabels) {
    // SlowLibrarySwitch is set for C-16 to C-31 (order 15 to 30) only; PacedUpload for C-07, C-08.
    for (std::size_t i = 0; i < Catalogue().size(); ++i) {
        const auto& entry = Catalogue()[i];
        EXPECT_EQ(SlowLibrarySwitch(entry.modelType), i >= 15 && i <= 30) << entry.entry;
        EXPECT_EQ(PacedUpload(entry.modelType), entry.modelType == 17 || entry.modelType == 23)
            << entry.entry;
    }
    EXPECT_EQ(LabelOf(7), "C-20 (German)");
    EXPECT_EQ(LabelOf(46), "Upload C-17 to C-31");
    EXPECT_EQ(LabelOf(34), "M-10"); // unlisted, yet labelled
    EXPECT_EQ(FamilyOf(34), ModelFamily::MenuFamily);
    EXPECT_EQ(FamilyOf(5), ModelFamily::BenchFamily);
    for (const std::int32_t undefined : {47, -1, 1000}) {
        EXPECT_EQ(FamilyOf(undefined), ModelFamily::NoFamily);
        EXPECT_EQ(LabelOf(undefined), "");
        EXPECT_FALSE(SlowLibrarySwitch(undefined));
        EXPECT_FALSE(PacedUpload(undefined));
        EXPECT_EQ(ListLineOf(undefined), -1);
    }
}

TEST(ModelCatalogue, ModelListSkipsM10AndLinesMapBothWays) {
    const auto lines = ListLines();
    ASSERT_EQ(lines.size(), 46u);
    EXPECT_EQ(lines[41], "M-09");
    EXPECT_EQ(lines[42], "M-11");
    EXPECT_EQ(lines[45], "M-14");
    for (int line = 0; line < 46; ++line) {
        const auto type = ModelOfListLine(line);
        EXPECT_EQ(ListLineOf(type), line);
        EXPECT_EQ(LabelOf(type), lines[static_cast<std::size_t>(line)]);
    }
    EXPECT_EQ(ListLineOf(34), -1);
    EXPECT_EQ(ModelOfListLine(42), 42);
    EXPECT_EQ(ModelOfListLine(45), 40);
    EXPECT_EQ(ModelOfListLine(11), 0);
    EXPECT_EQ(ModelOfListLine(46), -1);
    EXPECT_EQ(ModelOfListLine(-1), -1);
}

TEST(ModelCatalogue, CompositionsNameTheBuilderSetsInOrder) {
    using enum ParmList;
    struct Case {
        std::int32_t type;
        ParmList list;
        const char* sets;
    };
    const Case cases[] = {
        {26, MnemonicList, "C-01"},
        {9, MnemonicList, "C-10 +C-11"},
        {9, CondMnemonicList, "C-10"},
        {2, HeaderList, "C-12 C-14"},
        {10, MnemonicList, "C-14 +C-15"},
        {17, CondMnemonicList, ""},
        {23, CondMnemonicList, ""},
        {30, NumericList, "C-19 +C-23 +C-25"},
        {13, NumericList, "C-22 +C-24"},
        {7, HeaderList, "C-19"},
        {37, GlobalParmList, "M-04 +M-05 +M-06"},
        {34, GlobalParmList, "M-02 +M-08 +M-09"},
        {42, GlobalParmList, "M-02 +M-09 +M-11"},
        {38, LibraryParmList, "M-12 +M-13"},
        {38, GlobalParmList, "M-12"},
        {0, LibraryParmList, ""},
        {6, MnemonicList, ""},
        {5, MnemonicList, ""},
        {22, GlobalParmList, ""},
        {47, MnemonicList, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Texts(CompositionOf(c.type, c.list)), c.sets)
            << "type " << c.type << " list " << static_cast<int>(c.list);
    }
}

TEST(ModelCatalogue, NamesAModelByItsEntryOrItsType) {
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"C-12", 0},          {"M-14", 40},         {"0", 0},
        {"46", 46},           {"47", std::nullopt}, {"c-12", std::nullopt},
        {"+1", std::nullopt}, {" 1", std::nullopt}, {"C-12 ", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ModelNamed(text), expected) << "'" << text << "'";
}

} // namespace
