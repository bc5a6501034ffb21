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
    EXPECT_EQ(run({"verify", "--library", "5", "--file", Q(a)}).exitCode, 0);
    const std::string changed = folder.File("changed.lvf");
    folder.Write("changed.lvf",
                 profile::SetValue(folder.Read("a.lvf"), "MnemonicParms", "MeasUnits", "00"));
    ASSERT_EQ(run({"upload", "--library", "5", "--file", Q(changed), "--verify"}).exitCode, 0);
    const std::string b = folder.File("b.lvf");
    ASSERT_EQ(run({"download", "--library", "5", "--file", Q(b)}).exitCode, 0);
    const auto diff = RunCliInProcess({"diff", Q(a), Q(b)});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "MnemonicParms/MeasUnits: 01 \"MM     \" -> 00 \"INCHES \"\n");
    const auto verify = run({"verify", "--library", "5", "--file", Q(a)});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_NE(verify.out.find(diff.out), std::string::npos) << verify.out;
    EXPECT_EQ(RunCliInProcess({"diff", Q(b), Q(b)}).exitCode, 0);

    // Verifying only reads: the processor is back on the library it had.
    ASSERT_EQ(run({"select", "3"}).exitCode, 0);
    run({"verify", "--library", "5", "--file", Q(b)});
    EXPECT_EQ(run({"library"}).out, "Current library is 3.\n");
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
