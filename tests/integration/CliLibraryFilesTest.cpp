// setfolio-cli show, diff and verify of library files, and of a simulated processor's libraries.
#include "CliInProcess.h"
#include "SimProcess.h"
#include "TempFolder.h"
#include "core/ProfileFile.h"
#include "library/LibraryDecoder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::Q;
using setfolio::testing::RunCliInProcess;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

TEST(CliLibraryFiles, ShowDiffAndVerifyAgainstTheProcessor) {
    TempFolder folder;
    SimProcess sim({"--model", "C-12", "--active", "3", "--tcp", "0"});
    const QStringList link = QStringList{"--model", "C-12"} + sim.CliLink();
    const auto run = [&](QStringList args) { return RunCliInProcess(args + link); };
    const std::string a = folder.File("a.lvf");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(a)}).exitCode, 0);

    // Every choice shows the text its stored index stands for in the model's tables.
    const auto shown = RunCliInProcess({"show", Q(a), "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(shown.out)).object();
    EXPECT_EQ(json.value("model").toString(), "C-12");
    const ParameterTables tables = TablesOf(0);
    int choices = 0;
    for (const auto section : json.value("sections").toArray()) {
        if (section.toObject().value("name") != "MnemonicParms")
            continue;
        for (const auto parameter : section.toObject().value("parameters").toArray()) {
            const auto name = parameter.toObject().value("name").toString().toStdString();
            const auto stored = parameter.toObject().value("stored").toString().toInt();
            for (const auto& row : tables.MnemonicList.Rows()) {
                if (row.name == name) {
                    EXPECT_EQ(
                        parameter.toObject().value("text").toString().toLatin1().toStdString(),
                        row.values.values[static_cast<std::size_t>(stored)])
                        << name;
                    ++choices;
                }
            }
        }
    }
    EXPECT_EQ(choices, tables.MnemonicCount());
    EXPECT_TRUE(json.value("problems").toArray().isEmpty());

    // One value changed in the processor: diff and verify name exactly that one.
    const auto same = run({"verify", "--library", "5", "--file", Q(a)});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_NE(same.out.find("Library 5 matches " + a + ".\n"), std::string::npos) << same.out;
    const std::string changed = folder.File("changed.lvf");
    folder.Write("changed.lvf",
                 profile::SetValue(folder.Read("a.lvf"), "MnemonicParms", "MeasUnits", "00"));
    ASSERT_EQ(run({"upload", "--library", "5", "--file", Q(changed), "--verify"}).exitCode, 0);
    const std::string b = folder.File("b.lvf");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(b)}).exitCode, 0);
    const auto diff = RunCliInProcess({"diff", Q(a), Q(b)});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "MnemonicParms/MeasUnits: 01 \"MM     \" -> 00 \"INCHES \"\n");
    // Verify names the sides: what the file holds, and what the processor does.
    const auto verify = run({"verify", "--library", "5", "--file", Q(a)});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_NE(verify.out.find("Library 5 differs from " + a +
                              ":\nMnemonicParms/MeasUnits: file 01 \"MM     \" -> processor 00 "
                              "\"INCHES \"\n"),
              std::string::npos)
        << verify.out;
    EXPECT_EQ(RunCliInProcess({"diff", Q(b), Q(b)}).exitCode, 0);

    // Verifying only reads: the processor is back on the library it had.
    ASSERT_EQ(run({"select", "3"}).exitCode, 0);
    run({"verify", "--library", "5", "--file", Q(b)});
    EXPECT_EQ(run({"library"}).out, "Current library is 3.\n");
}

// Scripts tell "they differ" (1) from trouble (2): a file that cannot be read, a link that failed.
TEST(CliLibraryFiles, DifferencesAndTroubleHaveExitStatusesOfTheirOwn) {
    TempFolder folder;
    folder.Write("faults.txt", "silent 4"); // no parameter is ever read
    SimProcess sim({"--model", "C-12", "--tcp", "0"});
    SimProcess silent({"--model", "C-12", "--tcp", "0", "--faults", Q(folder.File("faults.txt"))});
    const QStringList link = QStringList{"--model", "C-12"} + sim.CliLink();
    const QStringList silentLink = QStringList{"--model", "C-12"} + silent.CliLink();
    // A block of three, the middle one changed since.
    ASSERT_EQ(RunCliInProcess(QStringList{"download", "--library", "3", "--to", "5", "--file",
                                          Q(folder.File("B.lvf"))} +
                              link)
                  .exitCode,
              0);
    const std::string b4 = folder.File("B 004.lvf");
    const bool inches = ProfileFile(b4).ReadText("MnemonicParms", "MeasUnits", "") == "00";
    const std::string held = inches ? "00 \"INCHES \"" : "01 \"MM     \"";
    const std::string changed = inches ? "01 \"MM     \"" : "00 \"INCHES \"";
    folder.Write("B 004.lvf", profile::SetValue(folder.Read("B 004.lvf"), "MnemonicParms",
                                                "MeasUnits", changed.substr(0, 2)));
    const std::string missing = folder.File("missing.lvf");
    const std::string closed = "127.0.0.1:" + std::to_string(setfolio::testing::ClosedTcpPort());
    const struct {
        QStringList args;
        int status;
        std::string shown; // on either stream
    } cases[] = {
        {QStringList{"verify", "--library", "3", "--to", "5", "--file", Q(folder.File("B.lvf"))} +
             link,
         1,
         "Library 3 matches " + folder.File("B 003.lvf") + ".\nLibrary 4 differs from " + b4 +
             ":\nMnemonicParms/MeasUnits: file " + changed + " -> processor " + held +
             "\n"
             "Library 5 matches " +
             folder.File("B 005.lvf") + ".\n"},
        {QStringList{"verify", "--library", "3", "--file", Q(missing)} + link, 2,
         "cannot read " + missing + ": no such file or directory\n"},
        {QStringList{"verify", "--library", "3", "--file", Q(b4)} + silentLink, 2,
         "Download failed - no connection!\n"},
        {QStringList{"verify", "--library", "3", "--file", Q(b4), "--model", "C-12", "--tcp",
                     Q(closed)},
         2, "cannot connect to 127.0.0.1 port "},
        {{"show", Q(folder.Path())}, 2, "cannot read " + folder.Path() + ": it is a folder\n"},
        {{"show", Q(missing)}, 2, "cannot read " + missing + ": no such file or directory\n"},
        {{"diff", Q(b4), Q(folder.Path())},
         2,
         "cannot read " + folder.Path() + ": it is a folder\n"},
        {{"diff", Q(b4), Q(b4)}, 0, ""},
    };
    for (const auto& [args, status, shown] : cases) {
        const auto run = RunCliInProcess(args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, status) << what << "\n" << run.out << run.err;
        EXPECT_NE((run.out + run.err).find(shown), std::string::npos) << what << "\n"
                                                                      << run.out << run.err;
    }
}

// C-30's QvSelect reads "N/A " for choices 2, 3 and 4. A file holding 03 uploads and verifies
// without a false difference, diff calls two such numbers the same, and a download into a file
// keeps the file's number.
TEST(CliLibraryFiles, ChoicesWithTheSameTextAreTheSame) {
    TempFolder folder;
    SimProcess sim({"--model", "C-30", "--active", "3", "--tcp", "0"});
    const QStringList link = QStringList{"--model", "C-30"} + sim.CliLink();
    const auto run = [&](QStringList args) { return RunCliInProcess(args + link); };
    const std::string a = folder.File("a.lvf");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(a)}).exitCode, 0);
    const std::string three = folder.File("three.lvf");
    folder.Write("three.lvf",
                 profile::SetValue(folder.Read("a.lvf"), "MnemonicParms", "QvSelect", "03"));
    const auto uploaded = run({"upload", "--library", "5", "--file", Q(three), "--verify"});
    EXPECT_EQ(uploaded.exitCode, 0) << uploaded.out;
    EXPECT_EQ(run({"verify", "--library", "5", "--file", Q(three)}).exitCode, 0);

    const std::string fresh = folder.File("fresh.lvf");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(fresh)}).exitCode, 0);
    EXPECT_EQ(ProfileFile(fresh).ReadText("MnemonicParms", "QvSelect", ""), "02");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(three)}).exitCode, 0);
    EXPECT_EQ(ProfileFile(three).ReadText("MnemonicParms", "QvSelect", ""), "03");

    const auto diff = RunCliInProcess({"diff", Q(fresh), Q(three)});
    EXPECT_EQ(diff.exitCode, 0);
    EXPECT_EQ(diff.out, "MnemonicParms/QvSelect: 02 \"N/A \" -> 03 \"N/A \" (same text)\n");
}

TEST(CliLibraryFiles, RepeatedNamesAndValuesThatCannotBeSent) {
    TempFolder folder;
    SimProcess sim({"--model", "C-12", "--active", "3", "--tcp", "0"});
    const QStringList link = QStringList{"--model", "C-12"} + sim.CliLink();
    const auto run = [&](QStringList args) { return RunCliInProcess(args + link); };
    const std::string a = folder.File("a.lvf");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(a)}).exitCode, 0);
    const std::string original = folder.Read("a.lvf");
    const auto lines = std::count(original.begin(), original.end(), '\n');

    // The section again at the end, with another choice: readers take the first.
    const std::string twice = folder.File("twice.lvf");
    folder.Write("twice.lvf", original + "[MnemonicParms]\r\nMeasUnits=00\r\n");
    const auto shown = RunCliInProcess({"show", Q(twice)});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("problem: [MnemonicParms] comes again on line " +
                             std::to_string(lines + 1) +
                             "; readers ignore that section and its 1 keys.\n"),
              std::string::npos)
        << shown.out;
    const auto diff = RunCliInProcess({"diff", Q(a), Q(twice)});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "MnemonicParms/MeasUnits: 01 \"MM     \" -> 01 \"MM     \" (again, "
                        "unused: 00)\n");
    EXPECT_EQ(run({"upload", "--library", "5", "--file", Q(twice), "--verify"}).exitCode, 0);
    EXPECT_EQ(run({"verify", "--library", "5", "--file", Q(a)}).exitCode, 0) << "01 was sent";

    // A choice that is no number: refused before the library is selected.
    const std::string bad = folder.File("bad.lvf");
    folder.Write("bad.lvf", profile::SetValue(original, "MnemonicParms", "MeasUnits", "x1"));
    ASSERT_EQ(run({"select", "3"}).exitCode, 0);
    const auto refused = run({"upload", "--library", "6", "--file", Q(bad)});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE((refused.out + refused.err)
                  .find("Upload failed - " + bad +
                        " holds values that cannot be sent; nothing was sent: "
                        "MnemonicParms/MeasUnits is not a number of one to three digits."),
              std::string::npos)
        << refused.out << refused.err;
    EXPECT_EQ(run({"library"}).out, "Current library is 3.\n");
}

} // namespace
