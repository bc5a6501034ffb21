// Backing up a plant through setfolio-cli against simulated processors of every family, on
// loopback TCP and pseudo-terminals.
#include "CliInProcess.h"
#include "CliProcess.h"
#include "PlantWorld.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "backup/RunLock.h"
#include "core/Sha256.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <unistd.h>

using namespace setfolio;
using setfolio::testing::CliLimits;
using setfolio::testing::LeaveOutGitConfiguration;
using setfolio::testing::Plant;
using setfolio::testing::Q;
using setfolio::testing::RunCli;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

TEST(CliBackup, EveryLibraryOfEveryFamilyAndASecondRunChangesNothing) {
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1, 7}, true);
    plant.Add("Line 2", "M-12", 2, {4, 5}, false);
    plant.Add("Bench", "B-01", 4, {2, 3}, true);
    plant.folder.Write("slow.txt", "slow-switch 2\n");
    plant.Add("Slow", "C-19", 1, {6}, true, {"--faults", Q(plant.folder.File("slow.txt"))});
    const std::string inventory = plant.Inventory();
    LeaveOutGitConfiguration();
    plant.Repository();
    // A file the user has staged stays staged and out of the backup's commit.
    plant.folder.Write("backup/staged.txt", "staged\n");
    plant.Git({"add", "staged.txt"});

    const auto first =
        RunCliInProcess({"backup", Q(inventory), "--dest", Q(plant.Destination()), "--git"});
    ASSERT_EQ(first.exitCode, 0) << first.out << first.err;
    EXPECT_EQ(plant.Commits(), 2);
    EXPECT_EQ(plant.Git({"status", "--porcelain"}), "A  staged.txt\n");
    EXPECT_EQ(plant.Git({"show", "--name-only", "--format=", "HEAD"}).count("staged.txt"), 0);

    // The manifest matches the files; the run record says every processor is back on its
    // library.
    const QJsonObject manifest =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(plant.folder.Read("backup/manifest.json")))
            .object();
    const QJsonArray processors = manifest.value("processors").toArray();
    const QJsonArray recorded = plant.LastRun().value("processors").toArray();
    ASSERT_EQ(processors.size(), 4);
    ASSERT_EQ(recorded.size(), 4);
    for (std::size_t s = 0; s < plant.stations.size(); ++s) {
        const auto& station = plant.stations[s];
        const QJsonObject processor = processors[static_cast<int>(s)].toObject();
        const QJsonObject record = recorded[static_cast<int>(s)].toObject();
        EXPECT_EQ(processor.value("active").toInt(), station.active) << station.name;
        EXPECT_EQ(record.value("activeBefore").toInt(), station.active) << station.name;
        EXPECT_EQ(record.value("activeAfter").toInt(), station.active) << station.name;
        const QJsonArray libraries = processor.value("libraries").toArray();
        ASSERT_EQ(libraries.size(), static_cast<int>(station.libraries.size()));
        for (int l = 0; l < libraries.size(); ++l) {
            const QJsonObject library = libraries[l].toObject();
            const std::string file =
                plant.File(station, station.libraries[static_cast<std::size_t>(l)]);
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            EXPECT_EQ(record.value("libraries").toArray()[l].toObject().value("status").toString(),
                      "Ok")
                << file;
            EXPECT_EQ(library.value("sha256").toString().toStdString(), Sha256Hex(bytes)) << file;
            EXPECT_EQ(library.value("bytes").toInt(), static_cast<int>(bytes.size())) << file;
        }
        EXPECT_EQ(RunCliInProcess(QStringList{"library", "--model", Q(station.model)} +
                                  station.sim->CliLink())
                      .out,
                  "Current library is " + std::to_string(station.active) + ".\n");
    }

    // Nothing changed: no file is written again, not even the manifest, no commit is made and
    // git sees nothing new. What a killed run's unfinished write left is cleared away first.
    const auto stamp = QFileInfo(Q(plant.File(plant.stations[0], 1))).lastModified();
    const std::string manifestBefore = plant.folder.Read("backup/manifest.json");
    const std::string leftover = plant.File(plant.stations[0], 1) + ".tmp-Ab12Cd";
    std::ofstream(leftover) << "half a library";
    plant.Git({"reset", "--quiet", "staged.txt"});
    std::filesystem::remove(plant.Destination() + "/staged.txt");
    const auto second = RunCliInProcess(
        {"backup", Q(inventory), "--dest", Q(plant.Destination()), "--git", "--json"});
    EXPECT_EQ(second.exitCode, 0) << second.out;
    EXPECT_NE(second.out.find("0 changed, 7 unchanged, 0 failed"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("Nothing changed: no commit."), std::string::npos) << second.out;
    EXPECT_EQ(QFileInfo(Q(plant.File(plant.stations[0], 1))).lastModified(), stamp);
    EXPECT_EQ(plant.folder.Read("backup/manifest.json"), manifestBefore);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_EQ(plant.Commits(), 2);
    EXPECT_EQ(plant.Git({"status", "--porcelain", "--ignored=no"}), "");
    // --json prints the run's record, which is what last-run.json holds.
    EXPECT_NE(second.out.find(plant.folder.Read("backup/.setfolio/last-run.json")),
              std::string::npos);
    EXPECT_FALSE(plant.LastRun().value("interrupted").toBool(true));

    // Each file is what a download of that library writes.
    for (const auto& station : plant.stations) {
        const int library = station.libraries.front();
        const std::string downloaded = plant.folder.File(station.name + ".lvf");
        ASSERT_EQ(RunCliInProcess(QStringList{"download", "--model", Q(station.model), "--library",
                                              QString::number(library), "--file", Q(downloaded)} +
                                  station.sim->CliLink())
                      .exitCode,
                  0);
        EXPECT_EQ(plant.folder.Read(station.name + ".lvf"),
                  plant.folder.Read(
                      "backup/" + station.name +
                      plant.File(station, library).substr(plant.File(station, library).rfind('/'))))
            << station.name;
    }
}

TEST(CliBackup, ARepositoryItCannotCommitIntoIsRefusedBeforeAnyProcessorIsContacted) {
    LeaveOutGitConfiguration();
    Plant plant;
    QTcpServer processor;
    ASSERT_TRUE(processor.listen(QHostAddress::LocalHost));
    plant.folder.Write("plant.ini", "[A]\nModel=C-12\nTcp=127.0.0.1:" +
                                        std::to_string(processor.serverPort()) + "\nLibraries=1\n");
    const QStringList backup{"backup", Q(plant.folder.File("plant.ini")), "--dest",
                             Q(plant.Destination()), "--git"};
    const auto notARepository = RunCliInProcess(backup);
    EXPECT_EQ(notARepository.exitCode, 2);
    EXPECT_NE(notARepository.err.find("is not in a git work tree"), std::string::npos)
        << notARepository.err;

    plant.Repository();
    plant.Git({"checkout", "--quiet", "--detach"});
    const auto detached = RunCliInProcess(backup);
    EXPECT_EQ(detached.exitCode, 2);
    EXPECT_NE(detached.err.find("HEAD is detached"), std::string::npos) << detached.err;

    plant.Git({"checkout", "--quiet", "main"});
    const auto noUpstream = RunCliInProcess(backup + QStringList{"--push"});
    EXPECT_EQ(noUpstream.exitCode, 2);
    EXPECT_NE(noUpstream.err.find("no upstream"), std::string::npos) << noUpstream.err;

    EXPECT_FALSE(processor.waitForNewConnection(100)) << "a processor was contacted";
    EXPECT_FALSE(std::filesystem::exists(plant.Destination() + "/A"));
    EXPECT_EQ(plant.Commits(), 1);
}

TEST(CliBackup, EachRunPushesToTheCentralRepositoryAndAFailedPushIsNamed) {
    LeaveOutGitConfiguration();
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1}, true);
    const std::string inventory = plant.Inventory();
    plant.Repository();
    const QString central = Q(plant.folder.File("central.git"));
    ASSERT_EQ(QProcess::execute("git", {"init", "--quiet", "--bare", central}), 0);
    const QStringList backup{"backup", Q(inventory), "--dest", Q(plant.Destination()),
                             "--git",  "--remote",   central};

    const auto first = RunCliInProcess(backup);
    ASSERT_EQ(first.exitCode, 0) << first.out << first.err;
    EXPECT_NE(first.out.find("Pushed main."), std::string::npos) << first.out;
    const QByteArray head = plant.Git({"rev-parse", "HEAD"});
    EXPECT_EQ(plant.Git({"--git-dir", central, "rev-parse", "main"}), head);

    // The central repository cannot be reached: the quiet run says so and exits 1.
    std::filesystem::rename(central.toStdString(), plant.folder.File("gone.git"));
    const auto second = RunCliInProcess(backup);
    EXPECT_EQ(second.exitCode, 1) << second.out;
    EXPECT_NE(second.err.find("could not push main to " + central.toStdString()), std::string::npos)
        << second.err;
    EXPECT_EQ(plant.Git({"rev-parse", "HEAD"}), head) << "the local history stays";
    EXPECT_EQ(plant.LastRun().value("failures").toArray().size(), 1);
}

TEST(CliBackup, FailingProcessorsAreReportedWhileTheOthersSucceed) {
    Plant plant;
    plant.Add("Good", "C-12", 3, {1, 2}, true);
    plant.folder.Write("refuse.txt", "refuse 700 001 N12\n");
    plant.Add("Refused", "C-12", 3, {1, 2}, true, {"--faults", Q(plant.folder.File("refuse.txt"))});
    plant.folder.Write("silent.txt", "silent 701\n");
    plant.Add("Silent", "C-12", 3, {1}, false, {"--faults", Q(plant.folder.File("silent.txt"))});
    plant.folder.Write("drop.txt", "drop-after 60\n");
    plant.Add("Dropped", "C-12", 3, {1, 2}, true, {"--faults", Q(plant.folder.File("drop.txt"))});
    const auto run =
        RunCliInProcess({"backup", Q(plant.Inventory()), "--dest", Q(plant.Destination()),
                         "--trace", Q(plant.folder.File("traces"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.crashed);
    // One trace per section: the silent processor's shows its command timed out.
    const std::string good = plant.folder.Read("traces/Good.trace");
    EXPECT_NE(good.find(" sent 701\\r\n"), std::string::npos) << good;
    EXPECT_NE(good.find(" received 701 003 +"), std::string::npos) << good;
    const std::string silent = plant.folder.Read("traces/Silent.trace");
    EXPECT_NE(silent.find(" sent 701\\r\n"), std::string::npos) << silent;
    EXPECT_NE(silent.find(" timed-out +25"), std::string::npos) << silent;
    EXPECT_EQ(silent.find(" received "), std::string::npos) << silent;
    EXPECT_TRUE(std::filesystem::exists(plant.File(plant.stations[0], 2)));
    EXPECT_FALSE(std::filesystem::exists(plant.File(plant.stations[1], 1))) << "refused";
    EXPECT_TRUE(std::filesystem::exists(plant.File(plant.stations[1], 2))) << "the next one read";
    EXPECT_FALSE(std::filesystem::exists(plant.File(plant.stations[2], 1))) << "silent";
    EXPECT_FALSE(std::filesystem::exists(plant.File(plant.stations[3], 1))) << "dropped";
    EXPECT_NE(run.out.find("Refused: library 1 RunMode"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Libraries: 3 changed, 0 unchanged, 4 failed."), std::string::npos)
        << run.out;
}

// Through the program itself, which is killed.
TEST(CliBackup, AKilledBackupLeavesWholeFilesAndARerunCompletes) {
    Plant plant;
    for (int i = 0; i < 3; ++i)
        plant.Add("P" + std::to_string(i), "C-12", 3, {1, 2, 3}, true, {"--baud", "38400"});
    const std::string inventory = plant.Inventory();
    // Killed once the first files are there.
    RunCli({"backup", Q(inventory), "--dest", Q(plant.Destination())},
           CliLimits{.killWhen =
                         [&] { return std::filesystem::exists(plant.File(plant.stations[0], 1)); },
                     .timeoutMs = 120000});
    std::map<std::string, std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(plant.Destination())) {
        if (entry.is_regular_file())
            left[entry.path().string()] = plant.folder.Read(
                std::filesystem::relative(entry.path(), plant.folder.Path()).string());
    }
    const auto rerun = RunCliInProcess({"backup", Q(inventory), "--dest", Q(plant.Destination())});
    EXPECT_EQ(rerun.exitCode, 0) << rerun.out;
    // Whatever the killed run left is a whole library: the rerun found the same bytes. A kill
    // between a write and its rename may leave the temporary file: the rerun removes it.
    for (const auto& [path, bytes] : left) {
        if (path.find(".tmp-") != std::string::npos)
            EXPECT_FALSE(std::filesystem::exists(path)) << "a temporary file stayed: " << path;
        else if (path.ends_with(".lvf")) {
            EXPECT_EQ(
                plant.folder.Read(std::filesystem::relative(path, plant.folder.Path()).string()),
                bytes)
                << path;
        }
    }
}

// Through the program itself, whose file size is limited: a library file does not fit, the run
// record and the manifest do.
TEST(CliBackup, AFullDiskFailsTheLibraryAndLeavesNoPartOfIt) {
    Plant plant;
    plant.Add("Line 1", "C-12", 3, {1, 2}, true);
    const std::string inventory = plant.Inventory();
    const QStringList backup{"backup", Q(inventory), "--dest", Q(plant.Destination())};
    const auto full = RunCli(backup, CliLimits{.fileBytes = 4096});
    EXPECT_EQ(full.exitCode, 1) << full.out << full.err;
    EXPECT_FALSE(full.crashed);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(plant.Destination()))
        EXPECT_FALSE(entry.path().string().ends_with(".lvf") ||
                     entry.path().string().find(".tmp-") != std::string::npos)
            << entry.path();
    const QJsonArray libraries =
        plant.LastRun().value("processors").toArray()[0].toObject().value("libraries").toArray();
    ASSERT_EQ(libraries.size(), 2);
    EXPECT_EQ(libraries[0].toObject().value("status").toString(), "FileError");
    EXPECT_EQ(plant.folder.Read("backup/manifest.json").find("Library 001"), std::string::npos);

    const auto room = RunCliInProcess(backup);
    EXPECT_EQ(room.exitCode, 0) << room.out;
    EXPECT_NE(room.out.find("2 changed, 0 unchanged, 0 failed"), std::string::npos) << room.out;
}

TEST(CliBackup, ASignalStopsTheRunCleanly) {
    Plant plant;
    plant.Add("A", "C-12", 3, {1, 2, 3, 4}, false, {"--baud", "38400"});
    std::string inventory = plant.stations[0].Section();
    // A second processor on the same line never starts once the run is stopped.
    inventory += "[B]" + inventory.substr(inventory.find('\n'));
    plant.folder.Write("plant.ini", inventory);
    const auto run = RunCli(
        {"backup", Q(plant.folder.File("plant.ini")), "--dest", Q(plant.Destination())},
        CliLimits{.terminateWhen =
                      [&] { return std::filesystem::exists(plant.File(plant.stations[0], 1)); },
                  .timeoutMs = 120000});
    EXPECT_EQ(run.exitCode, 128 + SIGTERM) << run.out << run.err;
    EXPECT_FALSE(std::filesystem::exists(plant.File(plant.stations[0], 3))) << "read on";
    // Its folder was made before the run, as every processor's is.
    EXPECT_FALSE(std::filesystem::exists(plant.Destination() + "/B/Library 001.lvf"))
        << "B was started";
    const QJsonArray processors = plant.LastRun().value("processors").toArray();
    ASSERT_EQ(processors.size(), 2);
    EXPECT_EQ(processors[0].toObject().value("activeAfter").toInt(), 3) << "put back";
    EXPECT_NE(run.out.find("B: not started"), std::string::npos) << run.out;
}

// What stands in the way of the files is found before any processor is asked anything: the
// processor's address here leads nowhere, so a run that tried it would say so.
TEST(CliBackup, NothingIsSentWhenTheFilesCouldNotBeWrittenOrAnotherRunHoldsTheFolder) {
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::string section;
        std::function<void(const TempFolder&)> prepare;
        std::string said;
    } cases[] = {
        {"a section in the repository", ".git", [](const TempFolder&) {},
         "[.git] a name beginning with \".\" is kept for the backup's own files"},
        {"a section over the manifest", "manifest.json", [](const TempFolder&) {},
         "[manifest.json] manifest.json is the backup's own file"},
        {"a write-protected library file", "A",
         [](const TempFolder& folder) {
             fs::create_directories(folder.File("backup/A"));
             folder.Write("backup/A/Library 001.lvf", "");
             fs::permissions(folder.File("backup/A/Library 001.lvf"), fs::perms::owner_read);
         },
         "A/Library 001.lvf is write-protected"},
        {"a destination that is a file", "A",
         [](const TempFolder& folder) { folder.Write("backup", ""); }, "cannot make"},
    };
    for (const auto& test : cases) {
        TempFolder folder;
        test.prepare(folder);
        folder.Write("plant.ini",
                     "[" + test.section + "]\nModel=C-12\nTcp=127.0.0.1:1\nLibraries=1\n");
        const auto run = RunCliInProcess(
            {"backup", Q(folder.File("plant.ini")), "--dest", Q(folder.File("backup"))});
        EXPECT_EQ(run.exitCode, 2) << test.what << "\n" << run.out << run.err;
        EXPECT_NE(run.err.find(test.said), std::string::npos) << test.what << "\n" << run.err;
        EXPECT_EQ(run.out, "") << test.what;
    }

    // Another run holds the folder.
    TempFolder folder;
    folder.Write("plant.ini", "[A]\nModel=C-12\nTcp=127.0.0.1:1\nLibraries=1\n");
    const RunLock running(folder.File("backup"));
    ASSERT_EQ(running.State(), RunLock::Outcome::Held);
    const auto second = RunCliInProcess(
        {"backup", Q(folder.File("plant.ini")), "--dest", Q(folder.File("backup"))});
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_NE(second.err.find("another backup into " + folder.File("backup") +
                              " is running (process " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << second.err;
    EXPECT_EQ(second.out, "");
    EXPECT_FALSE(std::filesystem::exists(folder.File("backup/manifest.json")));
}

// A dropped connection: the processor is reached once more and put back; a name is kept as the
// UTF-8 it was written in, in the folder and in the manifest.
TEST(CliBackup, ALostLinkIsMadeAgainToPutTheProcessorBackAndNamesStayAsWritten) {
    Plant plant;
    plant.folder.Write("drop.txt", "drop-after 20\n");
    plant.Add("Linie \xC3\xA9", "C-12", 7, {1, 2, 3}, true,
              {"--faults", Q(plant.folder.File("drop.txt"))});
    // A serial line that goes dead for good: the processor cannot be put back, and is named.
    plant.folder.Write("dead.txt", "drop-after 5\n");
    plant.Add("Line 3", "C-12", 9, {1, 2}, false, {"--faults", Q(plant.folder.File("dead.txt"))});
    const auto run =
        RunCliInProcess({"backup", Q(plant.Inventory()), "--dest", Q(plant.Destination())});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_NE(run.out.find("Line 3 left on library 1, was 9: no answer"), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Linie \xC3\xA9 left on"), std::string::npos) << run.out;
    const QJsonObject listed =
        QJsonDocument::fromJson(
            QByteArray::fromStdString(plant.folder.Read("backup/manifest.json")))
            .object()
            .value("processors")
            .toArray()[0]
            .toObject();
    EXPECT_EQ(listed.value("name").toString(), QString::fromUtf8("Linie \xC3\xA9"));
    const QJsonObject processor = plant.LastRun().value("processors").toArray()[0].toObject();
    EXPECT_EQ(processor.value("name").toString(), QString::fromUtf8("Linie \xC3\xA9"));
    EXPECT_EQ(processor.value("activeAfter").toInt(), 7) << "put back";
    const QJsonArray libraries = processor.value("libraries").toArray();
    EXPECT_EQ(libraries[0].toObject().value("file").toString(),
              QString::fromUtf8("Linie \xC3\xA9/Library 001.lvf"));
    EXPECT_EQ(libraries[2].toObject().value("status").toString(), "NotRead");
    EXPECT_TRUE(std::filesystem::is_directory(plant.Destination() + "/Linie \xC3\xA9"));
    EXPECT_EQ(RunCliInProcess(QStringList{"library", "--model", "C-12"} +
                              plant.stations[0].sim->CliLink())
                  .out,
              "Current library is 7.\n");
}

// As systemd stops a service: the library being read ends, and the processor is put back.
TEST(CliBackup, VerifyStoppedBySignalPutsTheProcessorBack) {
    TempFolder folder;
    const std::string log = folder.File("sim.log");
    SimProcess sim(
        QStringList{"--model", "C-12", "--active", "4", "--baud", "9600", "--log", Q(log)} +
        SimProcess::LinkArgs(false, folder.File("line.tty")));
    folder.Write("expected.lvf", "");
    const auto run = RunCli(
        QStringList{"verify", "--model", "C-12", "--library", "9", "--file",
                    Q(folder.File("expected.lvf"))} +
            sim.CliLink(),
        CliLimits{.terminateWhen =
                      [&] {
                          // A few of library 9's parameters have been asked
                          // for.
                          const std::string sent = folder.Read("sim.log");
                          const auto select = sent.find("700 009");
                          return select != std::string::npos &&
                                 sent.find(" received ", sent.find(" received ", select + 1) + 1) !=
                                     std::string::npos;
                      },
                  .timeoutMs = 120000});
    EXPECT_EQ(run.exitCode, 128 + SIGTERM) << run.out << run.err;
    EXPECT_EQ(RunCliInProcess(QStringList{"library", "--model", "C-12"} + sim.CliLink()).out,
              "Current library is 4.\n");
}

} // namespace
