// Choice texts a site corrects and learns from its own processor, through setfolio-cli against
// a simulated processor whose texts differ from the built-in ones.
#include "CliInProcess.h"
#include "SimProcess.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace setfolio;
using setfolio::testing::Q;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

// A C-01 whose processor spells a mnemonic and a conditional row its own way.
const char* const PlantTexts = R"({"C-01": {
    "RTimeUnits": ["Seconds ", "Scans   "],
    "CDelayUnits": [["SEC     ", "FT      "], ["SEC     ", "M       "]]
}})";

struct PlantLine {
    TempFolder folder;
    std::unique_ptr<SimProcess> sim;
    QStringList link;

    explicit PlantLine(const std::string& faults = "") {
        folder.Write("plant.json", PlantTexts);
        QStringList args{
            "--model", "C-01", "--active", "4", "--vocabulary", Q(folder.File("plant.json")),
            "--tcp",   "0"};
        if (!faults.empty()) {
            folder.Write("faults.txt", faults);
            args << "--faults" << Q(folder.File("faults.txt"));
        }
        sim = std::make_unique<SimProcess>(args);
        link = QStringList{"--model", "C-01"} + sim->CliLink();
    }
    setfolio::testing::CliRun Run(const QStringList& args) const {
        return RunCliInProcess(args + link);
    }
    QString Path(const char* name) const { return Q(folder.File(name)); }
};

TEST(CliLearn, TextsLearnedFromAScratchLibraryLetTheDownloadSucceed) {
    PlantLine plant;
    // The built-in texts do not match: the download names the row and what the processor shows.
    auto run = plant.Run({"download", "--library", "7", "--file", plant.Path("a.lvf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("RTimeUnits: the processor shows \"Scans   \", which is none of the 2 "
                           "choices this program knows for it.\n"),
              std::string::npos)
        << run.out;

    ASSERT_EQ(plant.Run({"select", "4"}).exitCode, 0);
    // The scratch library as it was, read with the texts learned afterwards.
    run = plant.Run(
        {"learn", "--scratch-library", "9", "--out", plant.Path("learned.json"), "--yes"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    // Counted by row: the two the plant spells its own way, and the rest as built in.
    EXPECT_NE(run.out.find("Rows of C-01: 2 learned (texts of the processor's own), "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(" unchanged (as built in), 0 refused.\nThe texts read are in " +
                           plant.folder.File("learned.json") + ".\n"),
              std::string::npos)
        << run.out;
    EXPECT_TRUE(run.out.ends_with("Current library is 4.\n")) << "the active library is back";

    const QStringList learned{"--vocabulary", plant.Path("learned.json")};
    run = plant.Run(QStringList{"download", "--library", "7", "--file", plant.Path("a.lvf")} +
                    learned);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    const auto shown = RunCliInProcess(QStringList{"show", plant.Path("a.lvf")} + learned);
    EXPECT_NE(shown.out.find("\"Scans   \"\n"), std::string::npos) << shown.out;

    // Learning changed the scratch library only for the time it took.
    ASSERT_EQ(
        plant
            .Run(QStringList{"download", "--library", "9", "--file", plant.Path("after.lvf")} +
                 learned)
            .exitCode,
        0);
    ASSERT_EQ(plant
                  .Run(QStringList{"learn", "--scratch-library", "9", "--out",
                                   plant.Path("again.json"), "--yes"})
                  .exitCode,
              0);
    ASSERT_EQ(
        plant
            .Run(QStringList{"download", "--library", "9", "--file", plant.Path("twice.lvf")} +
                 learned)
            .exitCode,
        0);
    EXPECT_EQ(RunCliInProcess({"diff", plant.Path("after.lvf"), plant.Path("twice.lvf")}).exitCode,
              0);
}

TEST(CliLearn, RefusalsAreUnknownAndALostLinkStillTriesToPutThingsBack) {
    {
        PlantLine plant("refuse 200 00 N12\n"); // RTimeUnits may not be set to its first choice
        const auto run =
            plant.Run({"learn", "--scratch-library", "9", "--out", plant.Path("learned.json"),
                       "--yes", "--rows", "RTimeUnits,CDelayUnits"});
        // One line for the row, with the reason in words; a row not learned fails the run.
        EXPECT_EQ(run.exitCode, 1) << run.out;
        EXPECT_TRUE(run.out.starts_with(
            "RTimeUnits: the processor refused the value: processor is in RUN mode (choice 0); "
            "the built-in text is kept.\nRows of C-01: 1 learned (texts of the processor's own), "
            "0 unchanged (as built in), 1 refused.\n"))
            << run.out;
    }
    {
        PlantLine plant("gone-after 150\n"); // some rows changed already
        const auto run = plant.Run(
            {"learn", "--scratch-library", "9", "--out", plant.Path("learned.json"), "--yes"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(run.crashed);
        EXPECT_NE(run.out.find("Learning stopped early"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("could not be put back"), std::string::npos) << run.out;
    }
    {
        // A connection that ends while the processor stays on is made again: every row is put
        // back and the active library is selected again.
        PlantLine plant("drop-after 150\n");
        const auto run = plant.Run(
            {"learn", "--scratch-library", "9", "--out", plant.Path("learned.json"), "--yes"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.out.find("Learning stopped early"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("could not be put back"), std::string::npos) << run.out;
        EXPECT_TRUE(run.out.ends_with("Current library is 4.\n")) << run.out;
    }
    const auto refused =
        RunCliInProcess({"learn", "--model", "C-01", "--tcp", "127.0.0.1:1", "--out", "x.json"});
    EXPECT_EQ(refused.exitCode, 2) << "no scratch library, no learning";
    EXPECT_NE(refused.err.find("--scratch-library"), std::string::npos);
}

// Without --yes the user is asked first; anything but yes leaves the processor untouched (this
// one is never reached).
TEST(CliLearn, AnythingButYesChangesNothing) {
    TempFolder folder;
    for (const std::string answer : {"n\n", "\n", "", "yess\n"}) {
        const auto run =
            RunCliInProcess({"learn", "--model", "C-01", "--tcp", "127.0.0.1:1",
                             "--scratch-library", "9", "--out", Q(folder.File("learned.json"))},
                            {.typed = answer});
        EXPECT_EQ(run.exitCode, 1) << answer;
        EXPECT_TRUE(run.out.ends_with(" of library 9 in turn and puts each row back afterwards. "
                                      "Go on? [y/N] Nothing was changed.\n"))
            << run.out;
        EXPECT_EQ(run.err, "") << answer;
        EXPECT_FALSE(std::filesystem::exists(folder.File("learned.json")));
    }
}

} // namespace
