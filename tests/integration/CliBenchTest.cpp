#include "CliInProcess.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "core/ProfileFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

// A dump of `count` lines as the processor gives it: the first line names the section and
// carries the size of the whole dump in bytes, line ends included, as its second word.
std::vector<std::string> Dump(const std::string& section, int count) {
    std::vector<std::string> lines;
    std::size_t bodyBytes = 0;
    for (int k = 2; k <= count; ++k) {
        lines.push_back(section + ".P" + std::to_string(k) + ":" +
                        std::to_string(k * 7919 % 100000) + "," + std::to_string(k % 13));
        bodyBytes += lines.back().size() + 2;
    }
    std::size_t bytes = bodyBytes;
    for (;;) {
        const std::string first = "#" + section + " " + std::to_string(bytes) + " LIBRARY 7";
        if (bodyBytes + first.size() + 2 == bytes) {
            lines.insert(lines.begin(), first);
            return lines;
        }
        bytes = bodyBytes + first.size() + 2;
    }
}

QJsonArray ToJson(const std::vector<std::string>& lines) {
    QJsonArray array;
    for (const auto& line : lines)
        array.append(QString::fromStdString(line));
    return array;
}

// The simulator's state: library 7 with these dumps, library 5 active.
std::string State(const std::vector<std::string>& common, const std::vector<std::string>& user) {
    return QJsonDocument(
               QJsonObject{{"active", 5},
                           {"libraries", QJsonObject{{"7", QJsonObject{{"common", ToJson(common)},
                                                                       {"user", ToJson(user)}}}}}})
        .toJson()
        .toStdString();
}

// A section of a library as the simulator saved it.
QJsonArray SimSection(const std::string& stateFile, int library, const char* section) {
    QFile file(QString::fromStdString(stateFile));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value("libraries")
        .toObject()
        .value(QString::number(library))
        .toObject()
        .value(section)
        .toArray();
}

class CliBenchRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(CliBenchRoundTrip, TwoThousandLineDumpOutAndBackIn) {
    const bool overTcp = GetParam();
    TempFolder folder;
    const std::string state = folder.File("state.json");
    const auto common = Dump("COMMON", 40);
    const auto user = Dump("USER", 2000);
    folder.Write("state.json", State(common, user));
    SimProcess sim(QStringList{"--model", "B-01", "--state", QString::fromStdString(state)} +
                   SimProcess::LinkArgs(overTcp, folder.File("COM1")));
    const QStringList link = sim.CliLink();
    const std::string path = folder.File("Bench.lvf");
    const QString file = QString::fromStdString(path);

    auto run = RunCliInProcess(
        QStringList{"download", "--model", "B-01", "--library", "7", "--file", file} + link);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    // The processor goes back to the library it runs (5, as its state has it).
    EXPECT_EQ(run.out, "Download of library 7 to " + path + " complete.\nCurrent library is 5.\n");
    const std::string content = folder.Read("Bench.lvf");
    for (const auto& [section, lines] : {std::pair{"Common", common}, std::pair{"User", user}}) {
        EXPECT_EQ(profile::FindValue(content, section, "Lines"), std::to_string(lines.size()));
        for (std::size_t k = 0; k < lines.size(); ++k)
            ASSERT_EQ(profile::FindValue(content, section, std::to_string(k + 1)), lines[k])
                << section << " " << k + 1;
    }

    run = RunCliInProcess(QStringList{"upload", "--model", "B-01", "--library", "12", "--file",
                                      file, "--include-cal"} +
                          link);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "Upload of " + path + " to library 12 complete.\nCurrent library is 12.\n");
    EXPECT_EQ(SimSection(state, 12, "user"), ToJson(user));
    EXPECT_EQ(SimSection(state, 12, "common"), ToJson(common));

    // Without the calibration data only the User dump goes.
    run = RunCliInProcess(
        QStringList{"upload", "--model", "B-01", "--library", "13", "--file", file} + link);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(SimSection(state, 13, "user"), ToJson(user));
    EXPECT_TRUE(SimSection(state, 13, "common").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Links, CliBenchRoundTrip, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "tcp" : "serial"; });

// Far more lines than any real dump: each costs as little as the first, and the file holds them
// all in the form a small dump has.
TEST(CliBenchLarge, ThirtyTwoThousandLineDumpIsStoredWhole) {
    TempFolder folder;
    const auto common = Dump("COMMON", 40);
    const auto user = Dump("USER", 32000);
    folder.Write("state.json", State(common, user));
    SimProcess sim({"--model", "B-01", "--state", QString::fromStdString(folder.File("state.json")),
                    "--tcp", "0"});
    const auto run =
        RunCliInProcess(QStringList{"download", "--model", "B-01", "--library", "7", "--file",
                                    QString::fromStdString(folder.File("Bench.lvf"))} +
                        sim.CliLink());
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    std::string expected = "[SystemSettings]\r\nModelNo=5\r\n";
    for (const auto& [section, lines] : {std::pair{"Common", common}, std::pair{"User", user}}) {
        expected +=
            "[" + std::string(section) + "]\r\nLines=" + std::to_string(lines.size()) + "\r\n";
        for (std::size_t k = 0; k < lines.size(); ++k)
            expected += std::to_string(k + 1) + "=" + lines[k] + "\r\n";
    }
    EXPECT_TRUE(folder.Read("Bench.lvf") == expected) << "the file differs from the dump";
}

TEST(CliBenchErrors, DumpThatGoesOnPastItsSizeIsCutOff) {
    TempFolder folder;
    auto user = Dump("USER", 8000);
    user.front() = "#USER 500 LIBRARY 7";
    folder.Write("state.json", State(Dump("COMMON", 40), user));
    SimProcess sim({"--model", "B-01", "--state", QString::fromStdString(folder.File("state.json")),
                    "--tcp", "0"});
    folder.Write("Bench.lvf", "earlier backup");
    const auto run =
        RunCliInProcess(QStringList{"download", "--model", "B-01", "--library", "7", "--file",
                                    QString::fromStdString(folder.File("Bench.lvf"))} +
                        sim.CliLink());
    EXPECT_EQ(run.exitCode, 1);
    // Then the library the processor has: its answer may be lost in what it still sends.
    EXPECT_TRUE(run.out.starts_with("Download failed - command failed!\nThe User dump went on past "
                                    "the 500 bytes its first line announced and was cut off.\n"
                                    "Current library is "))
        << run.out;
    EXPECT_EQ(folder.Read("Bench.lvf"), "earlier backup");
}

TEST(CliBenchErrors, RefusedUserDumpKeepsTheEarlierFile) {
    TempFolder folder;
    folder.Write("faults.txt", "refuse SYST.LIBRARY.USER? NAK\n");
    SimProcess sim({"--model", "B-02", "--serial", QString::fromStdString(folder.File("COM1")),
                    "--faults", QString::fromStdString(folder.File("faults.txt"))});
    folder.Write("Bench.lvf", "earlier backup");
    const auto run = RunCliInProcess({"download", "--model", "B-02", "--library", "3", "--file",
                                      QString::fromStdString(folder.File("Bench.lvf")), "--serial",
                                      QString::fromStdString(folder.File("COM1"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "Download failed - command failed!\nCurrent library is 0.\n");
    EXPECT_EQ(folder.Read("Bench.lvf"), "earlier backup");
}

} // namespace
