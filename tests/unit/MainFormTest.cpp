#include "AppWorld.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::AppWorld;

namespace {

const std::string Attempting = "Attempting connection, please wait...";

// Settings of a start that has been made before: English, COM1.
void StoreEnglishOnCom1(AppWorld& world) {
    world.app.settings.Write(keys::Language, 0);
    world.app.settings.Write(keys::ComPort, 0);
}

TEST(StartUp, FirstStartAsksForTheLanguage) {
    AppWorld world;
    world.dialogs.onLanguage = [&] {
        auto& form = world.app.languageForm;
        EXPECT_EQ(form.LanguageComboBox.MarkedText(), "English");
        form.LanguageComboBox.Mark(1);
        form.OKBtnClick();
    };
    world.Start();
    EXPECT_EQ(world.dialogs.shown, std::vector<std::string>{"language"});
    EXPECT_EQ(world.app.settings.Read(keys::Language), 1);
    EXPECT_EQ(world.app.localisation.Messages().Text(MsgId::MsgCurrentLibraryIs),
              "Aktuelle Bibliothek ist");
    EXPECT_EQ(world.app.mainForm.MenuDownLoad.caption, "Herunterladen");
    // German: no "Attempting connection" line; the port is OFF by default.
    EXPECT_EQ(world.Lines(),
              std::vector<std::string>{"Bitte w\u00e4hlen Sie einen g\u00fcltigen COM-Port!"});
    EXPECT_EQ(world.port.sent, "");
}

TEST(StartUp, FirstStartWithTheLanguageDialogCancelledStaysEnglish) {
    AppWorld world;
    world.dialogs.onLanguage = [&] { world.app.languageForm.CancelBtnClick(); };
    world.Start();
    EXPECT_FALSE(world.app.settings.SettingsFileExists()) << "cancel writes nothing";
    EXPECT_EQ(world.app.mainForm.MenuDownLoad.caption, "&DownLoad");
    EXPECT_EQ(world.Lines(),
              (std::vector<std::string>{Attempting, "Please select a valid COM port!"}));
}

// A window opened at start (the plant window of --plant) waits for this: after a first start's
// language question, before the link is tried, and also when the link then fails.
TEST(StartUp, TheLanguageIsSettledAfterItsQuestionAndBeforeTheLinkIsTried) {
    for (const int start : {0, 1, 2}) {
        AppWorld world;
        int library = 12; // the processor's, while the world lives
        if (start == 1) {
            StoreEnglishOnCom1(world);
            world.CodedProcessor(library);
        } else if (start == 2) {
            world.StoreRefusedEthernet(1);
        }
        std::vector<std::vector<std::string>> seen;
        std::vector<std::string> sent;
        const auto settled = world.app.mainForm.languageSettled.Subscribe([&] {
            seen.push_back(world.dialogs.shown);
            sent.push_back(world.port.sent);
        });
        world.app.mainForm.FormCreate();
        world.loop.AdvanceBy(StartupDelayMs);
        ASSERT_EQ(seen.size(), 1u) << "start " << start;
        EXPECT_EQ(seen[0],
                  start == 0 ? std::vector<std::string>{"language"} : std::vector<std::string>{})
            << "start " << start;
        EXPECT_EQ(sent[0], "") << "start " << start;
    }
}

TEST(StartUp, EnglishStoredWithThePortOff) {
    AppWorld world;
    world.app.settings.Write(keys::Language, 0);
    world.Start();
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_EQ(world.Lines(),
              (std::vector<std::string>{Attempting, "Please select a valid COM port!"}));
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:warning"});
    EXPECT_EQ(world.app.mainForm.MenuDownLoad.caption, "DownLoad") << "catalogue texts, no marks";
}

TEST(StartUp, PortOffWithAnotherSettingOutsideItsListStillAsksForAPort) {
    for (const IntegerSetting& setting : {keys::BaudRate, keys::DataBits, keys::StopBits}) {
        AppWorld world;
        world.app.settings.Write(keys::Language, 0);
        world.app.settings.Write(setting, 9);
        world.Start();
        EXPECT_EQ(world.Lines(),
                  (std::vector<std::string>{Attempting, "Please select a valid COM port!"}))
            << setting.key;
        EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:warning"}) << setting.key;
    }
}

TEST(StartUp, ReportsTheActiveLibraryAfterTwoQueries) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    int library = 12;
    world.CodedProcessor(library);
    world.Start();
    EXPECT_EQ(world.port.sent, "701\r701\r");
    EXPECT_EQ(world.Lines(), (std::vector<std::string>{Attempting, "Current library is 12."}));
    EXPECT_EQ(world.app.mainForm.folders.downLoad, "C:\\Setfolio");
}

TEST(StartUp, StoredFrenchIsInPlaceBeforeTheFirstMessage) {
    AppWorld world;
    world.app.settings.Write(keys::Language, 2);
    world.app.settings.Write(keys::ComPort, 0);
    int library = 3;
    world.CodedProcessor(library);
    world.Start();
    EXPECT_EQ(world.Lines(), std::vector<std::string>{"La librairie actuelle est 3."});
}

TEST(StartUp, UndefinedModelSendsNothingAndOnlyBeeps) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    world.app.settings.Write(keys::ModelNo, 47);
    world.Start();
    EXPECT_EQ(world.app.mainForm.ModelComboBox.marked, -1);
    EXPECT_EQ(world.port.sent, "");
    EXPECT_EQ(world.Lines(), std::vector<std::string>{Attempting});
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:warning"});
}

TEST(StartUp, ConnectionErrorEndsTheSequenceInAnErrorBoxAndTheWindowIsShownAgain) {
    AppWorld world;
    world.StoreRefusedEthernet(1);
    int shown = 0;
    const auto window = world.app.mainForm.changed.Subscribe([&] { ++shown; });
    world.app.mainForm.FormCreate();
    world.loop.AdvanceBy(StartupDelayMs);
    EXPECT_TRUE(world.Lines().empty()) << "steps after the connection do not run";
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{"beep:warning", "error:Connection refused"}));
    EXPECT_EQ(world.app.mainForm.MenuMain.caption, "Men\u00fc") << "the language stays applied";
    EXPECT_GE(shown, 1);
}

TEST(ModelChange, SilentProcessorGivesNoConnectionAfterTheTimeOut) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    int library = 12;
    world.CodedProcessor(library);
    world.Start();
    world.port.SetPeer({}); // the processor falls silent
    world.port.sent.clear();
    world.prompts.shown.clear();
    const auto before = world.loop.Now();

    world.app.mainForm.ModelComboBoxChange(33); // M-01, menu family
    EXPECT_EQ(world.app.settings.Read(keys::ModelNo), 6);
    EXPECT_EQ(world.port.sent, "3.1 ?\r");
    EXPECT_EQ(world.loop.Now() - before, 2500);
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:warning"});
    EXPECT_EQ(world.Lines().back(), "Current library is ??? - no connection!");
}

TEST(MainWindow, ButtonDuringTheStartUpQueriesStartsNoSecondExchange) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    world.Answer([](const std::string&) { return std::string("701 4\r"); });
    world.app.mainForm.FormCreate();
    // While the first query waits for its reply the user clicks the library and the
    // communications buttons and picks another model.
    world.loop.Schedule(StartupDelayMs + 1, [&] {
        world.app.mainForm.LibraryBtnClick();
        world.app.mainForm.ComBtnClick();
        world.app.mainForm.ModelComboBoxChange(0);
    });
    world.loop.AdvanceBy(StartupDelayMs + 100);
    EXPECT_EQ(world.port.sent, "701\r701\r");
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_EQ(world.app.model.ModelType(), 0);
    EXPECT_EQ(world.app.mainForm.ModelComboBox.marked, 11);
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>(3, "beep:default"));
    EXPECT_EQ(world.Lines().back(), "Current library is 4.");
}

TEST(MainWindow, ClosingClosesOnlyTheActiveLink) {
    {
        AppWorld world;
        StoreEnglishOnCom1(world);
        world.Start();
        ASSERT_TRUE(world.port.IsOpen());
        world.app.mainForm.FormClose();
        EXPECT_FALSE(world.port.IsOpen());
        EXPECT_EQ(world.tcp.disconnects, 0);
    }
    {
        AppWorld world;
        world.app.settings.Write(keys::Language, 0);
        world.app.settings.Write(keys::ComPort, 0);
        world.app.settings.Write(keys::ConnectionType, 1);
        world.app.settings.Write(keys::IpAddressIndex, 0);
        world.app.ipListFile.Write({"127.0.0.1"});
        world.Start();
        ASSERT_TRUE(world.tcp.IsConnected());
        world.app.mainForm.FormClose();
        EXPECT_FALSE(world.tcp.IsConnected());
        EXPECT_FALSE(world.port.IsOpen()) << "the serial port was never opened";
        const auto settings = world.folder.Read("Setfolio.ini");
        world.app.mainForm.FormClose();
        EXPECT_EQ(world.folder.Read("Setfolio.ini"), settings) << "nothing is written on closing";
    }
}

TEST(ChangeLibrary, SameNumberSendsNothingAndReprintsIt) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    int library = 12;
    world.CodedProcessor(library);
    world.Start();
    world.port.sent.clear();
    world.dialogs.onChangeLibrary = [&] {
        EXPECT_EQ(world.app.changeLibForm.LibrarySpinEdit.value, 12);
        world.app.changeLibForm.OKBtnClick();
    };
    world.app.mainForm.LibraryBtnClick();
    EXPECT_EQ(world.port.sent, "701\r");
    EXPECT_EQ(world.Lines().back(), "Current library is 12.");
}

TEST(ChangeLibrary, SlowSwitchWaitsForTheRequeryBeforeTheLine) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    world.app.settings.Write(keys::ModelNo, 4); // C-19 switches libraries slowly
    int library = 12;
    bool switching = false;
    world.port.SetPeer([&](const std::string& command) {
        if (command.starts_with("700 ")) {
            library = std::stoi(command.substr(4));
            switching = true;
            world.port.Receive("700 Y  \r", 5);
        } else if (command == "701\r") {
            // Busy for 20 s after a switch.
            world.port.Receive("701 " + std::to_string(library) + "\r", switching ? 20000 : 5);
            switching = false;
        }
    });
    world.Start();
    bool disabledDuringRequery = false;
    world.dialogs.onChangeLibrary = [&] {
        world.app.changeLibForm.LibrarySpinEdit.value = 30;
        world.loop.Schedule(10000,
                            [&] { disabledDuringRequery = !world.app.changeLibForm.formEnabled; });
        world.app.changeLibForm.OKBtnClick();
    };
    const auto before = world.loop.Now();
    world.app.mainForm.LibraryBtnClick();
    EXPECT_TRUE(disabledDuringRequery);
    EXPECT_TRUE(world.app.changeLibForm.formEnabled);
    EXPECT_GE(world.loop.Now() - before, 20000);
    EXPECT_EQ(world.Lines().back(), "Current library is 30.");
    EXPECT_EQ(library, 30);
}

TEST(ChangeLibrary, CancelReprintsTheNumberLearntAtOpening) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    int library = 12;
    world.CodedProcessor(library);
    world.Start();
    world.dialogs.onChangeLibrary = [&] {
        library = 40; // changed at the processor meanwhile
        world.app.changeLibForm.LibrarySpinEdit.value = 99;
        world.app.changeLibForm.CancelBtnClick();
    };
    world.app.mainForm.LibraryBtnClick();
    EXPECT_EQ(world.Lines().back(), "Current library is 12.");
}

TEST(ChangeLibrary, AbortedStatusOnlyBeeps) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    int library = 12;
    world.CodedProcessor(library);
    world.Start();
    world.prompts.shown.clear();
    const auto lines = world.Lines().size();
    world.app.exchange.Abort();
    world.app.changeLibForm.CancelBtnClick();
    EXPECT_EQ(world.Lines().size(), lines);
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:warning"});
}

TEST(ChangeLibrary, FailedQueryOpensNoDialog) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    world.Start();
    world.app.mainForm.LibraryBtnClick();
    EXPECT_TRUE(world.dialogs.shown.empty());
    EXPECT_EQ(world.Lines().back(), "Current library is ??? - no connection!");
}

} // namespace

namespace {

// The first start's folder does not exist here: the selections start among the user's
// documents, and the setting stays as it was until a file is chosen.
TEST(FileSelections, StartInTheDocumentsWhileTheStoredFolderIsNotThere) {
    for (const bool download : {true, false}) {
        setfolio::testing::TempFolder folder;
        fake::FakeEventLoop loop;
        fake::FakeSerialPort port{loop};
        fake::FakeTcpClient tcp{loop};
        fake::FakePrompts prompts;
        fake::FakeDialogs dialogs;
        Platform platform{loop, port, tcp, prompts, dialogs, folder.Path(), 2323};
        platform.documentsFolder = folder.File("Documents");
        Application app(platform);
        app.settings.Write(keys::Language, 0);
        TransferForm& form =
            download ? static_cast<TransferForm&>(app.downLoadForm) : app.upLoadForm;
        const TextSetting& setting = download ? keys::DownLoadFile : keys::UpLoadFile;
        const auto start = [&] {
            download ? app.downLoadForm.LoadDialogFolders() : app.upLoadForm.LoadDialogFolders();
            form.FileBtnClick();
            const std::string& shown = dialogs.shown.back();
            const auto end = shown.rfind(" | ");
            const auto begin = shown.rfind(" | ", end - 1) + 3;
            return shown.substr(begin, end - begin);
        };

        // The default, C:\Setfolio, is a file name in C:\ on Windows and nowhere elsewhere.
#ifdef _WIN32
        EXPECT_EQ(start(), "C:\\Setfolio") << download;
#else
        EXPECT_EQ(start(), folder.File("Documents")) << download;
#endif
        EXPECT_EQ(app.settings.Read(setting), "C:\\Setfolio") << "nothing stored";
        EXPECT_EQ(folder.Read("Setfolio.ini").find("DirectorySettings"), std::string::npos);

        // A stored file that has gone: its folder is still there to start in.
        std::filesystem::create_directory(folder.File("libs"));
        app.settings.Write(setting, folder.File("libs/Line 005.lvf"));
        EXPECT_EQ(start(), folder.File("libs/Line 005.lvf")) << download;
        app.settings.Write(setting, folder.File("gone/Line 005.lvf"));
        EXPECT_EQ(start(), folder.File("Documents")) << download;
    }
}

} // namespace

namespace {

// The trace menu item starts a trace into the file chosen, shows it is on (menu and status
// line), and ends it; the file is offered again, but the next start begins with no trace.
TEST(MainWindow, TraceMenuItemStartsAndStopsATraceOfTheLink) {
    AppWorld world;
    StoreEnglishOnCom1(world);
    int library = 12;
    world.CodedProcessor(library);
    world.Start();
    MainForm& form = world.app.mainForm;
    EXPECT_EQ(form.MenuTrace.caption, "Trace to File…");
    EXPECT_FALSE(form.MenuTrace.checked);
    const std::string path = world.folder.File("link.trace");
    world.dialogs.fileToSave = path;

    form.MenuTraceClick();
    EXPECT_TRUE(form.MenuTrace.checked);
    EXPECT_TRUE(form.StatusLinkText().ends_with("Trace on")) << form.StatusLinkText();
    EXPECT_EQ(world.app.settings.Read(keys::TraceFile), path);
    world.app.mainForm.MenuLibraryClick(); // any exchange: the query of the active library
    form.MenuTraceClick();
    EXPECT_FALSE(form.MenuTrace.checked);
    EXPECT_FALSE(form.StatusLinkText().ends_with("Trace on"));
    const std::string traced = world.folder.Read("link.trace");
    EXPECT_TRUE(traced.starts_with("# trace begun ")) << traced;
    EXPECT_NE(traced.find(" sent 701\\r\n"), std::string::npos) << traced;
    EXPECT_NE(traced.find(" received 701 12 +"), std::string::npos) << traced;

    // Another file for the next trace; the last one is offered.
    world.dialogs.shown.clear();
    world.dialogs.fileToSave.reset();
    form.MenuTraceClick();
    ASSERT_FALSE(world.dialogs.shown.empty());
    EXPECT_NE(world.dialogs.shown.back().find(path), std::string::npos);
    EXPECT_FALSE(form.MenuTrace.checked);
}

} // namespace
