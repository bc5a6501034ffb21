#include "AppWorld.h"
#include "ui/QtMainForm.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

struct MainWindowWorld : AppWorld {
    QtMainForm window{app.mainForm, prompts};

    MainWindowWorld() {
        app.settings.Write(keys::Language, 0);
        app.mainForm.FormCreate();
        window.Refresh();
    }
    template <typename Widget> Widget* Find(const char* name) {
        auto* widget = window.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString Messages() { return Find<QPlainTextEdit>("MessageWindow")->toPlainText(); }
};

TEST(MainWindow, ShowsTheModelListAndTheDesignedTexts) {
    MainWindowWorld world;
    auto* models = world.Find<QComboBox>("ModelComboBox");
    EXPECT_EQ(models->count(), 46);
    EXPECT_EQ(models->currentText(), "C-12");
    EXPECT_EQ(models->toolTip(), "Select model number");
    EXPECT_EQ(world.Find<QToolButton>("DownBtn")->toolTip(), "Click to download to file");
    EXPECT_FALSE(world.Find<QToolButton>("ExitBtn")->icon().isNull());
    EXPECT_EQ(world.Find<QMenu>("MenuMain")->title(), "&Menu");
    EXPECT_EQ(world.Find<QAction>("MenuLanguage")->text(), "Lan&guage");
    EXPECT_EQ(world.window.centralWidget()->size(), QSize(552, 374));
}

TEST(MainWindow, ButtonsMenuAndModelListReachTheirHandlers) {
    MainWindowWorld world;
    world.loop.AdvanceBy(StartupDelayMs); // start-up: English, port OFF
    world.window.Refresh();
    EXPECT_EQ(world.Messages(), "Attempting connection, please wait...\n"
                                "Please select a valid COM port!");
    EXPECT_EQ(world.Find<QAction>("MenuLanguage")->text(), "Language") << "no marks after "
                                                                          "a language";

    world.Find<QToolButton>("LibraryBtn")->click();
    EXPECT_TRUE(world.Messages().endsWith("Please select a valid COM port!"));
    EXPECT_EQ(world.Lines().size(), 3u);

    world.Find<QToolButton>("ComBtn")->click();
    world.Find<QAction>("MenuLanguage")->trigger();
    world.Find<QAction>("MenuAbout")->trigger();
    world.Find<QAction>("MenuComPort")->trigger();
    EXPECT_EQ(world.dialogs.shown,
              (std::vector<std::string>{"communications", "language", "about: About Setfolio",
                                        "communications"}));

    auto* models = world.Find<QComboBox>("ModelComboBox");
    models->activated(33); // as a pick of the user
    EXPECT_EQ(world.app.model.ModelType(), 6);
    EXPECT_EQ(world.app.settings.Read(keys::ModelNo), 6);
    EXPECT_EQ(models->currentText(), "M-01");

    world.Find<QToolButton>("ExitBtn")->click();
    EXPECT_EQ(world.dialogs.shown.back(), "close");
}

TEST(MainWindow, GermanTextsReachTheWidgets) {
    MainWindowWorld world;
    world.app.languageForm.NameLanguageList();
    world.app.languageForm.LanguageComboBox.Mark(1);
    world.app.languageForm.ApplyLanguage();
    world.window.Refresh();
    EXPECT_EQ(world.Find<QMenu>("MenuMain")->title(), QString::fromUtf8("Men\u00fc"));
    EXPECT_EQ(world.Find<QAction>("MenuAbout")->text(), QString::fromUtf8("\u00dcber die"));
    EXPECT_EQ(world.Find<QToolButton>("ComBtn")->toolTip(),
              QString::fromUtf8("Klicken zum \u00c4ndern der ComPort-Einstellungen"));
}

TEST(MainWindow, UnlistedModelShowsItsNameWithNoLineMarked) {
    AppWorld world;
    world.app.settings.Write(keys::ModelNo, 34); // M-10
    world.app.mainForm.FormCreate();
    QtMainForm window(world.app.mainForm, world.prompts);
    auto* models = window.findChild<QComboBox*>("ModelComboBox");
    EXPECT_EQ(models->currentIndex(), -1);
    EXPECT_EQ(models->placeholderText(), "M-10");
}

} // namespace

namespace {

TEST(MainWindow, ShowsTheStoredLanguageAfterAStartUpWhoseConnectionFailed) {
    AppWorld world;
    world.StoreRefusedEthernet(1);
    world.app.mainForm.FormCreate();
    QtMainForm window(world.app.mainForm, world.prompts);
    world.loop.AdvanceBy(StartupDelayMs);
    EXPECT_EQ(window.findChild<QMenu*>("MenuMain")->title(), QString::fromUtf8("Men\u00fc"));
    EXPECT_EQ(world.prompts.shown.back(), "error:Connection refused");
}

} // namespace

namespace {

TEST(MainWindow, StartsInTheMiddleOfTheScreen) {
    MainWindowWorld world;
    world.window.CentreOnScreen();
    const QPoint middle = world.window.screen()->availableGeometry().center();
    const QPoint centre = world.window.frameGeometry().center();
    EXPECT_LE((centre - middle).manhattanLength(), 2) << centre.x() << "," << centre.y();
}

} // namespace
