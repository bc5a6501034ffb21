#include "AppWorld.h"
#include "ui/QtDialogs.h"
#include "ui/QtMainForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

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

// The trace's menu item is checkable and shows whether the trace is on.
TEST(MainWindow, TraceMenuItemTogglesAndShowsItIsOn) {
    MainWindowWorld world;
    auto* trace = world.Find<QAction>("MenuTrace");
    ASSERT_NE(trace, nullptr);
    EXPECT_TRUE(trace->isCheckable());
    EXPECT_FALSE(trace->isChecked());
    EXPECT_EQ(trace->text(), "Trace to File…");
    world.dialogs.fileToSave = world.folder.File("link.trace");
    trace->trigger();
    world.window.Refresh();
    EXPECT_TRUE(trace->isChecked());
    EXPECT_TRUE(world.Find<QLabel>("StatusLink")->text().endsWith("Trace on"))
        << world.Find<QLabel>("StatusLink")->text().toStdString();
    trace->trigger();
    world.window.Refresh();
    EXPECT_FALSE(trace->isChecked());
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
    EXPECT_EQ(world.Find<QMenu>("MenuMain")->title(), QString::fromUtf8("&Men\u00fc"));
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
    EXPECT_EQ(window.findChild<QMenu*>("MenuMain")->title(), QString::fromUtf8("&Men\u00fc"));
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

namespace {

TEST(MainWindow, ShortcutsAndTheMenuKeyWorkAndTheMenuShowsThem) {
    MainWindowWorld world;
    world.loop.AdvanceBy(StartupDelayMs);
    world.window.show();
    world.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&world.window));
    const std::pair<const char*, QString> shortcuts[] = {
        {"MenuDownLoad", "Ctrl+D"}, {"MenuUpLoad", "Ctrl+U"}, {"MenuLibrary", "Ctrl+L"},
        {"MenuExit", "Ctrl+Q"},     {"MenuAbout", "F1"},
    };
    for (const auto& [name, keys] : shortcuts)
        EXPECT_EQ(world.Find<QAction>(name)->shortcut().toString(), keys) << name;

    QTest::keyClick(&world.window, Qt::Key_F1);
    QTest::keyClick(&world.window, Qt::Key_L, Qt::ControlModifier); // the port is OFF: refused
    EXPECT_TRUE(world.Messages().endsWith("Please select a valid COM port!\n"
                                          "Please select a valid COM port!"));
    QTest::keyClick(&world.window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(world.dialogs.shown, (std::vector<std::string>{"about: About Setfolio", "close"}));

    QMenuBar* bar = world.window.menuBar();
    EXPECT_TRUE(bar->style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, bar))
        << "Alt alone reaches the menu bar";
    auto* menu = world.Find<QMenu>("MenuMain");
    QTest::keyClick(&world.window, Qt::Key_F10);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
}

TEST(MainWindow, TheLogGrowsWithTheWindowAndTheStatusBarShowsTheLink) {
    MainWindowWorld world;
    world.loop.AdvanceBy(StartupDelayMs);
    world.window.Refresh();
    world.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.window));
    EXPECT_EQ(world.window.centralWidget()->size(), QSize(552, 374));
    auto* log = world.Find<QPlainTextEdit>("MessageWindow");
    EXPECT_EQ(log->geometry(), QRect(24, 68, 505, 285));
    world.window.resize(world.window.size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(log->geometry(), QRect(24, 68, 705, 385));
    EXPECT_EQ(world.Find<QLabel>("StatusLink")->text(), "COM OFF");
    EXPECT_EQ(world.Find<QLabel>("StatusAnswer")->text(), "Port not open");
}

TEST(MainWindow, TheLogSavesEachLineWithItsTimeAsShownAndClears) {
    MainWindowWorld world;
    world.app.mainForm.AddMessageLine("Current library is 12.");
    world.app.mainForm.AddMessageLine("RTimeUnits: the processor shows \"Scans \xb0\".");
    const std::string path = world.folder.File("log.txt");
    world.dialogs.fileToSave = path;
    world.Find<QAction>("MessageSave")->trigger();
    const std::string saved = world.folder.Read("log.txt");
    const QStringList lines = QString::fromUtf8(saved.data(), saved.size()).split('\n');
    ASSERT_EQ(lines.size(), 3) << saved;
    const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  ");
    EXPECT_TRUE(stamp.match(lines[0]).hasMatch()) << saved;
    EXPECT_EQ(lines[0].mid(21), "Current library is 12.");
    EXPECT_EQ(lines[1].mid(21), world.Messages().split('\n')[1]) << "as the window shows it";
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(world.Lines().back(), "Messages saved to " + path + ".") << "the window says where";

    // A file that cannot be replaced is left as it was, and the user is told.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const std::size_t before = world.Lines().size();
    world.Find<QAction>("MessageSave")->trigger();
    EXPECT_EQ(world.folder.Read("log.txt"), saved);
    EXPECT_EQ(world.Lines().size(), before) << "nothing claims it was saved";
    world.dialogs.fileToSave = world.folder.File("missing/log.txt");
    world.Find<QAction>("MessageSave")->trigger();
    EXPECT_EQ(world.prompts.shown.back(), "error:The messages could not be saved to " +
                                              world.folder.File("missing/log.txt") +
                                              "; an existing file there is unchanged.");

    world.Find<QAction>("MessageClear")->trigger();
    EXPECT_TRUE(world.Lines().empty());
    EXPECT_EQ(world.Messages(), "");
}

} // namespace

namespace {

// The message window shows the newest line after the window was made smaller or larger, as it
// did before, and leaves a place the user scrolled back to where it is.
TEST(MainWindow, MessageWindowKeepsTheNewestLineInViewWhenResized) {
    MainWindowWorld world;
    world.window.show();
    for (int line = 1; line <= 200; ++line)
        world.app.mainForm.AddMessageLine("Line " + std::to_string(line) +
                                          " of the messages, long enough to wrap when narrow");
    QApplication::processEvents();
    auto* messages = world.Find<QPlainTextEdit>("MessageWindow");
    QScrollBar* bar = messages->verticalScrollBar();
    const auto newestInView = [&] {
        QApplication::processEvents();
        return bar->maximum() > 0 && bar->value() == bar->maximum();
    };
    ASSERT_TRUE(newestInView());
    for (const QSize size : {QSize(900, 700), QSize(560, 420), QSize(400, 500), QSize(1000, 300)}) {
        world.window.resize(size);
        EXPECT_TRUE(newestInView()) << size.width() << "x" << size.height();
    }

    bar->setValue(bar->minimum() + 3);
    world.window.resize(QSize(700, 600));
    QApplication::processEvents();
    EXPECT_FALSE(newestInView()) << "a line the user scrolled back to stays in view";
}

// The status line is shown anew after every exchange, not only after the main window's own
// buttons.
TEST(MainWindow, StatusLineFollowsExchangesMadeElsewhere) {
    MainWindowWorld world;
    world.loop.AdvanceBy(StartupDelayMs);
    auto* answer = world.Find<QLabel>("StatusAnswer");
    EXPECT_EQ(answer->text(), "Port not open");
    world.app.exchange.exchanged.Emit(Reply{ReplyStatus::Ok});
    EXPECT_EQ(answer->text(), "The processor answered");
    world.app.exchange.exchanged.Emit(Reply{ReplyStatus::NoConnection});
    EXPECT_EQ(answer->text(), "No answer");
}

} // namespace

namespace {

TEST(AboutBox, WritesTheBuildDateInTheChosenLanguage) {
    EXPECT_EQ(BuildDateText("Dec  9 2026", "en"), "December 9, 2026");
    EXPECT_EQ(BuildDateText("Dec  9 2026", "de"), "9. Dezember 2026");
    EXPECT_EQ(BuildDateText("Mar 10 2027", "fr"), "10 mars 2027");
    EXPECT_EQ(BuildDateText("sometime", "de"), "sometime");

    AppWorld world;
    world.app.localisation.Apply(Language::French);
    world.app.mainForm.MenuAboutClick();
    EXPECT_EQ(world.dialogs.about.language, "fr");
}

} // namespace
