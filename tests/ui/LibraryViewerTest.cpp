#include "AppWorld.h"
#include "ui/QtLibraryViewForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

const std::string C12 = "[SystemSettings]\r\nModelNo=0\r\n";

TEST(LibraryViewer, OpensFromTheMenuFiltersAndComparesTwoFiles) {
    AppWorld world;
    world.folder.Write("a.lvf", C12 + "[MnemonicParms]\r\nMeasUnits=00\r\nRounding=01\r\n"
                                      "[NumericParms]\r\nT1Limit=12.5\r\n");
    world.folder.Write("b.lvf", C12 + "[MnemonicParms]\r\nMeasUnits=01\r\nRounding=01\r\n"
                                      "[NumericParms]\r\nT1Limit=12.5\r\nT2Limit=3\r\n");
    world.dialogs.fileToOpen = world.folder.File("a.lvf");
    world.app.mainForm.MenuViewLibraryClick();
    EXPECT_EQ(world.dialogs.shown.back(), "library viewer");

    QtLibraryViewForm viewer(world.app.libraryViewForm, world.prompts);
    auto& table = *viewer.findChild<QTableWidget*>("ParameterTable");
    EXPECT_EQ(table.columnCount(), 4);
    EXPECT_EQ(table.rowCount(), 4); // ModelNo and the three keys
    EXPECT_EQ(table.item(1, 1)->text(), "MeasUnits");
    EXPECT_EQ(table.item(1, 3)->text(), "\"INCHES \"");
    // The file lacks most of C-12's rows: named below the table, not hidden.
    EXPECT_TRUE(
        viewer.findChild<QPlainTextEdit*>("Problems")->toPlainText().contains("not in the file"));

    QTest::keyClicks(viewer.findChild<QLineEdit*>("FilterEdit"), "inch");
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.item(0, 1)->text(), "MeasUnits");
    for (int typed = 0; typed < 4; ++typed)
        QTest::keyClick(viewer.findChild<QLineEdit*>("FilterEdit"), Qt::Key_Backspace);
    EXPECT_EQ(table.rowCount(), 4);

    // Side by side, and only what differs until that box is cleared.
    world.dialogs.fileToOpen = world.folder.File("b.lvf");
    viewer.findChild<QPushButton*>("CompareBtn")->click();
    EXPECT_EQ(world.dialogs.shown.back().substr(0, world.dialogs.shown.back().find(" | ")),
              "open file: Compare With Library File");
    auto& only = *viewer.findChild<QCheckBox*>("OnlyDifferencesCB");
    EXPECT_TRUE(only.isChecked());
    EXPECT_EQ(table.columnCount(), 6);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, 1)->text(), "MeasUnits");
    EXPECT_EQ(table.item(0, 5)->text(), "\"MM     \"");
    EXPECT_EQ(table.item(1, 1)->text(), "T2Limit");
    EXPECT_EQ(table.item(1, 2)->text(), "");
    only.click();
    EXPECT_EQ(table.rowCount(), 5);

    // The last column takes what the window has to spare, whatever the file, and after a resize.
    viewer.show();
    for (const QSize size : {QSize(1100, 500), QSize(1400, 600)}) {
        viewer.resize(size);
        QApplication::processEvents();
        int used = 0;
        for (int column = 0; column < table.columnCount(); ++column)
            used += table.horizontalHeader()->sectionSize(column);
        EXPECT_EQ(used, table.viewport()->width()) << size.width();
    }
    only.click();
    QApplication::processEvents();
    int used = 0;
    for (int column = 0; column < table.columnCount(); ++column)
        used += table.horizontalHeader()->sectionSize(column);
    EXPECT_EQ(used, table.viewport()->width()) << "after the rows changed";

    world.app.localisation.Apply(Language::German);
    EXPECT_EQ(table.horizontalHeaderItem(0)->text(), "Abschnitt");
    EXPECT_EQ(viewer.findChild<QPushButton*>("CompareBtn")->text(),
              QString::fromUtf8("Vergleichen mit\u2026"));
}

TEST(LibraryViewer, AFileThatCannotBeReadIsReportedAndNothingIsShown) {
    AppWorld world;
    world.dialogs.fileToOpen = world.folder.File("missing.lvf");
    world.app.mainForm.MenuViewLibraryClick();
    EXPECT_NE(world.dialogs.shown.back(), "library viewer");
    EXPECT_EQ(world.prompts.shown.back(),
              "error:" + world.folder.File("missing.lvf") + " cannot be read.");
}

} // namespace
