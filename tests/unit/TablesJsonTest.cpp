#include "tables/TablesJson.h"
#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "tables/Assembly.h"

#include <gtest/gtest.h>

using namespace setfolio;

namespace {

TEST(TablesJson, EveryByteSurvivesAsItsOwnCodePoint) {
    const struct {
        std::string bytes;
        std::string json;
    } cases[] = {
        {"", R"("")"},
        {"  HOT", R"("  HOT")"},
        {"X - Y    ", R"("X - Y    ")"},
        {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
        {"A\tB\x01", R"("A\u0009B\u0001")"},
        {"\x80"
         "C\x90\xA0\xA1\xFF",
         R"("\u0080C\u0090\u00A0\u00A1\u00FF")"},
        {"\x7F~", R"("\u007F~")"},
        {std::string("a\0b", 3), R"("a\u0000b")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JsonString(c.bytes), c.json);
}

constexpr std::string_view OnOff[] = {"OFF", "ON "};
constexpr VocabularyDef Vocabulary[] = {{"OnOff", OnOff}};
constexpr MnemonicDef Mnemonics[] = {{"Glass", "03", "OnOff"}};
constexpr std::string_view Sets[] = {"OnOff", "OnOff"};
constexpr CondMnemonicDef Conditionals[] = {{"Data", "13", "Glass", Sets}};
constexpr NumericDef Numerics[] = {{"XNom1", "02"}, {"XSTol1", "03"}};
constexpr HeaderDef Headers[] = {{"LibraryHdr", "03", "04"}};
constexpr MenuParmDef Library[] = {{"1Nom1", "2.1.1.1"}};
constexpr MenuParmDef Global[] = {{"Units", "2.4.10"}, {"Invert", "2.2.7"}};

struct World {
    Settings settings{"unused"};
    CurrentModel current{settings};
    ParameterTables tables;
    BuilderSetRegistry sets{{
        {.set = {"C-12", false},
         .vocabulary = Vocabulary,
         .mnemonic = Mnemonics,
         .conditional = Conditionals,
         .numeric = Numerics,
         .header = Headers},
        {.set = {"M-02", false}, .library = Library, .global = Global},
    }};

    std::string Json(std::int32_t modelType) {
        current.Use(modelType);
        AssembleParameterTables(tables, current, modelType, sets);
        return TablesJson(tables, modelType);
    }
};

TEST(TablesJson, ListsOfTheModelsFamily) {
    World world;
    EXPECT_EQ(world.Json(0), R"({"entry":"C-12","modelType":0,"family":"coded",
"mnemonic":[
{"name":"Glass","code":"03","values":["OFF","ON "]}],
"conditional":[
{"name":"Data","code":"13","source":"Glass","valueSets":[["OFF","ON "],["OFF","ON "]]}],
"numeric":[
{"name":"XNom1","code":"02"},
{"name":"XSTol1","code":"03"}],
"header":[
{"name":"LibraryHdr","code1":"03","code2":"04"}]
}
)");
    EXPECT_EQ(world.Json(11), R"({"entry":"M-02","modelType":11,"family":"menu",
"library":[
{"name":"1Nom1","menuPath":"2.1.1.1"}],
"global":[
{"name":"Units","menuPath":"2.4.10"},
{"name":"Invert","menuPath":"2.2.7"}]
}
)");
    // The coded lists still hold C-12's rows, yet a bench model shows every list empty.
    EXPECT_EQ(world.Json(5), R"({"entry":"B-01","modelType":5,"family":"bench",
"mnemonic":[],
"conditional":[],
"numeric":[],
"header":[],
"library":[],
"global":[]
}
)");
}

TEST(TablesJson, RowsBeyondTheCountAreNotWritten) {
    World world;
    world.Json(0);
    // C-07 has no conditional list: its storage keeps C-12's row, its count is 0.
    const auto json = world.Json(17);
    EXPECT_NE(json.find(R"("conditional":[],)"), std::string::npos) << json;
    EXPECT_EQ(json.find("Data"), std::string::npos) << json;
}

} // namespace
