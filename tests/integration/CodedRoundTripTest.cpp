#include "CliProcess.h"
#include "SimProcess.h"
#include "TempFolder.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

using setfolio::testing::RunCli;
using setfolio::testing::SimProcess;
using setfolio::testing::TempFolder;

namespace {

// The file without its first section, which names the model.
std::string Parameters(const TempFolder& folder, const std::string& name) {
    const std::string content = folder.Read(name);
    return content.substr(content.find("[MnemonicParms]"));
}

class CodedRoundTrip : public ::testing::TestWithParam<const char*> {};

// Library 5 out, into library 9, and out again: both files hold the same values.
TEST_P(CodedRoundTrip, UploadedLibraryDownloadsAsTheOriginal) {
    const QString model = GetParam();
    TempFolder folder;
    const QString com = QString::fromStdString(folder.File("COM1"));
    SimProcess sim({"--model", model, "--serial", com});
    const auto file = [&](const char* name) { return QString::fromStdString(folder.File(name)); };
    const QStringList link{"--model", model, "--serial", com};

    ASSERT_EQ(
        RunCli(QStringList{"download", "--library", "5", "--file", file("A.lvf")} + link).exitCode,
        0);
    ASSERT_EQ(
        RunCli(QStringList{"upload", "--library", "9", "--file", file("A.lvf")} + link).exitCode,
        0);
    ASSERT_EQ(
        RunCli(QStringList{"download", "--library", "9", "--file", file("B.lvf")} + link).exitCode,
        0);
    EXPECT_EQ(Parameters(folder, "B.lvf"), Parameters(folder, "A.lvf"));
}

// One model of every coded base set.
INSTANTIATE_TEST_SUITE_P(BaseSets, CodedRoundTrip,
                         ::testing::Values("C-01", "C-02", "C-03", "C-04", "C-05", "C-06", "C-07",
                                           "C-08", "C-09", "C-10", "C-12", "C-14", "C-16", "C-17",
                                           "C-18", "C-19", "C-21", "C-22", "C-27", "C-30", "C-31"),
                         [](const auto& param) {
                             std::string name = param.param;
                             name.erase(1, 1);
                             return name;
                         });

} // namespace
