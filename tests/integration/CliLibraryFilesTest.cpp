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

} // namespace
