// What the user sees when things go wrong during a transfer: the program never crashes or hangs,
// reports the failure, and never loses an earlier library file.
#include "CliInProcess.h"
#include "CliProcess.h"
#include "FakeDialogs.h"
#include "FakePrompts.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "app/Application.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

using namespace setfolio;
using setfolio::testing::CliLimits;
using setfolio::testing::RunCli;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

struct SimLine {
    TempFolder folder;
    std::unique_ptr<SimProcess> sim;
    QStringList link;

    explicit SimLine(QStringList simArgs, bool tcp = false, const char* model = "C-12") {
        simArgs << "--model" << model << SimProcess::LinkArgs(tcp, folder.File("COM1"));
        sim = std::make_unique<SimProcess>(simArgs);
        link = QStringList{"--model", model} + sim->CliLink();
    }
    QString Path(const char* name) const { return QString::fromStdString(folder.File(name)); }
    QString Faults(const std::string& rules) const {
        folder.Write("faults.txt", rules);
        return Path("faults.txt");
    }
    // Library files in the folder, besides the given one.
    int OtherLibraryFiles(const std::string& keep) const {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            const auto name = entry.path().filename().string();
            if (name != keep && name.find(".lvf") != std::string::npos)
                ++count;
        }
        return count;
    }
};

const std::string EarlierBackup = "[SystemSettings]\r\nModelNo=0\r\n; yesterday's backup\r\n";

TEST(Faults, ConnectionDroppedMidDownloadKeepsTheEarlierFile) {
    TempFolder faults;
    faults.Write("f.txt", "drop-after 60");
    SimLine line({"--faults", QString::fromStdString(faults.File("f.txt"))}, true);
    line.folder.Write("Line.lvf", EarlierBackup);
    const auto run = RunCliInProcess(
        QStringList{"download", "--library", "5", "--file", line.Path("Line.lvf")} + line.link);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.out.substr(0, 32), "Download failed - no connection!");
    EXPECT_EQ(line.folder.Read("Line.lvf"), EarlierBackup);
}

TEST(Faults, ConnectionDroppedMidUploadIsReported) {
    SimLine line({}, true);
    ASSERT_EQ(
        RunCliInProcess(QStringList{"download", "--library", "5", "--file", line.Path("L.lvf")} +
                        line.link)
            .exitCode,
        0);
    line.sim.reset();
    TempFolder faults;
    faults.Write("f.txt", "drop-after 60");
    SimLine dropping({"--faults", QString::fromStdString(faults.File("f.txt"))}, true);
    const auto run = RunCliInProcess(
        QStringList{"upload", "--library", "9", "--file", line.Path("L.lvf")} + dropping.link);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.out, "Upload failed - no connection!\nLibrary 9 is only partly written.\n");
}

// Through the program itself, which is killed.
TEST(Faults, KilledDuringADownloadLeavesTheEarlierFileAndNoOtherLibrary) {
    TempFolder logs;
    const QString log = QString::fromStdString(logs.File("sim.log"));
    SimLine line({"--baud", "9600", "--log", log});
    line.folder.Write("Line.lvf", EarlierBackup);
    // Killed once some 40 commands and replies have passed.
    RunCli(QStringList{"download", "--library", "5", "--file", line.Path("Line.lvf")} + line.link,
           CliLimits{.killWhen = [&log] { return QFileInfo(log).size() > 2000; }});
    EXPECT_EQ(line.folder.Read("Line.lvf"), EarlierBackup);
    EXPECT_EQ(line.OtherLibraryFiles("Line.lvf"), 0);
}

// The processor (here the simulator) dies in the middle of a transfer, on either link.
TEST(Faults, SimulatorKilledMidTransferEndsWithAFailureAndKeepsTheEarlierFile) {
    for (const bool tcp : {false, true}) {
        for (const bool upload : {false, true}) {
            TempFolder logs;
            const QString log = QString::fromStdString(logs.File("sim.log"));
            SimLine line({"--baud", "9600", "--log", log}, tcp);
            line.folder.Write("Line.lvf", EarlierBackup);
            // Killed once some 40 commands and replies have passed, however slowly the
            // command line starts.
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                if (QFileInfo(log).size() > 2000) {
                    watch.stop();
                    line.sim->Kill();
                }
            });
            watch.start(20);
            const auto run =
                RunCliInProcess(QStringList{upload ? "upload" : "download", "--library", "5",
                                            "--file", line.Path("Line.lvf")} +
                                    line.link,
                                {.limit = std::chrono::seconds(20)});
            const std::string context = std::string(tcp ? "tcp " : "serial ") +
                                        (upload ? "upload" : "download") + ": " + run.out + run.err;
            EXPECT_EQ(run.exitCode, 1) << context;
            EXPECT_FALSE(run.crashed) << context;
            EXPECT_TRUE(run.out.starts_with(upload ? "Upload failed - no connection!"
                                                   : "Download failed - no connection!"))
                << context;
            EXPECT_EQ(line.folder.Read("Line.lvf"), EarlierBackup) << context;
            EXPECT_EQ(line.OtherLibraryFiles("Line.lvf"), 0) << context;
        }
    }
}

// Through the program itself, whose file size is limited.
TEST(Faults, FullDiskDuringTheFinalWriteKeepsTheEarlierFile) {
    SimLine line({});
    // An earlier file of 200 bytes, a new one of some 10 KB, and room for 4 KB.
    const std::string earlier = EarlierBackup + std::string(150, ';') + "\r\n";
    line.folder.Write("Line.lvf", earlier);
    const auto run = RunCli(
        QStringList{"download", "--library", "5", "--file", line.Path("Line.lvf")} + line.link,
        CliLimits{.fileBytes = 4096});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.crashed);
    EXPECT_NE(run.err.find("Enter a valid filename."), std::string::npos) << run.err;
    EXPECT_EQ(line.folder.Read("Line.lvf"), earlier);
    EXPECT_EQ(line.OtherLibraryFiles("Line.lvf"), 0);
}

TEST(Faults, EndlessReplyIsCutOff) {
    for (const bool tcp : {false, true}) {
        TempFolder faults;
        faults.Write("f.txt", "flood 4 102400");
        SimLine line({"--faults", QString::fromStdString(faults.File("f.txt"))}, tcp);
        const auto run = RunCliInProcess(
            QStringList{"download", "--library", "5", "--file", line.Path("L.lvf")} + line.link);
        EXPECT_EQ(run.exitCode, 1) << tcp;
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.out.substr(0, 32), "Download failed - no connection!") << tcp;
        EXPECT_FALSE(std::filesystem::exists(line.folder.File("L.lvf")));
    }
}

// A peer that streams while the program reads nothing (here through the pause after the failure
// line) is held back by the link instead of filling the program's memory.
TEST(Faults, FloodingPeerIsHeldBackNotBuffered) {
    const auto peakKiB = [](int floodBytes) {
        TempFolder faults;
        faults.Write("f.txt", "flood 4 " + std::to_string(floodBytes));
        SimLine line({"--faults", QString::fromStdString(faults.File("f.txt"))}, true);
        const auto run = RunCli(
            QStringList{"download", "--library", "5", "--file", line.Path("L.lvf")} + line.link,
            CliLimits{.measureMemory = true});
        EXPECT_EQ(run.out.substr(0, 32), "Download failed - no connection!") << floodBytes;
        return run.peakKiB;
    };
    const long quiet = peakKiB(100 * 1024);
    const long flooded = peakKiB(64 * 1024 * 1024);
    ASSERT_GT(quiet, 0);
    EXPECT_LT(flooded, quiet + 16 * 1024) << "KiB, against " << quiet << " KiB";
}

// A file the processor's tables cannot be filled from is refused before the processor hears
// anything; one with a model of the processor's family sends what it has, or the defaults.
TEST(Faults, MalformedLibraryFilesAreRefusedOrUploadTheirDefaults) {
    TempFolder logs;
    const std::string log = logs.File("sim.log");
    SimLine line({"--log", QString::fromStdString(log)});
    struct File {
        const char* name;
        std::string content;
        int exitCode;
        std::string line; // "" for "Upload of ... complete."
    };
    const File files[] = {
        {"garbage.lvf", std::string("\x00\xff\x13[\x01]=\n\r==\x7f", 12), 1,
         "has no model number."},
        {"hugeline.lvf",
         "[SystemSettings]\r\nModelNo=0\r\n[NumericParms]\r\nX=" + std::string(1 << 20, '9') +
             "\r\n",
         0, ""},
        {"nosections.lvf", "ModelNo=0\r\n", 1, "has no model number."},
        {"menu.lvf", "[SystemSettings]\r\nModelNo=16\r\n[LibraryParms]\r\nA=1\r\n", 1,
         "holds a library of model M-12, the processor is a C-12."},
        {"badmodel.lvf", "[SystemSettings]\r\nModelNo=banana\r\n", 1, "has no model number."},
    };
    for (const auto& file : files) {
        line.folder.Write(file.name, file.content);
        // The simulator keeps its log open: only what this run adds to it counts.
        const auto logged = std::filesystem::exists(log) ? std::filesystem::file_size(log) : 0;
        const auto run = RunCliInProcess(
            QStringList{"upload", "--library", "9", "--file", line.Path(file.name)} + line.link);
        EXPECT_FALSE(run.crashed) << file.name;
        EXPECT_EQ(run.exitCode, file.exitCode) << file.name;
        const std::string path = line.folder.File(file.name);
        if (file.line.empty()) {
            EXPECT_TRUE(run.out.starts_with("Upload of " + path + " to library 9 complete.\n"))
                << file.name << ": " << run.out << run.err;
            continue;
        }
        EXPECT_EQ(run.out, "Upload failed - " + path + " " + file.line + "\n") << run.err;
        // The processor was asked for its library, and nothing else: no select, no value.
        std::ifstream entries(log);
        entries.seekg(static_cast<std::streamoff>(logged));
        int commands = 0;
        for (std::string entry; std::getline(entries, entry);) {
            const auto received = entry.find(" received ");
            if (received == std::string::npos)
                continue;
            ++commands;
            EXPECT_EQ(entry.substr(received + 10, 3), "701") << file.name << ": " << entry;
        }
        EXPECT_EQ(commands, 1) << file.name;
    }
}

// An upload that stops before sending anything, as the dialog would have stayed open for the user
// to correct it, has not done what was asked.
TEST(Faults, UploadRefusedBeforeSendingExitsWith1) {
    SimLine line({}, true);
    const std::pair<QStringList, std::string> refusals[] = {
        {{"--to", "6", "--file", line.Path("Line.lvf")}, "Invalid filename for block upload."},
        {{"--file", "*.lvf"}, "Select file to load."},
    };
    for (const auto& [args, message] : refusals) {
        const auto run =
            RunCliInProcess(QStringList{"upload", "--library", "5"} + args + line.link);
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

// The user's download must not replace a file the user may not write, although the folder would
// let the rename through. As root (who may write anything) the program runs as nobody.
TEST(Faults, FileTheUserMayNotWriteIsRefusedAndKept) {
    SimLine line({}, true);
    QString program = SETFOLIO_CLI_PATH;
    QStringList prefix;
    if (::geteuid() == 0) {
        prefix = {"--reuid=65534", "--regid=65534", "--clear-groups", program};
        program = "setpriv";
        if (setfolio::testing::RunProgram(program, prefix + QStringList{"--version"}).exitCode != 0)
            GTEST_SKIP() << "the command-line program cannot run as nobody here (setpriv failed)";
        std::filesystem::permissions(line.folder.Path(), std::filesystem::perms(0777));
    }
    line.folder.Write("Line.lvf", EarlierBackup);
    // Root's own file is not nobody's to write; anyone else protects it.
    if (::geteuid() != 0)
        std::filesystem::permissions(line.folder.File("Line.lvf"), std::filesystem::perms(0444));
    const auto run = setfolio::testing::RunProgram(
        program, prefix +
                     QStringList{"download", "--library", "5", "--file", line.Path("Line.lvf")} +
                     line.link);
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_NE(
        run.err.find(line.folder.File("Line.lvf") + " is write-protected. Enter a valid filename."),
        std::string::npos)
        << run.err;
    EXPECT_EQ(line.folder.Read("Line.lvf"), EarlierBackup);
    EXPECT_EQ(line.folder.EntryCount(), 1u) << "no other file appears";
}

// A file reached through a symbolic link (as a backup folder often is) gets the new library; the
// link stays as it was.
TEST(Faults, FileBehindASymbolicLinkIsUpdatedAndTheLinkStays) {
    SimLine line({}, true);
    std::filesystem::create_directory(line.folder.File("real"));
    std::filesystem::create_directory(line.folder.File("links"));
    line.folder.Write("real/Line.lvf", EarlierBackup);
    std::filesystem::create_symlink("../real/Line.lvf", line.folder.File("links/Line.lvf"));
    const auto run = RunCliInProcess(
        QStringList{"download", "--library", "5", "--file", line.Path("links/Line.lvf")} +
        line.link);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(std::filesystem::read_symlink(line.folder.File("links/Line.lvf")),
              "../real/Line.lvf");
    const std::string content = line.folder.Read("real/Line.lvf");
    EXPECT_NE(content.find("; yesterday's backup"), std::string::npos) << "other lines stay";
    EXPECT_NE(content.find("[MnemonicParms]"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(line.folder.File("real")), {}), 1);
}

// A bench library file whose "Lines" promise more lines than it holds is refused before anything
// reaches the processor, so the processor's library stays as it was.
TEST(Faults, BenchFileWithFewerLinesThanItsCountIsRefusedBeforeSending) {
    SimLine line({}, false, "B-01");
    ASSERT_EQ(
        RunCliInProcess(QStringList{"download", "--library", "5", "--file", line.Path("B.lvf")} +
                        line.link)
            .exitCode,
        0);
    std::string content = line.folder.Read("B.lvf");
    const auto count = content.rfind("Lines=");
    ASSERT_NE(count, std::string::npos);
    content.replace(count, content.find('\n', count) - count, "Lines=900");
    line.folder.Write("Short.lvf", content);
    const auto run = RunCliInProcess(
        QStringList{"upload", "--library", "9", "--file", line.Path("Short.lvf")} + line.link);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.crashed);
    EXPECT_TRUE(run.out.starts_with("Upload failed - command failed!")) << run.out << run.err;
}

// The serial device goes away and comes back (a USB adapter pulled and plugged in again): once
// its reopening failed, the port stays off until the communications dialog's OK configures it
// again; then the next action works, without restarting the program.
TEST(Faults, SerialDeviceThatComesBackWorksAgain) {
    TempFolder folder;
    const Settings settings(folder.Path());
    settings.Write(keys::Language, 0);
    settings.Write(keys::ComPort, 0);
    const QString com = QString::fromStdString(folder.File("ports/COM1"));
    auto sim = std::make_unique<SimProcess>(QStringList{"--active", "8", "--serial", com});

    QtEventLoop loop;
    QtSerialPort port(folder.Path());
    QtTcpClient tcp(loop);
    fake::FakePrompts prompts;
    fake::FakeDialogs dialogs;
    Application app(Platform{loop, port, tcp, prompts, dialogs, folder.Path()});
    app.mainForm.FormCreate();
    auto guard = loop.CreateTimer();
    bool expired = false;
    guard->SetInterval(20000);
    guard->SetOnExpiry([&] { expired = true; });
    guard->Start();
    loop.WaitUntil([&] { return expired || app.messageLog.Lines().size() >= 2; });
    ASSERT_EQ(app.messageLog.Lines().back(), "Current library is 8.");

    sim.reset(); // pulled: the query that was on its way times out
    app.mainForm.ModelComboBoxChange(11);
    EXPECT_EQ(app.messageLog.Lines().back(), "Current library is ??? - no connection!");
    // The next one finds the device gone.
    prompts.shown.clear();
    app.mainForm.ModelComboBoxChange(11);
    EXPECT_TRUE(app.transport.PortFailed());
    EXPECT_EQ(app.messageLog.Lines().back(), "Please select a valid COM port!");
    ASSERT_GE(prompts.shown.size(), 2u);
    // Named by the device its link led to, which the port keeps meaning: never /dev/ttyS0.
    EXPECT_TRUE(prompts.shown[1].starts_with("error:COM 1 leads to /dev/pts/")) << prompts.shown[1];
    const std::string gone = prompts.shown[1].substr(21, prompts.shown[1].find(',') - 21);
    EXPECT_EQ(app.mainForm.StatusLinkText(), "COM1 9600 8N2 \u2192 (missing) " + gone);
    EXPECT_EQ(app.mainForm.StatusAnswerText(), "Port not open");

    sim = std::make_unique<SimProcess>(QStringList{"--active", "8", "--serial", com}); // back
    app.mainForm.ModelComboBoxChange(11);
    EXPECT_EQ(app.messageLog.Lines().back(), "Please select a valid COM port!");
    EXPECT_TRUE(app.serialForm.OKBtnClick()) << "the communications dialog's OK reopens it";
    app.mainForm.ModelComboBoxChange(11);
    EXPECT_EQ(app.messageLog.Lines().back(), "Current library is 8.");
    // The status line names the device the port found again.
    const std::string device = std::filesystem::canonical(com.toStdString()).string();
    EXPECT_EQ(app.mainForm.StatusLinkText(), "COM1 9600 8N2 \u2192 " + device.substr(5));
    EXPECT_EQ(app.mainForm.StatusAnswerText(), "The processor answered");
}

} // namespace
