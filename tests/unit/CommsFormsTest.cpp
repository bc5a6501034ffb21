#include "FakeDialogs.h"
#include "LinkWorld.h"
#include "forms/EditIpForm.h"
#include "forms/LanguageForm.h"
#include "forms/SerialForm.h"
#include "link/IpAddressList.h"
#include "link/SerialLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <tuple>

using namespace setfolio;
using setfolio::testing::LinkWorld;
using namespace std::string_literals;

namespace {

// The communication windows over the fake link, built as the program builds them.
struct CommsWorld : LinkWorld {
    Localisation localisation;
    fake::FakeDialogs dialogs;
    SerialForm serialForm{settings, transport, localisation, dialogs, prompts};
    IpAddressListFile listFile{folder.Path()};
    EditIpForm ipForm{listFile, serialForm, prompts, localisation};
    LanguageForm languageForm{settings, localisation, serialForm.ParityComboBox};

    CommsWorld() {
        settings.Write(keys::ComPort, 0); // COM1 unless a test says otherwise
        dialogs.onIpList = [this] { ipForm.ShowIpListDialog(); };
    }
    // The communication steps of the start-up sequence.
    void StartUp() {
        ipForm.LoadIpAddressList();
        serialForm.LoadIpAddressIndex();
        serialForm.LoadCommSettings();
        transport.OpenConnection();
    }
};

TEST(SerialForm, FirstStartDefaults) {
    CommsWorld world;
    std::filesystem::remove(world.settings.SettingsFilePath());
    world.StartUp();
    const auto& form = world.serialForm;
    EXPECT_TRUE(form.SerialBtn.checked);
    EXPECT_FALSE(form.EthernetBtn.checked);
    EXPECT_EQ(form.ComPortComboBox.MarkedText(), "OFF");
    EXPECT_EQ(form.BaudRateComboBox.MarkedText(), "9600");
    EXPECT_EQ(form.ParityComboBox.MarkedText(), "none");
    EXPECT_EQ(form.DataBitsComboBox.MarkedText(), "8");
    EXPECT_EQ(form.StopBitsComboBox.MarkedText(), "2");
    // The line the command line uses when no option says otherwise is this one.
    world.serialForm.ComPortComboBox.Mark(0);
    const SerialSettings shown = form.CurrentSerialSettings();
    const SerialSettings byDefault = DefaultSerialSettings();
    EXPECT_EQ(
        std::tie(shown.baudRate, shown.parity, shown.dataBits, shown.stopBits),
        std::tie(byDefault.baudRate, byDefault.parity, byDefault.dataBits, byDefault.stopBits));
    world.serialForm.ComPortComboBox.Mark(ComPortCount);
    EXPECT_EQ(form.IpAddressBox.items, std::vector<std::string>{""});
    EXPECT_EQ(form.IpAddressBox.marked, -1);
    EXPECT_FALSE(world.port.IsOpen());
    world.exchange.QueryLibrary();
    EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::PortOff);
}

TEST(SerialForm, StoredEthernetShowsCheckedAndSerialButtonReversesIt) {
    CommsWorld world;
    world.settings.Write(keys::ConnectionType, 1);
    world.settings.Write(keys::IpAddressIndex, 0);
    world.listFile.Write({"127.0.0.1 - Line 1"});
    world.StartUp();
    auto& form = world.serialForm;
    EXPECT_EQ(world.transport.Type(), ConnectionType::Ethernet);
    EXPECT_TRUE(form.EthernetBtn.checked);
    EXPECT_FALSE(form.EthernetBtn.enabled) << "nothing enables the Ethernet button";
    EXPECT_TRUE(form.IpAddressBox.enabled);
    EXPECT_TRUE(form.EditBtn.enabled);
    EXPECT_FALSE(form.ComPortComboBox.enabled);
    EXPECT_EQ(form.EthernetGroup.colour, Black);
    EXPECT_EQ(form.SerialGroup.colour, Grey);
    EXPECT_EQ(world.tcp.host, "127.0.0.1");

    form.SerialBtnClick();
    EXPECT_EQ(world.transport.Type(), ConnectionType::Serial);
    EXPECT_TRUE(form.SerialBtn.checked);
    EXPECT_FALSE(form.EthernetBtn.checked);
    EXPECT_FALSE(form.IpAddressBox.enabled);
    EXPECT_FALSE(form.EditBtn.enabled);
    EXPECT_TRUE(form.StopBitsComboBox.enabled);
    EXPECT_EQ(form.EthernetGroup.colour, Grey);
    EXPECT_EQ(form.SerialGroup.colour, Black);

    form.CancelBtnClick();
    EXPECT_EQ(world.transport.Type(), ConnectionType::Ethernet);
    EXPECT_TRUE(form.EthernetBtn.checked);
    EXPECT_EQ(form.IpAddressBox.marked, 0);
}

TEST(SerialForm, OnlyTheLowestByteOfTheTypeCounts) {
    CommsWorld world;
    world.settings.Write(keys::ConnectionType, 256);
    world.serialForm.LoadCommSettings();
    EXPECT_EQ(world.transport.Type(), ConnectionType::Serial);
    world.settings.Write(keys::ConnectionType, 0x101);
    world.serialForm.LoadCommSettings();
    EXPECT_EQ(world.transport.Type(), ConnectionType::Ethernet);
}

TEST(SerialForm, StoredIndexOutsideAListLeavesItUnmarked) {
    CommsWorld world;
    world.settings.Write(keys::BaudRate, 6);
    world.settings.Write(keys::Parity, -1);
    world.serialForm.LoadCommSettings();
    EXPECT_EQ(world.serialForm.BaudRateComboBox.marked, -1);
    EXPECT_EQ(world.serialForm.ParityComboBox.marked, -1);
    // Without a baud rate the port cannot be configured; the error reaches the caller.
    EXPECT_THROW(world.transport.OpenConnection(), std::out_of_range);
    EXPECT_FALSE(world.transport.PortFailed());
}

TEST(SerialForm, TransportReadsTheMarkedTextsAndParityByIndex) {
    CommsWorld world;
    auto& form = world.serialForm;
    form.LoadCommSettings();
    form.ComPortComboBox.Mark(2);
    form.BaudRateComboBox.Mark(4);
    form.ParityComboBox.Mark(2);
    form.DataBitsComboBox.Mark(0);
    form.StopBitsComboBox.Mark(0);
    EXPECT_TRUE(form.OKBtnClick());
    EXPECT_EQ(world.port.portNumber, 3);
    EXPECT_EQ(world.port.baudRate, 19200);
    EXPECT_EQ(world.port.parity, Parity::Even);
    EXPECT_EQ(world.port.dataBits, 7);
    EXPECT_EQ(world.port.stopBits, 1);

    // Parity with no marked line: the port keeps the parity it had.
    form.ParityComboBox.marked = -1;
    EXPECT_TRUE(form.OKBtnClick());
    EXPECT_EQ(world.port.parity, Parity::Even);
}

TEST(SerialForm, OkSavesInOrderBeforeReconnecting) {
    CommsWorld world;
    std::filesystem::remove(world.settings.SettingsFilePath());
    world.StartUp();
    EXPECT_TRUE(world.serialForm.OKBtnClick());
    EXPECT_EQ(world.folder.Read("Setfolio.ini"),
              "[CommSettings]\r\nType=0\r\n[Ethernet]\r\nIpAddressIndex=-1\r\n"
              "[ComPortSettings]\r\nComPort=32\r\nBaudRate=3\r\nParity=0\r\nDataBits=1\r\n"
              "StopBits=1\r\n");
    EXPECT_FALSE(world.port.IsOpen()) << "OFF: no port is opened and no trigger registered";
}

TEST(SerialForm, PortInUseKeepsTheDialogOpenUntilAnotherPortWorksOrCancelRestores) {
    for (const bool cancel : {false, true}) {
        CommsWorld world;
        world.StartUp();
        auto& form = world.serialForm;
        form.ComPortComboBox.Mark(2);
        world.port.FailNextOpen(PortErrorKind::AlreadyOpen);
        EXPECT_FALSE(form.OKBtnClick());
        EXPECT_EQ(form.ComPortComboBox.MarkedText(), "3");
        EXPECT_EQ(world.prompts.shown.back().substr(0, 29), "error:COM 3 is already open.\r");
        EXPECT_EQ(world.settings.Read(keys::ComPort), 0) << "the working port stays stored";
        world.exchange.QueryLibrary();
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::PortOff);

        if (cancel) {
            form.CancelBtnClick(); // the working port is in force again
            EXPECT_EQ(form.ComPortComboBox.MarkedText(), "1");
            EXPECT_EQ(world.port.portNumber, 1);
        } else {
            form.ComPortComboBox.Mark(3);
            EXPECT_TRUE(form.OKBtnClick());
            EXPECT_EQ(world.port.portNumber, 4);
            EXPECT_EQ(world.settings.Read(keys::ComPort), 3);
        }
        EXPECT_FALSE(world.transport.PortFailed());
    }
}

// An address is chosen while its processor is off: it is kept, and the next exchange tries it.
TEST(SerialForm, EthernetAddressIsStoredAndTheDialogClosesWhenItsProcessorDoesNotAnswer) {
    using Attempt = fake::FakeTcpClient::Attempt;
    for (const Attempt attempt : {Attempt::Refused, Attempt::NeverAnswers}) {
        CommsWorld world;
        world.settings.Write(keys::ConnectionType, 1);
        world.listFile.Write({"10.0.0.5 - Line 1", "10.0.0.6 - Line 2"});
        world.StartUp();
        auto& form = world.serialForm;
        bool accepted = false;
        const auto onOk = form.accepted.Subscribe([&] { accepted = true; });
        form.IpAddressBox.Mark(1);
        world.tcp.SetAttempt(attempt, 5);
        world.prompts.shown.clear();

        EXPECT_TRUE(form.OKBtnClick());
        EXPECT_EQ(world.settings.Read(keys::IpAddressIndex), 1);
        EXPECT_EQ(world.settings.Read(keys::ConnectionType), 1);
        EXPECT_FALSE(accepted) << "nothing is asked of a processor that did not answer";
        world.loop.AdvanceBy(2000);
        const auto& shown = world.prompts.shown;
        EXPECT_NE(
            std::find(shown.begin(), shown.end(), "error:Unable to connect to 10.0.0.6 port 2323."),
            shown.end());
        EXPECT_EQ(shown.size(), 4U) << "the failed attempt and the watchdog, each with its beep";

        // Once the processor is on, the next exchange reaches it.
        world.tcp.SetAttempt(Attempt::Connects, 5);
        world.AnswerTcp([](const std::string&) { return "701 3\r\n"s; });
        EXPECT_EQ(world.exchange.QueryLibrary().library, 3);
        EXPECT_EQ(world.tcp.host, "10.0.0.6");
    }
}

TEST(IpAddressList, FileRoundTripsWithEveryKindOfLineEnd) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& [bytes, entries] : cases) {
        EXPECT_EQ(ParseIpAddressList(bytes), entries) << bytes;
        EXPECT_EQ(ParseIpAddressList(FormatIpAddressList(entries)), entries);
    }
    EXPECT_EQ(FormatIpAddressList({"10.0.0.1 - A", ""}), "10.0.0.1 - A\r\n\r\n");
}

TEST(IpAddressList, EntryGivesTheHostAndItsPortOrTheDefault) {
    const std::pair<std::string, std::optional<HostAndPort>> cases[] = {
        {"192.168.1.20", HostAndPort{"192.168.1.20", 23}},
        {"192.168.1.20:4001 - Line 3", HostAndPort{"192.168.1.20", 4001}},
        {"plc-7.plant:65535 - A - B", HostAndPort{"plc-7.plant", 65535}},
        {"  10.0.0.1  - Line 1", HostAndPort{"10.0.0.1", 23}},
        {"[fe80::1]:4001 - Line 4", HostAndPort{"fe80::1", 4001}},
        {"[fe80::1%eth0]", HostAndPort{"fe80::1%eth0", 23}},
        {"fe80::1 - Line 5", HostAndPort{"fe80::1", 23}}, // no brackets: all of it is the host
        {"10.0.0.1:0", std::nullopt},
        {"10.0.0.1:65536", std::nullopt},
        {"10.0.0.1:", std::nullopt},
        {"10.0.0.1:+23", std::nullopt},
        {"10.0.0.1:23x", std::nullopt},
        {"[fe80::1", std::nullopt},
        {"[fe80::1]4001", std::nullopt},
        {"[]:4001", std::nullopt},
        {":4001", std::nullopt},
        {" - Line 1", std::nullopt},
    };
    for (const auto& [entry, expected] : cases)
        EXPECT_EQ(ParseHostEntry(entry, 23), expected) << entry;
}

TEST(IpAddressList, AnAddressThatLeadsNowhereSaysWhy) {
    const std::pair<std::string, AddressFault> cases[] = {
        {" [fe80::1]:4001 ", AddressFault::None},
        {"", AddressFault::NoHost},
        {":4001", AddressFault::NoHost},
        {"[]:4001", AddressFault::NoHost},
        {"[fe80::1", AddressFault::BadHost},
        {"[fe80::1]4001", AddressFault::BadHost},
        {"[10.0.0.1]:23", AddressFault::BadHost},
        {"plc 7", AddressFault::BadHost},
        {"999.1.1.1:23", AddressFault::BadHost},
        {"10.0.0.1 - Line 1", AddressFault::BadHost}, // an address has no name
        {"10.0.0.1:0", AddressFault::BadPort},
        {"[fe80::1]:", AddressFault::BadPort},
        {"10.0.0.1:99999999999", AddressFault::BadPort},
    };
    for (const auto& [address, fault] : cases)
        EXPECT_EQ(ReadHostAddress(address, 23).fault, fault) << "'" << address << "'";
}

TEST(SerialLine, ChoicesAreReadExactlyAndListedInWords) {
    EXPECT_EQ(ParseBaudRate("38400"), 38400);
    EXPECT_EQ(ParseParity("even"), Parity::Even);
    EXPECT_EQ(ParseDataBits("7"), 7);
    EXPECT_EQ(ParseStopBits("2"), 2);
    for (const char* text : {"9601", "+9600", " 9600", "9600 ", "", "0x2580"})
        EXPECT_EQ(ParseBaudRate(text), std::nullopt) << "'" << text << "'";
    EXPECT_EQ(ParseParity("Even"), std::nullopt);
    EXPECT_EQ(ParseDataBits("6"), std::nullopt);
    EXPECT_EQ(InWords(ParityNames, NameOf(Parity::None)), "none (the default), odd or even");
    EXPECT_EQ(InWords(StopBitsChoices), "1 or 2");
    EXPECT_EQ(InWords(std::array{5}), "5");
}

TEST(EditIpForm, AddsEntriesWithAndWithoutAName) {
    CommsWorld world;
    auto& form = world.ipForm;
    form.AddBtnClick();
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{"beep:warning", "error:Please enter an IP Address."}));
    form.AddressEdit.text = "192.168.1.20";
    form.NameEdit.text = "Line 3";
    form.AddBtnClick();
    form.NameEdit.text.clear();
    form.AddBtnClick();
    EXPECT_EQ(form.AddressList.items,
              (std::vector<std::string>{"192.168.1.20 - Line 3", "192.168.1.20"}));
    EXPECT_EQ(form.AddressEdit.text, "192.168.1.20") << "the fields keep their contents";
    form.ShowIpListDialog();
    EXPECT_EQ(form.AddressEdit.text, "");
}

TEST(EditIpForm, MovesFollowTheSelectionAndBeepAtTheEnds) {
    CommsWorld world;
    auto& form = world.ipForm;
    form.AddressList.items = {"a", "b", "c"};
    form.UpBtnClick();
    EXPECT_EQ(world.prompts.shown.back(), "error:Please select an address from the list.");
    world.prompts.shown.clear();

    form.AddressList.marked = 2;
    form.UpBtnClick();
    form.UpBtnClick();
    EXPECT_EQ(form.AddressList.items, (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(form.AddressList.marked, 0);
    form.UpBtnClick();
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:default"});

    form.AddressList.marked = 2;
    form.DownBtnClick();
    EXPECT_EQ(world.prompts.shown.size(), 2u);
    form.AddressList.marked = 1;
    form.DownBtnClick();
    EXPECT_EQ(form.AddressList.items, (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(form.AddressList.marked, 2);

    form.DeleteBtnClick();
    EXPECT_EQ(form.AddressList.items, (std::vector<std::string>{"c", "b"}));
}

TEST(EditIpForm, OkWritesAndLeavesTheCommunicationsListUnmarked) {
    CommsWorld world;
    world.listFile.Write({"10.0.0.1", "10.0.0.2"});
    world.settings.Write(keys::IpAddressIndex, 1);
    world.StartUp();
    EXPECT_EQ(world.serialForm.IpAddressBox.MarkedText(), "10.0.0.2");

    world.serialForm.EditBtnClick();
    world.ipForm.AddressEdit.text = "10.0.0.3";
    world.ipForm.AddBtnClick();
    world.ipForm.OKBtnClick();
    EXPECT_EQ(world.folder.Read("IpAddressList.txt"), "10.0.0.1\r\n10.0.0.2\r\n10.0.0.3\r\n");
    EXPECT_EQ(world.serialForm.IpAddressBox.items.size(), 3u);
    EXPECT_EQ(world.serialForm.IpAddressBox.marked, -1);

    world.serialForm.OKBtnClick();
    EXPECT_EQ(world.settings.Read(keys::IpAddressIndex), -1);
}

TEST(EditIpForm, CancelWithoutAFileKeepsUnsavedEntriesAndReselects) {
    CommsWorld world;
    world.settings.Write(keys::IpAddressIndex, 0);
    world.StartUp();
    world.ipForm.AddressEdit.text = "10.1.1.1";
    world.ipForm.AddBtnClick();
    world.ipForm.CancelBtnClick();
    EXPECT_EQ(world.ipForm.AddressList.items, std::vector<std::string>{"10.1.1.1"});
    EXPECT_EQ(world.serialForm.IpAddressBox.marked, 0);
    EXPECT_EQ(world.serialForm.IpAddressBox.items, std::vector<std::string>{""});
}

TEST(EditIpForm, FailedWriteKeepsTheOldFile) {
    CommsWorld world;
    world.listFile.Write({"10.0.0.1"});
    world.ipForm.LoadIpAddressList();
    world.ipForm.AddressList.items.push_back("bad\r\nentry");
    EXPECT_THROW(world.ipForm.OKBtnClick(), WriteError);
    EXPECT_EQ(world.folder.Read("IpAddressList.txt"), "10.0.0.1\r\n");
}

TEST(LanguageForm, ChangeOfLanguageKeepsTheParity) {
    CommsWorld world;
    world.settings.Write(keys::Parity, 2);
    world.StartUp();
    world.languageForm.NameLanguageList();
    world.languageForm.LanguageComboBox.Mark(2);
    world.languageForm.OKBtnClick();
    EXPECT_EQ(world.settings.Read(keys::Language), 2);
    const auto& parity = world.serialForm.ParityComboBox;
    EXPECT_EQ(parity.items, (std::vector<std::string>{"aucun", "impair", "pair"}));
    EXPECT_EQ(parity.MarkedText(), "pair");
    EXPECT_EQ(world.localisation.Messages().Text(MsgId::MsgCurrentLibraryIs),
              "La librairie actuelle est");
    world.serialForm.OKBtnClick();
    EXPECT_EQ(world.settings.Read(keys::Parity), 2);
}

TEST(LanguageForm, NoMarkedLineAppliesNothing) {
    CommsWorld world;
    auto& form = world.languageForm;
    form.NameLanguageList();
    world.settings.Write(keys::Language, 5);
    form.CancelBtnClick();
    EXPECT_EQ(form.LanguageComboBox.marked, -1);
    form.ApplyLanguage();
    EXPECT_EQ(world.localisation.Messages().Text(MsgId::MsgNoConnection), "no connection!");
    EXPECT_EQ(form.form.caption, "Select Language");

    form.OKBtnClick();
    EXPECT_EQ(world.settings.Read(keys::Language), -1);

    form.LanguageComboBox.Mark(1);
    form.CancelBtnClick(); // back to the stored value, nothing applied
    EXPECT_EQ(form.LanguageComboBox.marked, -1);
    std::filesystem::remove(world.settings.SettingsFilePath());
    form.CancelBtnClick();
    EXPECT_EQ(form.LanguageComboBox.marked, 0);
    EXPECT_EQ(form.LanguageComboBox.MarkedText(), "English");
}

TEST(TextCatalogue, HoldsTheMessagesThenTheControlTextsOfEachWindow) {
    const auto catalogue = TextCatalogue();
    ASSERT_EQ(catalogue.size(), 105u);
    std::map<TextWindow, int> perWindow;
    for (const auto& entry : catalogue)
        ++perWindow[entry.window];
    EXPECT_EQ(perWindow[TextWindow::Messages], 28);
    EXPECT_EQ(perWindow[TextWindow::MainForm], 16);
    EXPECT_EQ(perWindow[TextWindow::DownLoadForm], 16);
    EXPECT_EQ(perWindow[TextWindow::UpLoadForm], 19);
    EXPECT_EQ(perWindow[TextWindow::ChangeLibForm], 7);
    EXPECT_EQ(perWindow[TextWindow::SerialForm], 13);
    EXPECT_EQ(perWindow[TextWindow::LanguageForm], 6);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        EXPECT_EQ(catalogue[i].window == TextWindow::Messages, i < 28) << i;
        for (const auto text : catalogue[i].texts)
            EXPECT_FALSE(text.empty()) << catalogue[i].target;
    }
    EXPECT_EQ(catalogue[0].target, "MsgCurrentLibraryIs");
    EXPECT_EQ(catalogue[27].target, "MsgConfirmProceed");
}

TEST(TextCatalogue, EveryMessageTextOfEveryLanguageReachesTheMessages) {
    for (const auto language : {Language::English, Language::German, Language::French}) {
        Localisation localisation;
        localisation.Apply(language);
        for (std::size_t i = 0; i < MessageCount; ++i) {
            EXPECT_EQ(localisation.Messages().Text(static_cast<MsgId>(i)),
                      TextCatalogue()[i].texts[static_cast<std::size_t>(language)])
                << TextCatalogue()[i].target;
        }
    }
    // A few texts with letters beyond ASCII, exactly.
    EXPECT_EQ(CatalogueText(MsgId::MsgNoConnection, Language::German), "kein Anschlu\u00df!");
    EXPECT_EQ(CatalogueText(MsgId::MsgConfirmProceed, Language::French),
              "Etes-vous s\u00fbr de vouloir continuer?");
    EXPECT_EQ(CatalogueText(MsgId::MsgCalibrationWarning, Language::French),
              "Attention - les valeurs actuelles d'\u00e9talonnage, lin\u00e9arisation et test "
              "r\u00e9gulation seront remplac\u00e9es!!!");
}

} // namespace
