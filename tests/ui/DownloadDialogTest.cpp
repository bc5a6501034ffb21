#include "AppWorld.h"
#include "ui/QtDialogs.h"
#include "ui/QtTransferForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

TEST(DownloadDialog, ShowsItsModesAndHandsClicksToTheForm) {
    AppWorld world;
    world.app.settings.Write(keys::Language, 0);
    auto& form = world.app.downLoadForm;
    QtTransferForm dialog(form, world.prompts);
    EXPECT_EQ(dialog.size(), QSize(399, 236 - (263 - 161))) << "idle: no progress area";
    EXPECT_EQ(dialog.findChild<QLabel*>("FileName")->text(), "*.lvf");

    // The file button asks for a file and shows it; the choice is remembered at once.
    world.dialogs.fileToSave = world.folder.File("Line.lvf");
    dialog.findChild<QToolButton*>("FileBtn")->click();
    EXPECT_EQ(dialog.findChild<QLabel*>("FileName")->text(),
              QString::fromStdString(world.folder.File("Line.lvf")));
    EXPECT_EQ(world.app.settings.Read(keys::DownLoadFile), world.folder.File("Line.lvf"));
    EXPECT_EQ(world.dialogs.shown.back(),
              "save file: Save Library As | Library Files (*.lvf) | C:\\Setfolio | .lvf");

    // The block box enables the last library; leaving the first raises the last.
    auto* toLib = dialog.findChild<QCheckBox*>("ToLibCB");
    auto* last = dialog.findChild<QSpinBox*>("ToLibrarySpinEdit");
    EXPECT_FALSE(last->isEnabled());
    toLib->click();
    EXPECT_TRUE(last->isEnabled());
    dialog.findChild<QSpinBox*>("LibrarySpinEdit")->setValue(12);
    emit dialog.findChild<QSpinBox*>("LibrarySpinEdit")->editingFinished();
    EXPECT_EQ(last->value(), 12);
    EXPECT_EQ(last->minimum(), 12);

    // Transfer mode, as an engine switches it.
    form.SetTransferMode(true, 401);
    form.SetPosition(100);
    EXPECT_EQ(dialog.size(), QSize(399, 236));
    EXPECT_FALSE(dialog.findChild<QPushButton*>("OKBtn")->isEnabled());
    EXPECT_TRUE(dialog.findChild<QPushButton*>("AbortBtn")->isEnabled());
    EXPECT_EQ(dialog.findChild<QProgressBar*>("ProgressBar")->maximum(), 401);
    EXPECT_EQ(dialog.findChild<QProgressBar*>("ProgressBar")->value(), 100);

    // No transfer runs: Abort ends the dialog, which forgets the file (it has to be chosen again
    // next time), and aborts nothing that comes later.
    dialog.show();
    dialog.findChild<QPushButton*>("AbortBtn")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(world.app.exchange.AbortRequested());
    EXPECT_EQ(form.FileName.caption, "*.lvf");
}

TEST(DownloadDialog, OkWithoutAFileStaysOpen) {
    AppWorld world;
    QtTransferForm dialog(world.app.downLoadForm, world.prompts);
    dialog.show();
    dialog.findChild<QPushButton*>("OKBtn")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(world.prompts.shown.back(), "error:Enter a valid filename.");
}

TEST(FileSelection, NameTypedWithoutExtensionIsAskedAboutBeforeReplacing) {
    setfolio::testing::TempFolder folder;
    folder.Write("Line.lvf", "earlier");
    QtDialogs dialogs;
    QString question;
    // Types "Line", accepts, answers No to whatever is asked, and leaves the selection.
    QTimer::singleShot(0, [&] {
        auto* selection = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!selection)
            return;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question = box->text();
                box->button(QMessageBox::No)->click();
            }
        });
        selection->findChild<QLineEdit*>("fileNameEdit")->setText("Line");
        static_cast<QDialog*>(selection)->accept(); // as the Save button does
        if (selection->isVisible())
            selection->reject();
    });
    const auto chosen = dialogs.ChooseFileToSave(
        {"Save Library As", "Library Files (*.lvf)", folder.File("Line.lvf"), "lvf"});
    EXPECT_EQ(chosen, std::nullopt);
    EXPECT_TRUE(question.contains("Line.lvf")) << question.toStdString();
    EXPECT_EQ(folder.Read("Line.lvf"), "earlier");
}

} // namespace
