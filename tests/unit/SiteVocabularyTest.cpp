#include "tables/SiteVocabulary.h"
#include "library/LibraryDecoder.h"

#include <gtest/gtest.h>

using namespace setfolio;

namespace {

constexpr std::int32_t C01 = 26;

TEST(SiteVocabulary, FilesThatCannotBeReadSayWhereAndWhy) {
    const std::pair<std::string, std::string> cases[] = {
        {"{\"C-01\": {\"RTimeUnits\": [\"A\",]}}", "line 1, column 30"},
        {"{\n  \"C-01\": {\n    \"RTimeUnits\": [\"A\" \"B\"]\n  }\n}", "line 3, column 26"},
        {"[1, 2]", "no object of models"},
        {"[1e999999]", "overflow"}, // a number too large for any type
        {"{\"C-99\": {}}", "C-99: not a model of the catalogue"},
        {"{\"C-01\": {\"RTimeUnits\": \"SECONDS \"}}", "C-01/RTimeUnits: a list of texts"},
        {"{\"C-01\": {\"RTimeUnits\": [\"\\u20ac\", \"B\"]}}", "U+0000 to U+00FF only"},
        {"{\"C-01\": {\"CDelayUnits\": [[\"A\"], \"B\"]}}", "every set must be a list of texts"},
    };
    for (const auto& [json, why] : cases) {
        try {
            ParseSiteVocabulary(json);
            ADD_FAILURE() << "read: " << json;
        } catch (const VocabularyError& error) {
            EXPECT_NE(std::string(error.what()).find(why), std::string::npos)
                << error.what() << " | wanted: " << why;
        }
    }
}

TEST(SiteVocabulary, TextsAreBytesBothWays) {
    const auto vocabulary =
        ParseSiteVocabulary("{\"C-01\": {\"RTimeUnits\": [\"SEK\\u00dcNDEN\", \"\\u0001 \"]}}");
    const auto& texts = vocabulary.models.at("C-01").at("RTimeUnits").texts;
    EXPECT_EQ(texts, (std::vector<std::string>{"SEK\xdcNDEN", "\x01 "}));
    const auto again = ParseSiteVocabulary(SiteVocabularyJson(vocabulary));
    EXPECT_EQ(again.models.at("C-01").at("RTimeUnits").texts, texts);
}

TEST(SiteVocabulary, EntriesThatDoNotFitTheirRowAreLeftOutAndNamed) {
    const auto vocabulary = ParseSiteVocabulary(R"({"C-01": {
        "RTimeUnits": ["Seconds ", "Scans   "],
        "BsSecurity": ["YES"],
        "CDelayUnits": [["SEC", "FT"]],
        "BatchUnits": [["SUBGRPS ", "FEET    "], ["SUBGRPS "]],
        "NoSuchRow": ["A"]
    }})");
    const ParameterTables builtIn = TablesOf(C01);
    const ParameterTables tables = TablesOf(C01, &vocabulary);
    EXPECT_EQ(tables.siteUse.rows, std::set<std::string>{"RTimeUnits"});
    const auto texts = [](const ParameterTables& t, const std::string& name) {
        for (const auto& row : t.MnemonicList.Rows()) {
            if (row.name == name)
                return row.values.values;
        }
        return std::vector<std::string>{};
    };
    EXPECT_EQ(texts(tables, "RTimeUnits")[1], "Scans   ");
    EXPECT_EQ(texts(tables, "BsSecurity"), texts(builtIn, "BsSecurity")) << "built-in texts stay";
    ASSERT_EQ(tables.siteUse.refusals.size(), 4u);
    std::map<std::string, VocabularyRefusal> refused;
    for (const auto& refusal : tables.siteUse.refusals)
        refused[refusal.row] = refusal;
    EXPECT_EQ(refused["BsSecurity"].given, 1u);
    EXPECT_EQ(refused["BsSecurity"].expected, 2u);
    EXPECT_TRUE(refused["CDelayUnits"].sets);
    EXPECT_EQ(refused["CDelayUnits"].expected, 2u);
    EXPECT_EQ(refused["BatchUnits"].set, 1);
    EXPECT_FALSE(refused["NoSuchRow"].known);
}

} // namespace
