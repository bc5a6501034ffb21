#include "forms/StatusLine.h"
#include "SimWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace setfolio;
using setfolio::testing::AppWorld;
using setfolio::testing::SimWorld;

namespace {

namespace fs = std::filesystem;

TEST(StatusLine, NamesTheLinkOfEachKind) {
    struct Case {
        const char* what;
        std::function<void(AppWorld&)> store;
        std::string expected; // "{folder}" stands for the program's folder
    };
    [[maybe_unused]] const auto linkCom = [](int port, const std::string& target) {
        return [port, target](AppWorld& world) {
            const std::string folder = world.folder.Path();
            fs::create_directories(folder + "/ports");
            if (target == "ttyUSB0")
                world.folder.Write("ttyUSB0", "");
            fs::create_symlink(folder + "/" + target, folder + "/ports/COM" + std::to_string(port));
            world.app.settings.Write(keys::ComPort, port - 1);
        };
    };
    const auto ethernet = [](const std::string& entry) {
        return [entry](AppWorld& world) {
            world.app.settings.Write(keys::ConnectionType, 1);
            world.app.settings.Write(keys::IpAddressIndex, 0);
            world.app.ipListFile.Write({entry});
        };
    };
    const Case cases[] = {
    // The ports/ links are symbolic links, which only POSIX has (Windows names its ports COMn).
#ifndef _WIN32
        {"a ports/ link to a device", linkCom(1, "ttyUSB0"), "COM1 9600 8N2 \u2192 ttyUSB0"},
        {"a link whose device is gone",
         [&](AppWorld& world) {
             linkCom(3, "ttyACM1")(world);
             world.app.settings.Write(keys::BaudRate, 4);
             world.app.settings.Write(keys::Parity, 2);
             world.app.settings.Write(keys::DataBits, 0);
             world.app.settings.Write(keys::StopBits, 0);
         },
         "COM3 19200 7E1 \u2192 (missing) {folder}/ttyACM1"},
#endif
        {"no link: /dev/ttyS31 if there is one",
         [](AppWorld& world) { world.app.settings.Write(keys::ComPort, 31); },
         fs::exists("/dev/ttyS31") ? "COM32 9600 8N2 \u2192 ttyS31" : "COM32 9600 8N2"},
        {"the port off", [](AppWorld&) {}, "COM OFF"},
        {"an address", ethernet("192.168.1.20 - Line 1"), "TCP 192.168.1.20:2323"},
        {"an address with its port", ethernet("192.168.1.20:23 - Line 1"), "TCP 192.168.1.20:23"},
        {"an IPv6 address with its port", ethernet("[fe80::1]:4001"), "TCP [fe80::1]:4001"},
    };
    for (const auto& [what, store, expected] : cases) {
        AppWorld world;
        world.app.settings.Write(keys::Language, 0);
        store(world);
        EXPECT_EQ(world.app.mainForm.StatusLinkText(), "")
            << "nothing before the settings are read";
        world.Start();
        std::string text = expected;
        if (const auto at = text.find("{folder}"); at != std::string::npos)
            text.replace(at, 8, world.folder.Path());
        EXPECT_EQ(world.app.mainForm.StatusLinkText(), text) << what;
    }
}

// A report of the link at start is shown with the link it is about on the status line.
TEST(StatusLine, NamesTheLinkBeforeItIsTried) {
    struct Case {
        const char* what;
        std::vector<std::string> ipList;
        std::string expected;
    };
    const Case cases[] = {
        {"Ethernet without an address", {}, "TCP, no address chosen"},
        {"Ethernet to a refusing address", {"127.0.0.1:4001 - Line 1"}, "TCP 127.0.0.1:4001"},
    };
    for (const auto& [what, ipList, expected] : cases) {
        AppWorld world;
        world.app.settings.Write(keys::Language, 0);
        world.app.settings.Write(keys::ConnectionType, 1);
        world.app.settings.Write(keys::IpAddressIndex, ipList.empty() ? -1 : 0);
        world.app.ipListFile.Write(ipList);
        world.tcp.SetAttempt(fake::FakeTcpClient::Attempt::Refused, 5);
        std::vector<std::string> shown;
        const auto watch = world.app.mainForm.statusChanged.Subscribe(
            [&] { shown.push_back(world.app.mainForm.StatusLinkText()); });
        world.prompts.onErrorBox = [&](const std::string&) {
            ASSERT_FALSE(shown.empty()) << what;
            EXPECT_EQ(shown.back(), expected) << what << ": while the report is shown";
        };
        world.Start();
        EXPECT_TRUE(std::ranges::any_of(world.prompts.shown, [](const auto& line) {
            return line.starts_with("error:");
        })) << what;
        EXPECT_EQ(world.app.mainForm.StatusLinkText(), expected) << what;
    }
}

TEST(StatusLine, SaysWhetherTheLastExchangeGotAnAnswer) {
    MessageTexts texts;
    EXPECT_EQ(AnswerText(ReplyStatus::Pending, texts), "No exchange yet");
    EXPECT_EQ(AnswerText(ReplyStatus::Ok, texts), "The processor answered");
    EXPECT_EQ(AnswerText(ReplyStatus::NoConnection, texts), "No answer");
    EXPECT_EQ(AnswerText(ReplyStatus::PortOff, texts), "Port not open");
    EXPECT_EQ(AnswerText(ReplyStatus::RunMode, texts),
              "The processor answered: " + texts.StatusText(ReplyStatus::RunMode));
    texts.Apply(Language::German);
    EXPECT_EQ(AnswerText(ReplyStatus::NoConnection, texts), "Keine Antwort");

    SimWorld world; // a start against a coded processor
    EXPECT_EQ(world.app.mainForm.StatusAnswerText(), "The processor answered");
    world.port.SetPeer([](const std::string&) {});
    world.app.mainForm.LibraryBtnClick();
    EXPECT_EQ(world.app.mainForm.StatusAnswerText(), "No answer");
}

// The line follows every exchange as it happens, whichever window made it, and says what came
// back: not what a transfer made of it afterwards.
TEST(StatusLine, FollowsEveryExchangeWhoeverMadeIt) {
    SimWorld world;
    MainForm& form = world.app.mainForm;
    std::vector<std::string> shown;
    const auto watch = form.statusChanged.Subscribe([&] {
        const std::string text = form.StatusAnswerText();
        if (shown.empty() || shown.back() != text)
            shown.push_back(text);
    });

    // Aborted while the processor keeps a command waiting; it then answers the query that
    // ends the transfer.
    const auto silent = [](const std::string&) {};
    const auto answering = world.port.Peer();
    bool aborted = false;
    const auto abortLater = world.loop.CreateTimer();
    abortLater->SetInterval(100);
    abortLater->SetOnExpiry([&] {
        abortLater->Stop();
        world.port.SetPeer(answering);
        world.app.downLoadForm.AbortBtnClick();
    });
    const auto abort = world.app.downLoadForm.changed.Subscribe([&] {
        if (!aborted && world.app.downLoadForm.ProgressBar.value > 20) {
            aborted = true;
            world.port.SetPeer(silent);
            abortLater->Start();
        }
    });
    world.Download(world.Path("L.lvf"), 3, 5);
    ASSERT_TRUE(aborted);
    EXPECT_EQ(world.app.exchange.replyStatus(), ReplyStatus::Aborted) << "the transfer's outcome";
    EXPECT_EQ(shown, (std::vector<std::string>{"The processor answered", "Last exchange aborted",
                                               "The processor answered"}));

    // The processor gone while the download dialog is open: the line says so at once.
    shown.clear();
    std::string whileOpen;
    world.dialogs.onDownload = [&] {
        world.port.SetPeer(silent);
        world.app.downLoadForm.FileName.caption = world.Path("M.lvf");
        world.app.downLoadForm.OKBtnClick();
        whileOpen = shown.empty() ? "" : shown.back();
    };
    world.app.mainForm.DownBtnClick();
    EXPECT_EQ(whileOpen, "No answer");
    EXPECT_EQ(form.StatusAnswerText(), "No answer");
}

TEST(StatusLine, OkInTheCommunicationsDialogQueriesOnceAndCancelSendsNothing) {
    SimWorld world;
    auto& serial = world.app.serialForm;
    const std::size_t lines = world.Lines().size();
    world.TakeSent();
    world.dialogs.onCommunications = [&] { serial.CancelBtnClick(); };
    world.app.mainForm.ComBtnClick();
    EXPECT_EQ(world.TakeSent(), "");
    EXPECT_EQ(world.Lines().size(), lines);

    world.dialogs.onCommunications = [&] {
        serial.BaudRateComboBox.Mark(4);
        EXPECT_TRUE(serial.OKBtnClick());
        EXPECT_EQ(world.TakeSent(), "") << "nothing while the dialog is open";
    };
    world.app.mainForm.ComBtnClick();
    EXPECT_EQ(world.TakeSent(), "701\r");
    EXPECT_EQ(world.Lines().back(), "Current library is 5.");
    EXPECT_TRUE(world.app.mainForm.StatusLinkText().starts_with("COM1 19200 8N2"));
    EXPECT_EQ(world.app.mainForm.StatusAnswerText(), "The processor answered");
}

TEST(BlockProgress, CountsTheLibrariesAndTellsTheTimeLeftFromTheSecondOn) {
    MessageTexts texts;
    EXPECT_EQ(BlockProgressText(7, 1, 6, 0, texts), "Library 7 \u2014 1 of 6");
    EXPECT_EQ(BlockProgressText(10, 4, 6, 30'000, texts),
              "Library 10 \u2014 4 of 6\nabout 0:30 left");
    EXPECT_EQ(BlockProgressText(2, 2, 100, 65'500, texts),
              "Library 2 \u2014 2 of 100\nabout 1:48:05 left");
    texts.Apply(Language::German);
    EXPECT_EQ(BlockProgressText(8, 2, 6, 10'000, texts),
              "Bibliothek 8 \u2014 2 von 6\nnoch etwa 0:50");
    texts.Apply(Language::French);
    EXPECT_EQ(BlockProgressText(9, 3, 3, 20'000, texts),
              "Librairie 9 \u2014 3 sur 3\nencore environ 0:10");

    SimWorld world;
    std::vector<std::string> shown;
    const auto watch = world.app.downLoadForm.changed.Subscribe([&] {
        const std::string& caption = world.app.downLoadForm.LibCounter.caption;
        if (caption.starts_with("Library") && (shown.empty() || shown.back() != caption))
            shown.push_back(caption);
    });
    world.Download(world.Path("L.lvf"), 3, 5);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "Library 3 \u2014 1 of 3");
    EXPECT_TRUE(shown[1].starts_with("Library 4 \u2014 2 of 3\nabout ")) << shown[1];
    EXPECT_TRUE(shown[2].starts_with("Library 5 \u2014 3 of 3\nabout ")) << shown[2];
}

TEST(WindowPlacement, ReadsBackWhatItWroteAndRefusesAnythingElse) {
    const WindowPlacement placement{-8, 40, 900, 600, true};
    EXPECT_EQ(FormatPlacement(placement), "-8,40,900,600,1");
    EXPECT_EQ(ParsePlacement("-8,40,900,600,1"), placement);
    for (const char* bad : {"", "1,2,3,4", "1,2,0,4,0", "1,2,3,4,5", "a,2,3,4,0", "1,2,3,4,0,6"})
        EXPECT_FALSE(ParsePlacement(bad)) << bad;

    AppWorld world; // a first start whose language choice was cancelled
    world.app.mainForm.StorePlacement(placement);
    EXPECT_FALSE(world.app.settings.SettingsFileExists());
    world.app.settings.Write(keys::Language, 0);
    world.app.mainForm.StorePlacement(placement);
    EXPECT_EQ(world.app.mainForm.StoredPlacement(), placement);
}

TEST(FileSelections, StartWhereTheLastOneInThisRunChose) {
    SimWorld world;
    world.dialogs.fileToSave = world.Path("Line.lvf");
    world.dialogs.onDownload = [&] { world.app.downLoadForm.FileBtnClick(); };
    world.app.mainForm.DownBtnClick();
    world.dialogs.onUpload = [&] { world.app.upLoadForm.FileBtnClick(); };
    world.app.mainForm.UpBtnClick();
    world.app.mainForm.MenuViewLibraryClick();
    std::vector<std::string> starts;
    for (const auto& shown : world.dialogs.shown) {
        if (shown.find(" file: ") != std::string::npos)
            starts.push_back(shown.substr(0, shown.rfind(" | ")));
    }
    EXPECT_EQ(
        starts,
        (std::vector<std::string>{
            "save file: Save Library As | Library Files (*.lvf) | C:\\Setfolio",
            "open file: Select File To Load | Library files (*.lvf) | " + world.Path("Line.lvf"),
            "open file: Open Library File | Library files (*.lvf) | " + world.Path("Line.lvf")}));
}

} // namespace
