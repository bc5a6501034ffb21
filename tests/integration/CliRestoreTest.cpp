// Restoring a plant from its backup through setfolio-cli, against simulated processors of every
// family on loopback TCP and pseudo-terminals.
#include "CliInProcess.h"
#include "CliProcess.h"
#include "PlantWorld.h"
#include "backup/RunLock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <set>
#include <unistd.h>

using namespace setfolio;
using setfolio::testing::CliLimits;
using setfolio::testing::LeaveOutGitConfiguration;
using setfolio::testing::Plant;
using setfolio::testing::Q;
using setfolio::testing::RunCli;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::Station;

namespace {

QStringList Restore(Plant& plant, QStringList more) {
    return QStringList{"restore", Q(plant.folder.File("plant.ini")), "--from",
                       Q(plant.Destination())} +
           more;
}

std::string CurrentLibrary(const Station& station) {
    return RunCliInProcess(QStringList{"library", "--model", Q(station.model)} +
                           station.sim->CliLink())
        .out;
}

std::string Running(int library) {
    return "Current library is " + std::to_string(library) + ".\n";
}

// Someone wrote a station's second library into its first, and runs the second.
void Overwrite(const Plant& plant, const Station& station) {
    const auto upload =
        RunCliInProcess(QStringList{"upload", "--model", Q(station.model), "--library",
                                    QString::number(station.libraries[0]), "--file",
                                    Q(plant.File(station, station.libraries[1]))} +
                        station.sim->CliLink());
    ASSERT_EQ(upload.exitCode, 0) << upload.out << upload.err;
}

// Each library of each station against its backup file, as `verify` compares them.
void ExpectAsBackedUp(const Plant& plant) {
    for (const auto& station : plant.stations) {
        for (const int library : station.libraries) {
            const auto verify = RunCliInProcess(
                QStringList{"verify", "--model", Q(station.model), "--library",
                            QString::number(library), "--file", Q(plant.File(station, library))} +
                station.sim->CliLink());
            EXPECT_EQ(verify.exitCode, 0) << station.name << " " << library << "\n" << verify.out;
        }
    }
}

TEST(CliRestore, EveryFamilyIsPutBackAsBackedUpAndADryRunOnlyReads) {
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1, 2}, true);
    plant.Add("Line 2", "M-12", 2, {4, 5}, false);
    plant.Add("Bench", "B-01", 4, {2, 3}, true);
    const std::string inventory = plant.Inventory();
    const auto backup = RunCliInProcess({"backup", Q(inventory), "--dest", Q(plant.Destination())});
    ASSERT_EQ(backup.exitCode, 0) << backup.out << backup.err;
    for (const auto& station : plant.stations)
        Overwrite(plant, station);

    // What `verify` of every library sends, per station: the most a dry run may send.
    std::vector<std::size_t> before;
    for (const auto& station : plant.stations)
        before.push_back(plant.LogSize(station));
    for (const auto& station : plant.stations) {
        for (const int library : station.libraries)
            RunCliInProcess(QStringList{"verify", "--model", Q(station.model), "--library",
                                        QString::number(library), "--file",
                                        Q(plant.File(station, library))} +
                            station.sim->CliLink());
    }
    std::vector<std::size_t> afterVerify;
    for (const auto& station : plant.stations)
        afterVerify.push_back(plant.LogSize(station));

    const auto dry = RunCliInProcess(Restore(plant, {"--dry-run"}));
    EXPECT_EQ(dry.exitCode, 1) << dry.out << dry.err;
    for (std::size_t s = 0; s < plant.stations.size(); ++s) {
        const Station& station = plant.stations[s];
        const auto verified = plant.Received(station, before[s], afterVerify[s]);
        const std::set<std::string> reads(verified.begin(), verified.end());
        for (const auto& command : plant.Received(station, afterVerify[s]))
            EXPECT_TRUE(reads.contains(command))
                << station.name << ": the dry run sent " << command << ", which verify does not";
        const std::string changed =
            station.name + ": library " + std::to_string(station.libraries[0]) + " would change:\n";
        EXPECT_NE(dry.out.find(changed), std::string::npos) << dry.out;
        EXPECT_NE(dry.out.find(station.name + ": library " + std::to_string(station.libraries[1]) +
                               " is as the backup holds it"),
                  std::string::npos)
            << dry.out;
        EXPECT_NE(dry.out.find(station.name + ": would run library " +
                               std::to_string(station.active) + " (runs " +
                               std::to_string(station.libraries[0]) + " now)"),
                  std::string::npos)
            << dry.out;
        EXPECT_EQ(CurrentLibrary(station), Running(station.libraries[0])) << "moved by a dry run";
    }
    EXPECT_NE(dry.out.find(": 3 libraries as backed up, 3 would change, 0 not read."),
              std::string::npos)
        << dry.out;

    // Not on a terminal, and without --yes: nothing is sent.
    const std::size_t logBefore = plant.LogSize(plant.stations[0]);
    const auto unconfirmed = RunCliInProcess(Restore(plant, {}));
    EXPECT_EQ(unconfirmed.exitCode, 2);
    EXPECT_NE(unconfirmed.err.find("give --yes"), std::string::npos) << unconfirmed.err;
    // On a terminal, a no.
    const auto declined =
        RunCliInProcess(Restore(plant, {}), {.typed = "n\n", .inIsTerminal = true});
    EXPECT_EQ(declined.exitCode, 2);
    EXPECT_NE(declined.err.find("  Line 2 (serial "), std::string::npos) << declined.err;
    EXPECT_NE(declined.err.find("libraries 4-5; then library 2 runs"), std::string::npos)
        << declined.err;
    EXPECT_EQ(plant.LogSize(plant.stations[0]), logBefore) << "a processor was contacted";

    const auto restored =
        RunCliInProcess(Restore(plant, {"--json"}), {.typed = "yes\n", .inIsTerminal = true});
    EXPECT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    for (const auto& station : plant.stations) {
        for (const int library : station.libraries)
            EXPECT_NE(restored.out.find(station.name + ": library " + std::to_string(library) +
                                        " restored, reads back equal"),
                      std::string::npos)
                << restored.out;
        EXPECT_EQ(CurrentLibrary(station), Running(station.active)) << station.name;
    }
    EXPECT_NE(restored.out.find(": 6 libraries read back equal, 0 differ, 0 failed."),
              std::string::npos)
        << restored.out;
    EXPECT_NE(restored.out.find("\"outcome\":\"equal\""), std::string::npos) << restored.out;
    ExpectAsBackedUp(plant);
}

TEST(CliRestore, AtARevisionTheLibrariesComeFromGitAndTheWorkTreeStays) {
    LeaveOutGitConfiguration();
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1, 2}, true);
    const std::string inventory = plant.Inventory();
    plant.Repository();
    const QStringList backup{"backup", Q(inventory), "--dest", Q(plant.Destination()), "--git"};
    ASSERT_EQ(RunCliInProcess(backup).exitCode, 0);
    const std::string first = plant.folder.Read("backup/Line 1/Library 001.lvf");
    Overwrite(plant, plant.stations[0]);
    ASSERT_EQ(RunCliInProcess(backup).exitCode, 0);
    ASSERT_EQ(plant.Commits(), 3);
    const std::string second = plant.folder.Read("backup/Line 1/Library 001.lvf");
    ASSERT_NE(first, second);
    EXPECT_EQ(CurrentLibrary(plant.stations[0]), Running(1));

    const auto bad = RunCliInProcess(Restore(plant, {"--at", "HEAD~7", "--yes"}));
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("has no revision 'HEAD~7'"), std::string::npos) << bad.err;

    const auto restored =
        RunCliInProcess(Restore(plant, {"--at", "HEAD~1", "--libraries", "1", "--yes"}));
    EXPECT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    EXPECT_NE(restored.out.find("Restored from " + plant.Destination() + " at HEAD~1: 1 libraries"),
              std::string::npos)
        << restored.out;
    // The first backup's library 1 is back, and the library that backup recorded running.
    plant.folder.Write("first.lvf", first);
    EXPECT_EQ(RunCliInProcess(QStringList{"verify", "--model", "C-12", "--library", "1", "--file",
                                          Q(plant.folder.File("first.lvf"))} +
                              plant.stations[0].sim->CliLink())
                  .exitCode,
              0);
    EXPECT_EQ(CurrentLibrary(plant.stations[0]), Running(3));
    EXPECT_EQ(plant.folder.Read("backup/Line 1/Library 001.lvf"), second);
    EXPECT_EQ(plant.Git({"status", "--porcelain", "--ignored=no"}), "");
}

TEST(CliRestore, AFileOfAnotherModelOrAMissingFileRefusesItsProcessorBeforeAnythingIsSent) {
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1, 2}, true);
    plant.Add("Line 2", "C-12", 5, {1}, true);
    plant.Add("Line 3", "C-12", 6, {1}, true);
    const std::string inventory = plant.Inventory();
    ASSERT_EQ(RunCliInProcess({"backup", Q(inventory), "--dest", Q(plant.Destination())}).exitCode,
              0);
    // The inventory now says Line 1 is a C-19, and Line 2's file is gone.
    std::string text = plant.folder.Read("plant.ini");
    text.replace(text.find("Model=C-12"), 10, "Model=C-19");
    plant.folder.Write("plant.ini", text);
    std::filesystem::remove(plant.File(plant.stations[1], 1));
    std::vector<std::size_t> before;
    for (const auto& station : plant.stations)
        before.push_back(plant.LogSize(station));

    const auto run = RunCliInProcess(Restore(plant, {"--yes"}));
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_NE(run.out.find("Line 1: not restored: " + plant.Destination() +
                           ": Line 1/Library 001.lvf holds a library of model C-12, not C-19"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Line 2: not restored: " + plant.Destination() +
                           ": Line 2/Library 001.lvf is missing"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Line 3: library 1 restored, reads back equal"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("; 2 processors refused."), std::string::npos) << run.out;
    EXPECT_EQ(plant.LogSize(plant.stations[0]), before[0]) << "Line 1 was contacted";
    EXPECT_EQ(plant.LogSize(plant.stations[1]), before[1]) << "Line 2 was contacted";

    // What keeps a restore from starting at all.
    const struct {
        QStringList more;
        std::string said;
    } refused[] = {
        {{"--section", "Line 9", "--yes"}, "the inventory has no section [Line 9]"},
        {{"--libraries", "1-2000", "--yes"}, "--libraries must be"},
    };
    for (const auto& test : refused) {
        const auto refusal = RunCliInProcess(Restore(plant, test.more));
        EXPECT_EQ(refusal.exitCode, 2) << test.said;
        EXPECT_NE(refusal.err.find(test.said), std::string::npos) << refusal.err;
    }
    const RunLock running(plant.Destination());
    const auto locked = RunCliInProcess(Restore(plant, {"--yes"}));
    EXPECT_EQ(locked.exitCode, 2);
    EXPECT_NE(locked.err.find("another backup or restore of " + plant.Destination() +
                              " is running (process " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << locked.err;
}

// As systemd stops a service: the library at hand is ended, and the processor is left on the
// library it ran before rather than on one half restored.
TEST(CliRestore, ASignalStopsTheRestoreAndLeavesTheLibraryRunBefore) {
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1, 2, 3}, false, {"--baud", "38400"});
    const std::string inventory = plant.Inventory();
    ASSERT_EQ(RunCliInProcess({"backup", Q(inventory), "--dest", Q(plant.Destination())}).exitCode,
              0);
    Overwrite(plant, plant.stations[0]);
    const std::size_t from = plant.LogSize(plant.stations[0]);
    const auto run = RunCli(
        Restore(plant, {"--yes"}),
        CliLimits{.terminateWhen =
                      [&] {
                          const auto sent = plant.Received(plant.stations[0], from);
                          return std::find(sent.begin(), sent.end(), "700 002\\r") != sent.end();
                      },
                  .timeoutMs = 120000});
    EXPECT_EQ(run.exitCode, 128 + SIGTERM) << run.out << run.err;
    EXPECT_NE(run.out.find("Stopped by signal 15."), std::string::npos) << run.out;
    const auto sent = plant.Received(plant.stations[0], from);
    EXPECT_EQ(std::find(sent.begin(), sent.end(), "700 003\\r"), sent.end()) << "went on";
    EXPECT_EQ(CurrentLibrary(plant.stations[0]), Running(1));
}

// Through the program itself, which is killed while it writes.
TEST(CliRestore, AKilledRestoreIsRunAgainToTheEnd) {
    Plant plant;
    for (int i = 0; i < 2; ++i)
        plant.Add("P" + std::to_string(i), "C-12", 3, {1, 2, 3}, true, {"--baud", "38400"});
    const std::string inventory = plant.Inventory();
    ASSERT_EQ(RunCliInProcess({"backup", Q(inventory), "--dest", Q(plant.Destination())}).exitCode,
              0);
    for (const auto& station : plant.stations)
        Overwrite(plant, station);
    const std::size_t from = plant.LogSize(plant.stations[0]);
    // Killed in the middle of a library: some of its values have been set.
    RunCli(Restore(plant, {"--yes"}),
           CliLimits{.killWhen =
                         [&] {
                             const auto sent = plant.Received(plant.stations[0], from);
                             return std::count_if(sent.begin(), sent.end(), [](const auto& c) {
                                        return c.starts_with("2");
                                    }) > 3;
                         },
                     .timeoutMs = 120000});
    const auto rerun = RunCliInProcess(Restore(plant, {"--yes"}));
    EXPECT_EQ(rerun.exitCode, 0) << rerun.out << rerun.err;
    for (const auto& station : plant.stations)
        EXPECT_EQ(CurrentLibrary(station), Running(station.active)) << station.name;
    ExpectAsBackedUp(plant);
}

} // namespace
