#include "AppWorld.h"
#include "ui/QtMainForm.h"
#include "ui/QtPlantForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

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

} // namespace
