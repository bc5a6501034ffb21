#include "library/LibraryDecoder.h"
#include "SimWorld.h"
#include "core/ProfileFile.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::SimWorld;

namespace {

constexpr std::int32_t C12 = 0;
constexpr std::int32_t B01 = 5;
constexpr std::int32_t M12 = 16;

std::string Downloaded(SimWorld& world) {
    EXPECT_TRUE(world.Download(world.Path("L.lvf"), 5));
    return world.folder.Read("L.lvf");
}

TEST(LibraryDecoder, CodedChoicesReadAsTheirTextsAlsoWhereTheSourcePicksAnotherSet) {
    SimWorld world(C12);
    std::string content = Downloaded(world); // the tables are C-12's from here on
    const auto& tables = world.app.tables;
    // A conditional row whose second set of choices differs from its first, and its source on 1.
    const TCondMnemonic* conditional = nullptr;
    for (const auto& row : tables.CondMnemonicList.Rows()) {
        if (row.count >= 2 && row.valueSets[1].count >= 2 &&
            row.valueSets[0].values != row.valueSets[1].values) {
            conditional = &row;
            break;
        }
    }
    ASSERT_NE(conditional, nullptr);
    content = profile::SetValue(content, "MnemonicParms", conditional->source, "01");
    content = profile::SetValue(content, "CondMnemonicParms", conditional->name, "01");

    const DecodedLibrary library = DecodeLibrary(content);
    EXPECT_EQ(library.modelType, C12);
    EXPECT_EQ(library.problems, std::vector<std::string>{});
    for (const auto& row : tables.MnemonicList.Rows()) {
        const auto* parameter = library.Find("MnemonicParms", row.name);
        ASSERT_NE(parameter, nullptr) << row.name;
        const auto index = static_cast<std::size_t>(std::stoi(parameter->stored));
        EXPECT_EQ(parameter->text, row.values.values[index]) << row.name;
    }
    EXPECT_EQ(library.Find("CondMnemonicParms", conditional->name)->text,
              conditional->valueSets[1].values[1]);
    const auto& numeric = tables.NumericList[0];
    EXPECT_EQ(library.Find("NumericParms", numeric.name)->text,
              library.Find("NumericParms", numeric.name)->stored);
}

TEST(LibraryDecoder, MenuValuesAsStoredAndBenchSectionsCounted) {
    SimWorld menu(M12);
    const DecodedLibrary menuLibrary = DecodeLibrary(Downloaded(menu));
    EXPECT_EQ(menuLibrary.family, ModelFamily::MenuFamily);
    EXPECT_EQ(menuLibrary.problems, std::vector<std::string>{});
    const auto& row = menu.app.tables.LibraryParmList[0];
    EXPECT_EQ(menuLibrary.Find("LibraryParms", row.name)->text,
              ProfileFile(menu.Path("L.lvf")).ReadText("LibraryParms", row.name, "?"));

    SimWorld bench(B01);
    const std::string content = Downloaded(bench);
    const DecodedLibrary benchLibrary = DecodeLibrary(content);
    EXPECT_EQ(benchLibrary.problems, std::vector<std::string>{});
    const auto& user = bench.processor->libraries.at(5).user;
    std::size_t bytes = 0;
    for (const auto& line : user)
        bytes += line.size() + 2;
    EXPECT_EQ(benchLibrary.Find("User", "Lines")->text,
              std::to_string(user.size()) + " lines, " + std::to_string(bytes) + " bytes");
}

TEST(LibraryDecoder, WhatDoesNotFitIsShownAndNamed) {
    struct Case {
        std::string content;
        std::string problem; // a problem that must be among those named
    };
    const std::string c12 = "[SystemSettings]\r\nModelNo=0\r\n";
    const Case cases[] = {
        {c12 + "[MnemonicParms]\r\nMeasUnits=97\r\n",
         "MnemonicParms/MeasUnits: \"97\" is not one of its"},
        {c12 + "[MnemonicParms]\r\nNoSuchRow=01\r\n",
         "MnemonicParms/NoSuchRow: not a parameter of C-12."},
        {c12 + "[Elsewhere]\r\nA=1\r\n", "Elsewhere/A: its section is not one of C-12's."},
        {"[MnemonicParms]\r\nMeasUnits=01\r\n", "The file has no model number"},
        {"[SystemSettings]\r\nModelNo=99\r\n", "Model 99 is not a model this program knows."},
        {std::string("\x00\xff[\x01]=\n\r==\x7f[SystemSettings\n", 28), "no model number"},
        {c12, "MnemonicParms/MeasUnits: not in the file; an upload sends 00."},
    };
    for (const auto& c : cases) {
        const DecodedLibrary library = DecodeLibrary(c.content);
        bool named = false;
        for (const auto& problem : library.problems)
            named = named || problem.find(c.problem) != std::string::npos;
        EXPECT_TRUE(named) << c.problem;
    }
    // Kept and shown, not skipped.
    const DecodedLibrary library = DecodeLibrary(cases[0].content);
    ASSERT_NE(library.Find("MnemonicParms", "MeasUnits"), nullptr);
    EXPECT_EQ(library.Find("MnemonicParms", "MeasUnits")->stored, "97");
    EXPECT_EQ(library.Find("MnemonicParms", "MeasUnits")->text, std::nullopt);
}

TEST(LibraryDecoder, JsonKeepsEveryByte) {
    const DecodedLibrary library =
        DecodeLibrary("[SystemSettings]\r\nModelNo=16\r\n[LibraryParms]\r\nHeading=A\xe9 \x01\r\n");
    const std::string json = DecodedLibraryJson(library, "L.lvf");
    EXPECT_NE(json.find("\"model\":\"M-12\",\"modelType\":16,\"family\":\"menu\""),
              std::string::npos);
    EXPECT_NE(json.find("{\"name\":\"Heading\",\"stored\":\"A\\u00E9 \\u0001\",\"text\":\"A\\u00E9 "
                        "\\u0001\"}"),
              std::string::npos)
        << json;
}

} // namespace
