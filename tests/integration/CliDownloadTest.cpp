#include "CliInProcess.h"
#include "PtyPair.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "core/CurrentModel.h"
#include "core/ProfileFile.h"
#include "core/Settings.h"
#include "tables/Assembly.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <unistd.h>
#include <vector>

using namespace setfolio;
using setfolio::testing::Q;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

// The simulator's libraries, as it saved them.
QJsonObject SimLibrary(const std::string& stateFile, int library) {
    QFile file(QString::fromStdString(stateFile));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value("libraries")
        .toObject()
        .value(QString::number(library))
        .toObject()
        .value("parameters")
        .toObject();
}

class CliDownload : public ::testing::TestWithParam<bool> {};

TEST_P(CliDownload, LibraryFileHoldsTheProcessorsValuesAndBlocksGetNumberedFiles) {
    const bool overTcp = GetParam();
    TempFolder folder;
    const std::string state = folder.File("state.json");
    SimProcess sim(
        QStringList{"--model", "C-12", "--active", "7", "--state", QString::fromStdString(state)} +
        SimProcess::LinkArgs(overTcp, folder.File("COM1")));
    const QStringList link = sim.CliLink();

    // A download only reads: the processor goes back to the library it runs.
    const std::string path = folder.File("Line.lvf");
    auto run = RunCliInProcess(QStringList{"download", "--model", "C-12", "--library", "5",
                                           "--file", QString::fromStdString(path)} +
                               link);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Download of library 5 to " + path + " complete.\nCurrent library is 7.\n");
    const auto active = [&state] {
        QFile file(QString::fromStdString(state));
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object().value("active").toInt(-1);
    };
    EXPECT_EQ(active(), 7);

    // Decoded through the model's tables, the file says what the processor holds.
    const Settings noSettings(folder.File("none"));
    CurrentModel model(noSettings);
    model.Use(0);
    ParameterTables tables;
    AssembleParameterTables(tables, model, 0);
    const QJsonObject held = SimLibrary(state, 5);
    const ProfileFile file(path);
    int keys = 0;
    auto expect = [&](const char* section, const std::string& name) {
        ++keys;
        EXPECT_EQ(file.ReadText(section, name, "?"),
                  held.value(QString::fromStdString(name)).toString().toStdString())
            << name;
    };
    for (const auto& row : tables.MnemonicList.Rows())
        expect("MnemonicParms", row.name);
    for (const auto& row : tables.CondMnemonicList.Rows())
        expect("CondMnemonicParms", row.name);
    for (const auto& row : tables.NumericList.Rows())
        expect("NumericParms", row.name);
    for (const auto& row : tables.HeaderList.Rows())
        expect("HeaderParms", row.name);
    EXPECT_EQ(keys, 401);
    const auto content = [&] {
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::ReadOnly);
        return f.readAll().toStdString();
    }();
    EXPECT_EQ(std::count(content.begin(), content.end(), '='), 402);
    EXPECT_TRUE(content.starts_with("[SystemSettings]\r\nModelNo=0\r\n[MnemonicParms]\r\n"));

    run = RunCliInProcess(QStringList{"download", "--model", "C-12", "--library", "3", "--to", "5",
                                      "--file", QString::fromStdString(folder.File("B.lvf"))} +
                          link);
    EXPECT_EQ(run.exitCode, 0);
    for (const char* name : {"B 003.lvf", "B 004.lvf", "B 005.lvf"})
        EXPECT_TRUE(std::filesystem::exists(folder.File(name))) << name;
    EXPECT_TRUE(run.out.ends_with("complete.\nCurrent library is 7.\n")) << run.out;
    EXPECT_EQ(active(), 7);
}

INSTANTIATE_TEST_SUITE_P(Links, CliDownload, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "tcp" : "serial"; });

// What a terminal shows of bytes written to it: a carriage return goes back to the start of the
// line, and later characters cover earlier ones; blanks at a line's end do not show.
std::string Screen(const std::string& bytes) {
    std::vector<std::string> lines{""};
    std::size_t column = 0;
    for (const char c : bytes) {
        if (c == '\r') {
            column = 0;
        } else if (c == '\n') {
            lines.emplace_back();
            column = 0;
        } else {
            auto& line = lines.back();
            if (column >= line.size())
                line.resize(column + 1, ' ');
            line[column++] = c;
        }
    }
    std::string screen;
    for (auto& line : lines) {
        line.erase(line.find_last_not_of(' ') + 1);
        screen += line + "\n";
    }
    screen.pop_back();
    return screen;
}

// Progress is drawn on standard error when that is a terminal, labelled with the library and its
// place in a block, and cleared before any other line is printed: on a terminal both streams
// share the screen, so no line of the command's may start behind it.
TEST(CliDownloadProgress, IsDrawnOnATerminalOnlyAndNeverSharesALine) {
    TempFolder folder;
    SimProcess sim({"--model", "C-12", "--tcp", "0"});
    const std::string path = folder.File("Line.lvf");
    const QStringList args = QStringList{"download", "--model", "C-12",   "--library", "3",
                                         "--to",     "4",       "--file", Q(path)} +
                             sim.CliLink();
    const std::string lines = "Download of library 3 to " + folder.File("Line 003.lvf") +
                              " complete.\nDownload of library 4 to " +
                              folder.File("Line 004.lvf") + " complete.\nCurrent library is 0.\n";
    // Afterwards the simulator is back on the library it runs from its start, 0.
    // Both streams into one, as on a terminal.
    std::istringstream in;
    std::ostringstream screen;
    const int status = cli::RunCommandLine(args, {in, screen, screen, true});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Screen(screen.str()), lines);
    for (const std::string drawn :
         {"\rLibrary 3: 1 of 401, library 1 of 2", "\rLibrary 4: 401 of 401, library 2 of 2"})
        EXPECT_NE(screen.str().find(drawn), std::string::npos) << drawn;

    auto run = RunCliInProcess(args);
    EXPECT_EQ(run.out, lines);
    EXPECT_EQ(run.err, "");
    // A single library has no place to tell.
    run = RunCliInProcess(
        QStringList{"download", "--model", "C-12", "--library", "5", "--file", Q(path)} +
            sim.CliLink(),
        {.errIsTerminal = true});
    EXPECT_TRUE(run.err.starts_with("\rLibrary 5: 1 of 401\rLibrary 5: 2 of 401"))
        << run.err.substr(0, 60);
    EXPECT_EQ(Screen(run.err), "") << "the line is cleared at the end";
}

// The same through the program on a real pseudo-terminal: it tells a terminal by itself.
TEST(CliDownloadProgress, OnARealTerminalNoLineStartsBehindTheProgress) {
    TempFolder folder;
    SimProcess sim({"--model", "C-12", "--tcp", "0"});
    setfolio::testing::PtyPair terminal;
    const std::string path = folder.File("Line.lvf");
    QProcess process;
    const std::string slave = terminal.SlavePath();
    process.setChildProcessModifier([slave] {
        const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
        ::dup2(fd, 1);
        ::dup2(fd, 2);
    });
    std::string shown;
    QSocketNotifier readable(terminal.MasterFd(), QSocketNotifier::Read);
    QObject::connect(&readable, &QSocketNotifier::activated,
                     [&] { shown += terminal.ReadAvailable(); });
    QEventLoop wait;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QTimer::singleShot(60000, &wait, &QEventLoop::quit);
    process.start(SETFOLIO_CLI_PATH,
                  QStringList{"download", "--model", "C-12", "--library", "5", "--file", Q(path)} +
                      sim.CliLink());
    wait.exec();
    ASSERT_EQ(process.state(), QProcess::NotRunning);
    shown += terminal.ReadAvailable();
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_NE(shown.find("\rLibrary 5: 200 of 401"), std::string::npos);
    EXPECT_EQ(Screen(shown),
              "Download of library 5 to " + path + " complete.\nCurrent library is 0.\n");
}

class CliRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(CliRoundTrip, UploadOfADownloadMakesTheLibrariesEqual) {
    const bool overTcp = GetParam();
    TempFolder folder;
    const std::string state = folder.File("state.json");
    SimProcess sim(QStringList{"--model", "C-12", "--state", QString::fromStdString(state)} +
                   SimProcess::LinkArgs(overTcp, folder.File("COM1")));
    const QStringList link = sim.CliLink();
    const auto file = [&](const char* name) { return QString::fromStdString(folder.File(name)); };

    EXPECT_EQ(RunCliInProcess(QStringList{"download", "--model", "C-12", "--library", "5", "--file",
                                          file("Line.lvf")} +
                              link)
                  .exitCode,
              0);
    auto run = RunCliInProcess(
        QStringList{"upload", "--model", "C-12", "--library", "9", "--file", file("Line.lvf")} +
        link);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Upload of " + folder.File("Line.lvf") +
                           " to library 9 complete.\nCurrent library is 9.\n");
    EXPECT_EQ(SimLibrary(state, 9), SimLibrary(state, 5));
    EXPECT_EQ(SimLibrary(state, 9).size(), 401);

    // A block: libraries 3 and 4 out, into 20 and 21.
    EXPECT_EQ(RunCliInProcess(QStringList{"download", "--model", "C-12", "--library", "3", "--to",
                                          "4", "--file", file("B.lvf")} +
                              link)
                  .exitCode,
              0);
    run = RunCliInProcess(QStringList{"upload", "--model", "C-12", "--library", "20", "--to", "21",
                                      "--file", file("B 003.lvf")} +
                          link);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(SimLibrary(state, 20), SimLibrary(state, 3));
    EXPECT_EQ(SimLibrary(state, 21), SimLibrary(state, 4));
}

INSTANTIATE_TEST_SUITE_P(Links, CliRoundTrip, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "tcp" : "serial"; });

// Over TCP, where a long wait for the first reply line has a time-out of its own; on the serial
// line the same download runs on the virtual clock
// (DownloadCoded.WaitsForAProcessorThatTakes3sToSwitch).
class CliSlowSwitch : public ::testing::TestWithParam<bool> {};

TEST_P(CliSlowSwitch, DownloadWaitsForAProcessorThatTakes3sToSwitch) {
    TempFolder folder;
    folder.Write("faults.txt", "slow-switch 3");
    SimProcess sim(QStringList{"--model", "C-19", "--active", "2", "--faults",
                               QString::fromStdString(folder.File("faults.txt"))} +
                   SimProcess::LinkArgs(GetParam(), folder.File("COM1")));
    const std::string path = folder.File("Line.lvf");
    const auto run = RunCliInProcess(QStringList{"download", "--model", "C-19", "--library", "5",
                                                 "--file", QString::fromStdString(path)} +
                                     sim.CliLink());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Download of library 5 to " + path + " complete.\nCurrent library is 2.\n");
}

INSTANTIATE_TEST_SUITE_P(Links, CliSlowSwitch, ::testing::Values(true),
                         [](const auto& param) { return param.param ? "tcp" : "serial"; });

struct MenuCase {
    const char* model;
    bool overTcp;
};

class CliMenuRoundTrip : public ::testing::TestWithParam<MenuCase> {};

TEST_P(CliMenuRoundTrip, LibraryAndGlobalValuesComeBack) {
    const auto [model, overTcp] = GetParam();
    TempFolder folder;
    const std::string state = folder.File("state.json");
    SimProcess sim(QStringList{"--model", model, "--state", QString::fromStdString(state)} +
                   SimProcess::LinkArgs(overTcp, folder.File("COM1")));
    const QStringList link = sim.CliLink();
    const QString file = QString::fromStdString(folder.File("Menu.lvf"));
    auto run = RunCliInProcess(
        QStringList{"download", "--model", model, "--library", "5", "--file", file} + link);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    run = RunCliInProcess(
        QStringList{"upload", "--model", model, "--library", "9", "--file", file} + link);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_FALSE(SimLibrary(state, 5).isEmpty());
    EXPECT_EQ(SimLibrary(state, 9), SimLibrary(state, 5));
}

INSTANTIATE_TEST_SUITE_P(Models, CliMenuRoundTrip,
                         ::testing::Values(MenuCase{"M-02", false}, MenuCase{"M-02", true},
                                           MenuCase{"M-12", false}, MenuCase{"M-12", true}),
                         [](const auto& param) {
                             return std::string(param.param.model[2] == '0' ? "M02" : "M12") +
                                    (param.param.overTcp ? "_tcp" : "_serial");
                         });

TEST(CliDownloadErrors, FailedLibraryExitsWith1AndKeepsTheEarlierFile) {
    TempFolder folder;
    folder.Write("faults.txt", "silent 4");
    SimProcess sim({"--model", "C-12", "--serial", QString::fromStdString(folder.File("COM1")),
                    "--faults", QString::fromStdString(folder.File("faults.txt"))});
    folder.Write("Line.lvf", "earlier backup");
    const auto run = RunCliInProcess({"download", "--model", "C-12", "--library", "2", "--file",
                                      QString::fromStdString(folder.File("Line.lvf")), "--serial",
                                      QString::fromStdString(folder.File("COM1"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.starts_with("Download failed - no connection!\n")) << run.out;
    EXPECT_EQ(folder.Read("Line.lvf"), "earlier backup");
}

// With a baud rate the simulator holds every command until it has crossed the emulated wire and
// every reply for its own wire time, as a serial line would: an M-12 library (some 800 bytes
// sent, 900 received) takes at least 1.7 s at 9600 baud, not half of it.
TEST(CliDownloadTiming, SimulatorHoldsCommandsAndRepliesForTheirWireTime) {
    TempFolder folder;
    SimProcess sim({"--model", "M-12", "--baud", "9600", "--serial",
                    QString::fromStdString(folder.File("COM1"))});
    QElapsedTimer clock;
    clock.start();
    const auto run = RunCliInProcess({"download", "--model", "M-12", "--library", "1", "--file",
                                      QString::fromStdString(folder.File("Line.lvf")), "--serial",
                                      QString::fromStdString(folder.File("COM1"))});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_GE(clock.elapsed(), 1700);
}

} // namespace
