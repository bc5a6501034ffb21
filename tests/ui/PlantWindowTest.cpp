#include "AppWorld.h"
#include "core/CalendarTime.h"
#include "forms/PlantForm.h"
#include "qt/QtGitProcess.h"
#include "qt/QtLinkPlatform.h"
#include "ui/QtMainForm.h"
#include "ui/QtPlantForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <tuple>

#include <filesystem>
#include <stdlib.h>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

TEST(PlantWindow, OpensFromTheMenuShowsTheInventorysRowsAndItsButtonsReachTheModel) {
    AppWorld world;
    world.folder.Write("plant.ini", "[Line 1]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1,2\n"
                                    "[Line 2]\nModel=C-12\nTcp=10.0.0.2\nLibraries=7\n");
    std::filesystem::create_directories(world.folder.File("backup"));
    world.folder.Write("backup/manifest.json",
                       R"({"processors":[{"name":"Line 1","model":"C-12","link":"","active":2,)"
                       R"("libraries":[]}]})");

    QtMainForm main(world.app.mainForm, world.prompts);
    auto* item = main.findChild<QAction*>("MenuPlant");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Plant…");
    item->trigger();
    EXPECT_EQ(world.dialogs.shown.back(), "plant");

    QtPlantForm window(world.app.plantForm, world.prompts);
    world.dialogs.fileToOpen = world.folder.File("plant.ini");
    world.dialogs.folderToChoose = world.folder.File("backup");
    window.findChild<QPushButton*>("OpenBtn")->click();
    auto& tree = *window.findChild<QTreeWidget*>("PlantTree");
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Line 1");
    EXPECT_EQ(tree.topLevelItem(0)->text(1), "C-12");
    EXPECT_EQ(tree.topLevelItem(0)->text(3), "Library 002");
    ASSERT_EQ(tree.topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->child(1)->text(0), "Library 002");
    EXPECT_TRUE(window.findChild<QLabel*>("InventoryLabel")->text().contains("plant.ini"));

    // The selection reaches the model; the restore asks, naming what it would write.
    tree.topLevelItem(0)->child(1)->setSelected(true);
    world.prompts.answer = false;
    window.findChild<QPushButton*>("RestoreBtn")->click();
    ASSERT_FALSE(world.prompts.shown.empty());
    EXPECT_TRUE(world.prompts.shown.back().ends_with("Line 1: libraries 2"))
        << world.prompts.shown.back();
    EXPECT_FALSE(window.findChild<QPushButton*>("StopBtn")->isEnabled());
    EXPECT_TRUE(window.findChild<QPushButton*>("BackupBtn")->isEnabled());

    // German, at once.
    world.app.localisation.Apply(Language::German);
    EXPECT_EQ(window.findChild<QPushButton*>("BackupBtn")->text(), "Jetzt sichern");
    EXPECT_EQ(tree.headerItem()->text(0), "Prozessor / Bibliothek");
}

// A backup folder in a git repository with two commits of a library: the window reads its
// history through the git the program runs.
TEST(PlantWindow, ALibrarysVersionsComeFromTheBackupFoldersGitHistory) {
    AppWorld world;
    ::setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
    ::setenv("GIT_CONFIG_GLOBAL", "/dev/null", 1);
    ::setenv("GIT_CEILING_DIRECTORIES",
             std::filesystem::path(world.folder.Path()).parent_path().c_str(), 1);
    const std::string backup = world.folder.File("backup");
    std::filesystem::create_directories(backup + "/Line 1");
    const auto git = [&](std::vector<std::string> arguments, const std::string& date = "") {
        std::vector<std::pair<std::string, std::string>> environment;
        if (!date.empty())
            environment = {{"GIT_COMMITTER_DATE", date}, {"GIT_AUTHOR_DATE", date}};
        const GitOutcome outcome = RunGitProcess(backup, arguments, environment);
        EXPECT_EQ(outcome.exitCode, 0) << arguments[0] << ": " << outcome.err;
    };
    git({"init", "--quiet", "--initial-branch=main"});
    git({"config", "user.name", "Tester"});
    git({"config", "user.email", "tester@localhost"});
    for (const auto& [content, subject, date] :
         {std::tuple{"one", "first", "2026-12-01T10:00:00+00:00"},
          {"two", "second", "2026-12-02T11:30:00+00:00"}}) {
        world.folder.Write("backup/Line 1/Library 001.lvf", content);
        git({"add", "Line 1/Library 001.lvf"});
        git({"commit", "--quiet", "-m", subject}, date);
    }
    world.folder.Write("plant.ini", "[Line 1]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1,2\n");

    PlantForm form({world.app.settings,
                    world.app.localisation,
                    world.dialogs,
                    world.prompts,
                    world.app.libraryViewForm,
                    {},
                    RunGitProcess,
                    nullptr,
                    {}});
    world.dialogs.folderToChoose = backup;
    ASSERT_TRUE(form.OpenInventory(world.folder.File("plant.ini")));
    ASSERT_TRUE(form.GitFolder());
    EXPECT_EQ(form.Rows()[0].libraries[0].changed, LocalMinuteText("2026-12-02T11:30:00+00:00"));
    EXPECT_EQ(form.Rows()[0].libraries[1].changed, "") << "never backed up";

    QtPlantForm window(form, world.prompts);
    auto& tree = *window.findChild<QTreeWidget*>("PlantTree");
    tree.topLevelItem(0)->child(0)->setSelected(true);
    window.findChild<QPushButton*>("HistoryBtn")->click();
    ASSERT_EQ(form.Versions.items.size(), 2u);
    EXPECT_TRUE(
        form.Versions.items[0].starts_with(LocalMinuteText("2026-12-02T11:30:00+00:00") + "  "));
    EXPECT_TRUE(form.Versions.items[0].ends_with("  second"));
    EXPECT_TRUE(form.Versions.items[1].ends_with("  first"));
    EXPECT_TRUE(window.findChild<QWidget*>("Versions")->isVisibleTo(&window));

    // Two versions side by side, the older first, read from git without touching the folder.
    world.folder.Write("backup/Line 1/Library 001.lvf", "three");
    auto* versions = window.findChild<QListWidget*>("Versions");
    versions->item(0)->setSelected(true);
    versions->item(1)->setSelected(true);
    window.findChild<QPushButton*>("CompareVersionsBtn")->click();
    EXPECT_EQ(world.dialogs.shown.back(), "library viewer");
    const LibraryViewForm& viewer = world.app.libraryViewForm;
    ASSERT_TRUE(viewer.Comparing());
    EXPECT_EQ(viewer.FileA.caption, "Line 1/Library 001.lvf at 2026-12-01 10:00");
    EXPECT_EQ(viewer.FileB.caption, "Line 1/Library 001.lvf at 2026-12-02 11:30");
    EXPECT_EQ(world.folder.Read("backup/Line 1/Library 001.lvf"), "three");
}

// A backup started from the window runs on Qt workers whose events reach the window on its own
// thread, which stays responsive; a processor that refuses the connection is named.
TEST(PlantWindow, ABackupRunsOnQtWorkersAndItsEventsReachTheWindow) {
    AppWorld world;
    world.folder.Write("plant.ini", "[Line 1]\nModel=C-12\nTcp=127.0.0.1:1\nLibraries=1,2\n"
                                    "[Line 2]\nModel=C-12\nTcp=127.0.0.1:1\nLibraries=3\n");
    PlantForm form({world.app.settings,
                    world.app.localisation,
                    world.dialogs,
                    world.prompts,
                    world.app.libraryViewForm,
                    [] { return std::make_unique<QtLinkPlatform>(); },
                    {},
                    nullptr,
                    {}});
    world.dialogs.folderToChoose = world.folder.File("backup");
    ASSERT_TRUE(form.OpenInventory(world.folder.File("plant.ini")));
    QtPlantForm window(form, world.prompts);
    window.findChild<QPushButton*>("BackupBtn")->click();
    EXPECT_TRUE(window.findChild<QPushButton*>("StopBtn")->isEnabled());
    EXPECT_FALSE(window.findChild<QPushButton*>("BackupBtn")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Running(); }, 30'000));
    const QString log = window.findChild<QPlainTextEdit*>("Log")->toPlainText();
    EXPECT_TRUE(log.contains("Backup finished: 0 changed, 0 unchanged, 3 failed."))
        << log.toStdString();
    EXPECT_TRUE(log.startsWith("Line ")) << log.toStdString();
    auto& tree = *window.findChild<QTreeWidget*>("PlantTree");
    EXPECT_TRUE(tree.topLevelItem(1)->text(5).startsWith("not reached: "))
        << tree.topLevelItem(1)->text(5).toStdString();
    EXPECT_TRUE(window.findChild<QPushButton*>("BackupBtn")->isEnabled());
}

} // namespace
