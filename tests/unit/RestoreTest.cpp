// Planning a restore from a backup's files, and restoring simulated processors of every family in
// virtual time.
#include "backup/Restore.h"
#include "core/AtomicFile.h"
#include "core/ModelCatalogue.h"
#include "library/LibraryDecoder.h"

#include "SimulatedPlatform.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace setfolio;
using setfolio::testing::SimSetup;
using setfolio::testing::SimulatedPlatform;
using setfolio::testing::TempFolder;

namespace {

// A backup held in memory.
class MemoryBackup : public BackupSource {
public:
    std::map<std::string, std::string> files;
    std::optional<std::string> Read(const std::string& file) const override {
        const auto found = files.find(file);
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::string Name() const override { return "backup"; }
};

Inventory ReadInventory(const std::string& text) {
    Inventory inventory = ParseInventory(text);
    EXPECT_TRUE(inventory.problems.empty()) << inventory.problems[0].text;
    return inventory;
}

std::string LibraryOf(const std::string& model) {
    return "[SystemSettings]\r\nModelNo=" + std::to_string(*ModelNamed(model)) + "\r\n";
}

// Line 1 (C-12) ran library 2 of libraries 1 and 2; Line 2 (C-12) has library 4; Line 3 is an
// M-12 whose backup holds a C-12's file.
MemoryBackup Backup() {
    Manifest manifest;
    manifest.processors.push_back(
        {"Line 1", "C-12", "", 2, {{1, "", 0, "", ""}, {2, "", 0, "", ""}}});
    manifest.processors.push_back({"Line 2", "C-12", "", std::nullopt, {{4, "", 0, "", ""}}});
    manifest.processors.push_back({"Line 3", "M-12", "", 1, {{5, "", 0, "", ""}}});
    MemoryBackup backup;
    backup.files["manifest.json"] = ManifestJson(manifest);
    backup.files["Line 1/Library 001.lvf"] = LibraryOf("C-12");
    backup.files["Line 1/Library 002.lvf"] = LibraryOf("C-12");
    backup.files["Line 1/Library 003.lvf"] = LibraryOf("C-12"); // not in the manifest
    backup.files["Line 2/Library 004.lvf"] = LibraryOf("C-12");
    backup.files["Line 3/Library 005.lvf"] = LibraryOf("C-12");
    return backup;
}

const char* const PlantInventory = "[Line 1]\nModel=C-12\nTcp=10.0.0.1\nLibraries=1-3\n"
                                   "[Line 2]\nModel=C-12\nTcp=10.0.0.2\nLibraries=4\n"
                                   "[Line 3]\nModel=M-12\nTcp=10.0.0.3\nLibraries=5\n";

TEST(Restore, APlanTakesTheBackupsLibrariesNarrowedAndRefusesWhatCannotBeSent) {
    struct Expected {
        std::string name;
        std::vector<int> libraries;
        std::optional<int> running;
        std::string refused; // a part of the first reason, or empty
    };
    const struct {
        std::string what;
        RestoreChoice choice;
        std::function<void(MemoryBackup&)> change;
        std::vector<Expected> processors;
        std::string problem; // a part of the first problem, or empty
    } cases[] = {
        {"everything",
         {},
         {},
         {{"Line 1", {1, 2}, 2, ""},
          {"Line 2", {4}, std::nullopt, ""},
          {"Line 3",
           {5},
           1,
           "backup: Line 3/Library 005.lvf holds a library of model C-12, not M-12"}},
         ""},
        {"one section", {.sections = {"Line 2"}}, {}, {{"Line 2", {4}, std::nullopt, ""}}, ""},
        {"libraries asked for, one of them not in the manifest",
         {.sections = {"Line 1"}, .libraries = std::vector<int>{2, 3}},
         {},
         {{"Line 1", {2}, 2, "backup: Line 1/Library 003.lvf is not in the backup"}},
         ""},
        {"a file the manifest names is missing",
         {.sections = {"Line 1"}},
         [](MemoryBackup& backup) { backup.files.erase("Line 1/Library 001.lvf"); },
         {{"Line 1", {2}, 2, "backup: Line 1/Library 001.lvf is missing"}},
         ""},
        {"a file that names no model",
         {.sections = {"Line 2"}},
         [](MemoryBackup& backup) { backup.files["Line 2/Library 004.lvf"] = "[X]\r\n"; },
         {{"Line 2", {4}, std::nullopt, "holds no model number"}},
         ""},
        {"a value that cannot be sent",
         {.sections = {"Line 2"}},
         [](MemoryBackup& backup) {
             backup.files["Line 2/Library 004.lvf"] +=
                 "[MnemonicParms]\r\n" + TablesOf(0).MnemonicList[0].name + "=MM\r\n";
         },
         {{"Line 2", {4}, std::nullopt, "holds values that cannot be sent: "}},
         ""},
        {"no manifest: the inventory's libraries",
         {.sections = {"Line 1"}},
         [](MemoryBackup& backup) { backup.files.erase("manifest.json"); },
         {{"Line 1", {1, 2, 3}, std::nullopt, ""}},
         ""},
        {"a section the inventory does not have",
         {.sections = {"Line 9"}},
         {},
         {},
         "no section [Line 9]"},
        {"no manifest and no file",
         {.sections = {"Line 2"}},
         [](MemoryBackup& backup) { backup.files.clear(); },
         {},
         "holds no backup"},
        {"a manifest that is none",
         {},
         [](MemoryBackup& backup) { backup.files["manifest.json"] = "{"; },
         {},
         "manifest.json is not a backup's manifest"},
    };
    const Inventory inventory = ReadInventory(PlantInventory);
    for (const auto& test : cases) {
        MemoryBackup backup = Backup();
        if (test.change)
            test.change(backup);
        const RestorePlan plan = PlanRestore(inventory, backup, test.choice);
        if (!test.problem.empty()) {
            ASSERT_FALSE(plan.problems.empty()) << test.what;
            EXPECT_NE(plan.problems[0].find(test.problem), std::string::npos)
                << test.what << ": " << plan.problems[0];
            continue;
        }
        EXPECT_TRUE(plan.problems.empty()) << test.what << ": " << plan.problems[0];
        ASSERT_EQ(plan.processors.size(), test.processors.size()) << test.what;
        std::vector<std::string> runnable;
        for (std::size_t i = 0; i < test.processors.size(); ++i) {
            const ProcessorRestore& got = plan.processors[i];
            const Expected& expected = test.processors[i];
            EXPECT_EQ(got.processor.name, expected.name) << test.what;
            std::vector<int> numbers;
            for (const auto& library : got.libraries) {
                numbers.push_back(library.library);
                EXPECT_EQ(library.content, backup.files[library.file]) << test.what;
            }
            EXPECT_EQ(numbers, expected.libraries) << test.what << ": " << expected.name;
            EXPECT_EQ(got.running, expected.running) << test.what << ": " << expected.name;
            if (expected.refused.empty()) {
                EXPECT_TRUE(got.refused.empty()) << test.what << ": " << got.refused[0];
                runnable.push_back(expected.name);
            } else {
                ASSERT_FALSE(got.refused.empty()) << test.what;
                EXPECT_NE(got.refused[0].find(expected.refused), std::string::npos)
                    << test.what << ": " << got.refused[0];
            }
        }
        // The runner gets those not refused, each with the libraries restored.
        const Inventory run = plan.Runnable();
        ASSERT_EQ(run.processors.size(), runnable.size()) << test.what;
        for (std::size_t i = 0; i < runnable.size(); ++i) {
            EXPECT_EQ(run.processors[i].name, runnable[i]) << test.what;
            const auto& planned =
                *std::find_if(plan.processors.begin(), plan.processors.end(),
                              [&](const auto& p) { return p.processor.name == runnable[i]; });
            EXPECT_EQ(run.processors[i].libraries, planned.processor.libraries) << test.what;
        }
    }
}

std::vector<PlantEvent> RunToTheEnd(PlantBackup& plant) {
    plant.Start();
    std::vector<PlantEvent> events;
    do
        events.push_back(plant.NextEvent());
    while (events.back().kind != PlantEvent::Kind::RunFinished);
    return events;
}

PlantBackup::PlatformFactory On(sim::SimProcessor& processor, int* activeAtEnd = nullptr) {
    return [&processor, activeAtEnd] {
        SimSetup setup;
        setup.processor = &processor;
        setup.activeAtEnd = activeAtEnd;
        return std::make_unique<SimulatedPlatform>([](const std::string&) {}, setup);
    };
}

// A processor of `model` on library `active`, backed up into `folder` with its manifest.
Inventory BackedUp(sim::SimProcessor& processor, const std::string& model,
                   const std::string& folder) {
    const Inventory inventory =
        ReadInventory("[Line 3]\nModel=" + model + "\nSerial=/dev/ttyUSB0\nLibraries=1,2\n");
    PlantBackup backup(inventory, 1, PlantBackup::LibraryJob(On(processor), folder, true, nullptr));
    RunToTheEnd(backup);
    EXPECT_TRUE(backup.Results()[0].AllOk()) << backup.Results()[0].failure;
    WriteFileAtomically(folder + "/manifest.json",
                        ManifestJson(UpdatedManifest(std::nullopt, backup.Results(), "t")));
    return inventory;
}

// What a library of a simulated processor holds, whatever its family.
std::pair<std::map<std::string, std::string>, std::vector<std::string>>
Held(const sim::SimProcessor& processor, int library) {
    const auto& held = processor.libraries.at(library);
    return {held.parameters, held.user};
}

class RestoreFamily : public ::testing::TestWithParam<const char*> {};

TEST_P(RestoreFamily, ChangedLibrariesAreShownByADryRunAndPutBackByARestore) {
    const std::string model = GetParam();
    TempFolder folder;
    const auto processor = sim::MakeProcessor(*ModelNamed(model));
    processor->activeLibrary = 3;
    const Inventory inventory = BackedUp(*processor, model, folder.Path());
    const auto library1 = Held(*processor, 1);
    const auto library2 = Held(*processor, 2);
    ASSERT_NE(library1, library2);
    // Someone swapped the libraries (a bench's calibration data aside, which the inventory does
    // not restore) and runs another one.
    std::swap(processor->libraries[1].parameters, processor->libraries[2].parameters);
    std::swap(processor->libraries[1].user, processor->libraries[2].user);
    processor->activeLibrary = 9;

    const auto source = FolderBackup(folder.Path());
    const auto run = [&](bool dryRun) {
        const RestorePlan plan = PlanRestore(inventory, *source, {.dryRun = dryRun});
        EXPECT_TRUE(plan.problems.empty());
        EXPECT_EQ(plan.processors.at(0).running, 3);
        const Inventory runnable = plan.Runnable();
        PlantBackup restore(runnable, 1, RestoreJob(On(*processor), plan, dryRun, nullptr));
        RunToTheEnd(restore);
        return restore.Results().at(0);
    };

    const ProcessorBackup dry = run(true);
    EXPECT_EQ(Held(*processor, 1), library2) << "a dry run changed a library";
    EXPECT_EQ(Held(*processor, 2), library1) << "a dry run changed a library";
    EXPECT_EQ(processor->activeLibrary, 9) << "a dry run leaves the processor on its library";
    EXPECT_TRUE(dry.AllOk()) << dry.failure << dry.notPutBack;
    for (const auto& library : dry.libraries) {
        EXPECT_TRUE(AnyDifference(library.differences)) << "library " << library.library;
        EXPECT_FALSE(library.changed);
        EXPECT_FALSE(library.readBack.empty());
    }

    const ProcessorBackup restored = run(false);
    EXPECT_TRUE(restored.AllOk()) << restored.failure << restored.notPutBack;
    for (const auto& library : restored.libraries) {
        EXPECT_EQ(library.status, ReplyStatus::Ok) << library.failure;
        EXPECT_FALSE(AnyDifference(library.differences)) << "library " << library.library;
        EXPECT_TRUE(library.changed);
        EXPECT_FALSE(library.partlyWritten);
    }
    EXPECT_EQ(Held(*processor, 1), library1);
    EXPECT_EQ(Held(*processor, 2), library2);
    EXPECT_EQ(restored.activeBefore, 9);
    EXPECT_EQ(restored.activeAfter, 3) << "the library the backup recorded runs";
    EXPECT_EQ(processor->activeLibrary, 3);

    // Now the processor holds what the backup does: a dry run finds nothing to change.
    for (const auto& library : run(true).libraries)
        EXPECT_FALSE(AnyDifference(library.differences)) << "library " << library.library;
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, RestoreFamily, ::testing::Values("C-12", "M-12", "B-01"));

TEST(Restore, AWriteCutShortIsNamedPartlyWrittenAndAStopLeavesTheLibraryRunBefore) {
    TempFolder folder;
    const auto original = sim::MakeProcessor(0);
    original->activeLibrary = 2;
    const Inventory inventory = BackedUp(*original, "C-12", folder.Path());
    const auto source = FolderBackup(folder.Path());
    const RestorePlan plan = PlanRestore(inventory, *source, {});
    ASSERT_EQ(plan.processors.at(0).running, 2);
    const Inventory runnable = plan.Runnable();

    // The line dies while library 1 is written, and stays dead.
    {
        int activeAtEnd = -1;
        PlantBackup restore(runnable, 1,
                            RestoreJob(
                                [&] {
                                    return std::make_unique<SimulatedPlatform>(
                                        [](const std::string&) {},
                                        SimSetup{"drop-after 12", 7, &activeAtEnd});
                                },
                                plan, false, nullptr));
        RunToTheEnd(restore);
        const ProcessorBackup& result = restore.Results()[0];
        ASSERT_EQ(result.libraries.size(), 2u);
        EXPECT_EQ(result.libraries[0].status, ReplyStatus::NoConnection);
        EXPECT_TRUE(result.libraries[0].partlyWritten);
        EXPECT_NE(result.libraries[0].failure.find("partly written"), std::string::npos)
            << result.libraries[0].failure;
        EXPECT_EQ(result.libraries[1].status, ReplyStatus::Pending);
        EXPECT_EQ(result.notPutBack, "left on library 1, was 7: no answer");
    }

    // A stop while library 2 is written: library 2 is not run half restored.
    {
        int activeAtEnd = -1;
        PlantBackup* running = nullptr;
        int selects = 0;
        PlantBackup restore(
            runnable, 1,
            RestoreJob(
                [&] {
                    SimSetup setup{"", 7, &activeAtEnd, [&](const std::string& command) {
                                       if (command == "700 002\r" && ++selects == 1)
                                           running->Stop();
                                   }};
                    return std::make_unique<SimulatedPlatform>([](const std::string&) {}, setup);
                },
                plan, false, nullptr));
        running = &restore;
        RunToTheEnd(restore);
        const ProcessorBackup& result = restore.Results()[0];
        EXPECT_EQ(result.libraries[0].status, ReplyStatus::Ok);
        EXPECT_NE(result.libraries[1].status, ReplyStatus::Ok);
        EXPECT_TRUE(result.interrupted);
        EXPECT_EQ(activeAtEnd, 7) << "put back on the library it ran before";
        EXPECT_EQ(result.activeAfter, 7);
        EXPECT_TRUE(result.notPutBack.empty()) << result.notPutBack;
    }
}

} // namespace
