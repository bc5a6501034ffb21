#include "library/LibraryDecoder.h"
#include "FakeDialogs.h"
#include "FakePrompts.h"
#include "SimWorld.h"
#include "TempFolder.h"
#include "core/ProfileFile.h"
#include "forms/LibraryViewForm.h"
#include "i18n/Localisation.h"
#include "library/LibraryComparison.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::SimWorld;
using setfolio::testing::TempFolder;

namespace {

constexpr std::int32_t C12 = 0;
constexpr std::int32_t B01 = 5;
constexpr std::int32_t M12 = 16;

// The problems as `setfolio-cli show` prints them.
std::vector<std::string> ProblemLines(const DecodedLibrary& library) {
    std::vector<std::string> lines;
    for (const auto& problem : library.problems)
        lines.push_back(DecodedText(problem));
    return lines;
}

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
    EXPECT_EQ(ProblemLines(library), std::vector<std::string>{});
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
    EXPECT_EQ(ProblemLines(menuLibrary), std::vector<std::string>{});
    const auto& row = menu.app.tables.LibraryParmList[0];
    EXPECT_EQ(menuLibrary.Find("LibraryParms", row.name)->text,
              ProfileFile(menu.Path("L.lvf")).ReadText("LibraryParms", row.name, "?"));

    SimWorld bench(B01);
    const std::string content = Downloaded(bench);
    const DecodedLibrary benchLibrary = DecodeLibrary(content);
    EXPECT_EQ(ProblemLines(benchLibrary), std::vector<std::string>{});
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
        for (const auto& problem : ProblemLines(library))
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

// A library viewer on its own, with files of a folder.
struct Viewer {
    TempFolder folder;
    Localisation localisation;
    fake::FakeDialogs dialogs;
    fake::FakePrompts prompts;
    LibraryViewForm form{localisation, dialogs, prompts};

    bool Open(const std::string& name, const std::string& content) {
        folder.Write(name, content);
        return form.OpenFile(folder.File(name));
    }
    bool Compare(const std::string& name, const std::string& content) {
        folder.Write(name, content);
        return form.CompareWith(folder.File(name));
    }
};

template <typename Pair> std::string Line(const Pair& pair) {
    return pair.section + "/" + pair.name + ": " + (pair.a ? pair.a->stored : "(none)") + " -> " +
           (pair.b ? pair.b->stored : "(none)");
}

TEST(LibraryComparison, TheViewerListsWhatTheDiffListsInItsOrder) {
    const std::string a = "[SystemSettings]\r\nModelNo=0\r\n"
                          "[MnemonicParms]\r\nMeasUnits=00\r\nRounding=01\r\nMagSrc1=00\r\n"
                          "[NumericParms]\r\nT1Limit=12.5\r\nT3Limit=1\r\n"
                          "[HeaderParms]\r\nTitle=X\r\n";
    // Another order of sections, names in other letter case, a key and a section only here.
    const std::string b = "[SystemSettings]\r\nModelNo=0\r\n"
                          "[numericparms]\r\nT2Limit=3\r\nt1limit=12.50\r\nT3LIMIT=1\r\n"
                          "[MnemonicParms]\r\nMeasUnits=01\r\nRounding=01\r\nNewKey=5\r\n"
                          "[Extra]\r\nZ=1\r\n";
    const std::vector<std::string> expected{
        "MnemonicParms/MeasUnits: 00 -> 01",
        "MnemonicParms/MagSrc1: 00 -> (none)",
        "MnemonicParms/NewKey: (none) -> 5",
        "NumericParms/T1Limit: 12.5 -> 12.50",
        "numericparms/T2Limit: (none) -> 3",
        "HeaderParms/Title: X -> (none)",
        "Extra/Z: (none) -> 1",
    };
    // What `setfolio-cli diff` lists.
    std::vector<std::string> diff;
    for (const auto& difference : CompareLibraries(DecodeLibrary(a), DecodeLibrary(b)))
        diff.push_back(Line(difference));
    EXPECT_EQ(diff, expected);

    Viewer viewer;
    ASSERT_TRUE(viewer.Open("a.lvf", a));
    ASSERT_TRUE(viewer.Compare("b.lvf", b));
    ASSERT_TRUE(viewer.form.OnlyDifferencesCB.checked);
    std::vector<std::string> rows;
    for (const auto& row : viewer.form.Rows()) {
        EXPECT_TRUE(row.differs) << Line(row);
        rows.push_back(Line(row));
    }
    EXPECT_EQ(rows, expected);

    // With every key shown, the same keys are marked in the same order, among the others.
    viewer.form.OnlyDifferencesCB.checked = false;
    viewer.form.OnlyDifferencesCBClick();
    std::vector<std::string> marked;
    std::size_t same = 0;
    for (const auto& row : viewer.form.Rows()) {
        if (row.differs)
            marked.push_back(Line(row));
        else
            ++same;
    }
    EXPECT_EQ(marked, expected);
    EXPECT_EQ(same, 3u); // ModelNo, Rounding, T3Limit
}

// C-30's QvSelect reads "N/A " for choices 2, 3 and 4: two files that hold two of them are the
// same to a processor. They are listed as such, and count as no difference.
TEST(LibraryComparison, ChoicesWithTheSameTextAreNoDifference) {
    const auto file = [](const char* qvSelect, const char* rounding) {
        return std::string("[SystemSettings]\r\nModelNo=46\r\n[MnemonicParms]\r\nQvSelect=") +
               qvSelect + "\r\nRounding=" + rounding + "\r\n";
    };
    struct Case {
        const char* a;
        const char* b;
        bool sameText;
        bool differs;
    };
    const Case cases[] = {
        {"02", "03", true, false},  {"04", "02", true, false},
        {"02", "01", false, true}, // "N/A " and "OFF "
        {"02", "06", false, true}, // no choice of that number
        {"03", "03", false, false},
    };
    for (const auto& c : cases) {
        const auto pairs =
            CompareLibraries(DecodeLibrary(file(c.a, "00")), DecodeLibrary(file(c.b, "00")));
        const std::string what = std::string(c.a) + " " + c.b;
        ASSERT_EQ(pairs.size(), c.sameText || c.differs ? 1u : 0u) << what;
        if (pairs.empty())
            continue;
        EXPECT_EQ(pairs[0].SameText(), c.sameText) << what;
        EXPECT_EQ(pairs[0].Differs(), c.differs) << what;
        EXPECT_EQ(AnyDifference(pairs), c.differs) << what;
        EXPECT_EQ(DifferencesJson(pairs, "a", "b").find("\"sameText\":true") != std::string::npos,
                  c.sameText)
            << what;
    }
    // Beside a real difference, the same text still counts as none.
    const auto pairs =
        CompareLibraries(DecodeLibrary(file("02", "00")), DecodeLibrary(file("03", "01")));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_TRUE(AnyDifference(pairs));

    // The viewer marks the row as no difference and says why the numbers differ.
    Viewer viewer;
    ASSERT_TRUE(viewer.Open("a.lvf", file("02", "00")));
    ASSERT_TRUE(viewer.Compare("b.lvf", file("03", "00")));
    const auto rows = viewer.form.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].differs);
    EXPECT_EQ(rows[0].sameText, "Same text: the numbers differ, the choices read alike.");
}

TEST(LibraryViewer, ProblemsFollowTheLanguageWhileTheCommandLineKeepsEnglish) {
    // A choice outside the list, with a byte of the file that is no ASCII; a key no C-12 has.
    const std::string content = "[SystemSettings]\r\nModelNo=0\r\n"
                                "[MnemonicParms]\r\nMeasUnits=\xe4\r\nNoSuchRow=01\r\n";
    EXPECT_EQ(ProblemLines(DecodeLibrary(content))[0],
              "MnemonicParms/MeasUnits: \"\xe4\" is not one of its 2 choices.");

    Viewer viewer;
    ASSERT_TRUE(viewer.Open("a.lvf", content));
    const auto shown = [&viewer] {
        const auto problems = viewer.form.Problems();
        return std::vector<std::string>(problems.begin(), problems.begin() + 2);
    };
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "MnemonicParms/MeasUnits: \"\u00e4\" is not one of its 2 choices.",
                           "MnemonicParms/NoSuchRow: not a parameter of C-12."}));
    viewer.localisation.Apply(Language::German);
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "MnemonicParms/MeasUnits: \"\u00e4\" ist keine seiner 2 Auswahlen.",
                           "MnemonicParms/NoSuchRow: kein Parameter von C-12."}));
    const auto rows = viewer.form.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].problem, "MnemonicParms/NoSuchRow: kein Parameter von C-12.");
    const std::string missingHeader =
        "HeaderParms/" + DecodeLibrary(content).problems.back().values[1] +
        ": nicht in der Datei; beim Laden wird ein leerer Text gesendet.";
    EXPECT_EQ(viewer.form.Problems().back(), missingHeader);

    // Two files: each problem says which file it is in, as the language writes it.
    ASSERT_TRUE(viewer.Compare("b.lvf", "[SystemSettings]\r\nModelNo=99\r\n"));
    const auto lastTwo = [&viewer] {
        const auto problems = viewer.form.Problems();
        return std::vector<std::string>(problems.end() - 2, problems.end());
    };
    viewer.localisation.Apply(Language::French);
    EXPECT_EQ(lastTwo(), (std::vector<std::string>{
                             "B : Le mod\u00e8le 99 n'est pas un mod\u00e8le que ce programme "
                             "conna\u00eet.",
                             "B : SystemSettings/ModelNo : pas un num\u00e9ro de mod\u00e8le."}));
    viewer.localisation.Apply(Language::English);
    EXPECT_EQ(lastTwo(),
              (std::vector<std::string>{"B: Model 99 is not a model this program knows.",
                                        "B: SystemSettings/ModelNo: not a model number."}));
}

TEST(LibraryViewer, ItsOwnWordsFollowTheLanguageAndTheFilesBytesStay) {
    Viewer viewer;
    ASSERT_TRUE(viewer.Open("a.lvf", "[SystemSettings]\r\nModelNo=5\r\n"
                                     "[Common]\r\nLines=1\r\n1=\xe4\r\n"));
    ASSERT_TRUE(viewer.Compare("b.lvf", "[SystemSettings]\r\nModelNo=5\r\n"
                                        "[Common]\r\nLines=1\r\n1=ab\r\n"));
    viewer.form.OnlyDifferencesCB.checked = false;
    viewer.localisation.Apply(Language::German);
    EXPECT_EQ(viewer.form.columns,
              (std::vector<std::string>{"Abschnitt", "Parameter", "Gespeichert A", "Bedeutung A",
                                        "Gespeichert B", "Bedeutung B"}));
    viewer.form.FilterEditChange("zeilen");
    const auto rows = viewer.form.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].a->text, "1 Zeilen, 3 Bytes");
    EXPECT_EQ(rows[0].b->text, "1 Zeilen, 4 Bytes");
    EXPECT_FALSE(rows[0].differs);
    viewer.form.FilterEditChange("");
    EXPECT_EQ(viewer.form.Rows().back().a->stored, "\xe4");
}

} // namespace

TEST(LibraryDecoder, NamesThatComeAgainAreProblemsAndTheDiffSeesWhatTheyHide) {
    const std::string c12 = "[SystemSettings]\r\nModelNo=0\r\n";
    const std::string twice = c12 + "[MnemonicParms]\r\n" // 3
                                    "MeasUnits=01\r\n"    // 4
                                    "measunits=00\r\n"    // 5: again in its section
                                    "[NumericParms]\r\n"  // 6
                                    "T1Limit=1\r\n"       // 7
                                    "[mnemonicparms]\r\n" // 8: the section again
                                    "Rounding=00\r\n"
                                    "MeasUnits=00\r\n";
    const std::string once =
        c12 + "[MnemonicParms]\r\nMeasUnits=01\r\n[NumericParms]\r\nT1Limit=1\r\n";

    const DecodedLibrary library = DecodeLibrary(twice);
    ASSERT_NE(library.Find("MnemonicParms", "MeasUnits"), nullptr);
    EXPECT_EQ(library.Find("MnemonicParms", "MeasUnits")->stored, "01") << "the first counts";
    EXPECT_EQ(library.Find("MnemonicParms", "Rounding"), nullptr) << "its section came before";
    const auto problems = ProblemLines(library);
    const std::vector<std::string> again(problems.begin(), problems.begin() + 2);
    EXPECT_EQ(again, (std::vector<std::string>{
                         "MnemonicParms/measunits: comes again on line 5 with \"00\"; readers "
                         "take the first, \"01\".",
                         "[mnemonicparms] comes again on line 8; readers ignore that section "
                         "and its 2 keys."}));

    Viewer viewer;
    viewer.localisation.Apply(Language::German);
    ASSERT_TRUE(viewer.Open("a.lvf", twice));
    EXPECT_EQ(viewer.form.Problems()[1], "[mnemonicparms] kommt in Zeile 8 noch einmal vor; Leser "
                                         "übergehen diesen Abschnitt und seine 2 Schlüssel.");

    // Two files a reader takes alike differ in what their repeated names hold.
    const auto compare = [](const std::string& a, const std::string& b, UnusedValues unused) {
        std::vector<std::string> lines;
        for (const auto& difference : CompareLibraries(DecodeLibrary(a), DecodeLibrary(b),
                                                       ComparedKeys::Differing, unused)) {
            std::string line = Line(difference);
            for (const auto* side : {&difference.unusedA, &difference.unusedB}) {
                line += " |";
                for (const auto& value : *side)
                    line += " " + value;
            }
            lines.push_back(line);
        }
        return lines;
    };
    EXPECT_EQ(compare(twice, once, UnusedValues::Compared),
              (std::vector<std::string>{"MnemonicParms/MeasUnits: 01 -> 01 | 00 00 |",
                                        "mnemonicparms/Rounding: (none) -> (none) | 00 |"}));
    EXPECT_EQ(compare(once, twice, UnusedValues::Compared).size(), 2u);
    EXPECT_EQ(compare(twice, twice, UnusedValues::Compared), std::vector<std::string>{});
    // What a processor holds has no repeated names: a file is compared with it as read.
    EXPECT_EQ(compare(twice, once, UnusedValues::Ignored), std::vector<std::string>{});
}

TEST(LibraryDecoder, ADumpSizeCountsTheLinesAFileLacksAsBlanksWithoutVisitingThem) {
    const DecodedLibrary library = DecodeLibrary("[SystemSettings]\r\nModelNo=5\r\n[User]\r\n"
                                                 "Lines=2000000000\r\n1=ab\r\n01=x\r\n");
    ASSERT_NE(library.Find("User", "Lines"), nullptr);
    EXPECT_EQ(library.Find("User", "Lines")->text, "2000000000 lines, 6000000001 bytes");
}
