#include "AppWorld.h"
#include "FakeDialogs.h"
#include "FakeSerialDevices.h"
#include "LinkWorld.h"
#include "PosixOnly.h"
#include "forms/EditIpForm.h"
#include "forms/SerialForm.h"
#include "forms/StatusLine.h"
#include "link/IpAddressList.h"
#include "link/PortLinks.h"
#include "transfer/CurrentLibraryLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace setfolio;
namespace fs = std::filesystem;

namespace {

// The communications dialog over the fake link, with a folder of devices of its own: "tty0" and
// "ttyUSB0" exist, and the standard ports are dev/ttyS<n-1>, of which only dev/ttyS1 exists.
struct PortsWorld : setfolio::testing::LinkWorld {
    Localisation localisation;
    fake::FakeDialogs dialogs;
    fake::FakeSerialDevices devices;
    SerialForm form{settings, transport, localisation, dialogs, prompts};
    std::string dev = folder.File("dev");

    PortsWorld() {
        fs::create_directories(dev + "/serial/by-id");
        for (const char* name : {"ttyS1", "ttyUSB0", "ttyUSB1"})
            folder.Write(std::string("dev/") + name, "");
#ifndef _WIN32
        fs::create_symlink("../../ttyUSB0", dev + "/serial/by-id/usb-Maker_Adapter_A1-port0");
#endif
        devices.devices = {
            {dev + "/serial/by-id/usb-Maker_Adapter_A1-port0", dev + "/ttyUSB0", "USB Serial",
             "Maker", "A1"},
            {dev + "/ttyUSB1", dev + "/ttyUSB1", "", "", ""},
        };
    }
    void Attach() {
        form.AttachPorts(PortLinks(folder.Path(), dev + "/ttyS"), devices, prompts);
    }
    std::string Entry(int number) const {
        return folder.File("ports/COM" + std::to_string(number));
    }
};

// The links the standard library makes and the numbered /dev/ttyS devices are POSIX's; Windows
// names its ports COMn itself (see the test after these).
constexpr const char* LinksArePosix = "ports/COMn are symbolic links to devices";

TEST(PortLinks, EachPortLeadsToItsLinkOrItsStandardDevice) {
    SETFOLIO_POSIX_ONLY(LinksArePosix);
    PortsWorld world;
    const PortLinks links(world.folder.Path(), world.dev + "/ttyS");
    fs::create_directories(world.folder.File("ports"));
    fs::create_symlink(world.dev + "/ttyUSB0", world.Entry(3));
    fs::create_symlink(world.dev + "/gone", world.Entry(4));
    using Kind = PortLinks::Reach::Kind;
    const struct {
        int number;
        Kind kind;
        std::string target;
        bool missing;
        std::string device;
    } cases[] = {
        {1, Kind::None, "", false, world.dev + "/ttyS0"},
        {2, Kind::Standard, world.dev + "/ttyS1", false, world.dev + "/ttyS1"},
        {3, Kind::Link, world.dev + "/ttyUSB0", false,
         fs::canonical(world.dev + "/ttyUSB0").string()},
        {4, Kind::Link, world.dev + "/gone", true, world.Entry(4)},
    };
    for (const auto& c : cases) {
        const auto reach = links.Reaches(c.number);
        EXPECT_EQ(reach.kind, c.kind) << c.number;
        EXPECT_EQ(reach.target, c.target) << c.number;
        EXPECT_EQ(reach.missing, c.missing) << c.number;
        EXPECT_EQ(links.DevicePath(c.number), c.device) << c.number;
    }
}

TEST(PortLinks, LinkIsMadeOrReplacedInOneStepButNeverOverSomethingElse) {
    SETFOLIO_POSIX_ONLY(LinksArePosix);
    PortsWorld world;
    const PortLinks links(world.folder.Path(), world.dev + "/ttyS");
    links.Link(5, world.dev + "/ttyUSB0"); // makes the folder
    EXPECT_EQ(fs::read_symlink(world.Entry(5)), world.dev + "/ttyUSB0");
    links.Link(5, world.dev + "/ttyUSB1");
    EXPECT_EQ(fs::read_symlink(world.Entry(5)), world.dev + "/ttyUSB1");
    EXPECT_EQ(std::distance(fs::directory_iterator(world.folder.File("ports")), {}), 1)
        << "no temporary link is left behind";

    world.folder.Write("ports/COM6", "mine");
    EXPECT_THROW(links.Link(6, world.dev + "/ttyUSB0"), std::runtime_error);
    EXPECT_EQ(world.folder.Read("ports/COM6"), "mine");
}

TEST(SerialForm, ShowsWhereEachPortLeadsAndOffersTheSystemsDevices) {
    SETFOLIO_POSIX_ONLY(LinksArePosix);
    PortsWorld world;
    auto& form = world.form;
    const auto numbers = form.ComPortComboBox.items;
    EXPECT_FALSE(form.DeviceComboBox.visible) << "no device controls without a device list";
    fs::create_directories(world.folder.File("ports"));
    fs::create_symlink(world.dev + "/gone", world.Entry(4));
    world.Attach();

    EXPECT_EQ(form.ComPortComboBox.items, numbers) << "the port list's lines stay the numbers";
    ASSERT_EQ(form.ComPortDevices.size(), numbers.size());
    EXPECT_EQ(form.ComPortDevices[0], "no device");
    EXPECT_EQ(form.ComPortDevices[1], world.dev + "/ttyS1");
    EXPECT_EQ(form.ComPortDevices[3], world.dev + "/gone (not present)");
    EXPECT_EQ(form.ComPortDevices[32], "") << "OFF leads nowhere";
    EXPECT_EQ(form.DeviceComboBox.items,
              (std::vector<std::string>{"ttyUSB0 - USB Serial (Maker, A1)", "ttyUSB1"}));
    EXPECT_TRUE(form.DeviceComboBox.visible);

    form.ComPortComboBox.Mark(1);
    form.ComPortChange();
    EXPECT_EQ(form.DeviceText.caption, world.dev + "/ttyS1");

    world.localisation.Apply(Language::German);
    EXPECT_EQ(form.ComPortDevices[0], "kein Ger\u00e4t");
    EXPECT_EQ(form.ComPortDevices[3], world.dev + "/gone (nicht vorhanden)");

    form.DeviceComboBox.Mark(1);
    std::swap(world.devices.devices[0], world.devices.devices[1]);
    form.RefreshPorts();
    EXPECT_EQ(form.DeviceComboBox.marked, 0) << "the marked device stays marked";

    world.devices.devices.clear();
    form.RefreshPorts();
    EXPECT_EQ(form.DeviceComboBox.items,
              std::vector<std::string>{"kein serielles Ger\u00e4t gefunden"});
    EXPECT_FALSE(form.DeviceComboBox.enabled);
    EXPECT_FALSE(form.AssignBtn.enabled);
}

TEST(SerialForm, AssignLinksTheMarkedPortToTheStableNameOfTheMarkedDevice) {
    SETFOLIO_POSIX_ONLY(LinksArePosix);
    PortsWorld world;
    auto& form = world.form;
    world.settings.Write(keys::ComPort, 0);
    world.Attach();
    form.ComPortComboBox.Mark(32); // OFF
    form.DeviceComboBox.Mark(0);
    form.AssignBtnClick();
    EXPECT_EQ(world.prompts.shown.back(),
              "error:Choose the COM port (1 to 32) that is to lead to the device first.");
    EXPECT_FALSE(fs::exists(world.folder.File("ports")));

    for (const int device : {1, 0}) { // made, then replaced
        form.ComPortComboBox.Mark(6);
        form.DeviceComboBox.Mark(device);
        form.AssignBtnClick();
        EXPECT_EQ(fs::read_symlink(world.Entry(7)), world.devices.devices[device].path);
    }
    EXPECT_EQ(form.DeviceText.caption, world.dev + "/serial/by-id/usb-Maker_Adapter_A1-port0");
    EXPECT_EQ(form.ComPortDevices[6], form.DeviceText.caption);
    EXPECT_EQ(world.settings.Read(keys::ComPort), 0) << "the stored port does not change";

    world.folder.Write("ports/COM8", "");
    form.ComPortComboBox.Mark(7);
    world.prompts.shown.clear();
    form.AssignBtnClick();
    EXPECT_EQ(
        world.prompts.shown,
        (std::vector<std::string>{"beep:warning", "error:" + world.Entry(8) +
                                                      " is not a link; it is left as it is."}));
}

#ifdef _WIN32
// Windows names its serial ports: each port is COMn whatever the settings folder holds, nothing
// is linked, the communications dialog shows the name and the status line does not repeat it.
TEST(PortLinks, OnWindowsEachPortIsTheSystemsOwnComName) {
    PortsWorld world;
    fs::create_directories(world.folder.File("ports"));
    world.folder.Write("ports/COM2", "not a link"); // ignored: there are no entries
    const PortLinks links(world.folder.Path());
    for (const int number : {1, 2, 32}) {
        const std::string name = "COM" + std::to_string(number);
        const auto reach = links.Reaches(number);
        EXPECT_EQ(reach.kind, PortLinks::Reach::Kind::Standard) << number;
        EXPECT_EQ(reach.target, name);
        EXPECT_FALSE(reach.missing);
        EXPECT_FALSE(links.HasEntry(number));
        EXPECT_EQ(links.DevicePath(number), name);
    }
    EXPECT_FALSE(PortLinks::MakesLinks());
    EXPECT_THROW(links.Link(5, "COM9"), std::runtime_error);
    EXPECT_FALSE(fs::exists(world.folder.File("ports/COM5")));

    world.devices.devices = {{"\\\\.\\COM3", "\\\\.\\COM3", "USB Serial Port", "Maker", "A1"}};
    world.Attach();
    EXPECT_EQ(world.form.ComPortDevices[6], "COM7");
    EXPECT_EQ(world.form.DeviceComboBox.items,
              std::vector<std::string>{"COM3 - USB Serial Port (Maker, A1)"});
    EXPECT_FALSE(world.form.AssignBtn.visible) << "nothing to assign";

    const MessageTexts& texts = world.localisation.Messages();
    const SerialSettings serial{7, 19200, Parity::Even, 7, 1};
    EXPECT_EQ(SerialLinkText(serial, DeviceOfPort(world.folder.Path(), 7), texts),
              "COM7 19200 7E1");
    EXPECT_EQ(SerialLinkText(serial, DeviceInUse("\\\\.\\COM7"), texts), "COM7 19200 7E1");
    EXPECT_EQ(SerialLinkText(serial, DeviceInUse("COM12"), texts), "COM7 19200 7E1 \u2192 COM12");
}
#endif

TEST(IpAddressList, AddressesAreIpv4Ipv6OrHostNamesWithAnOptionalPort) {
    const std::pair<std::string_view, bool> cases[] = {
        {"192.168.1.20", true},
        {"255.255.255.255:65535", true},
        {"0.0.0.0", true},
        {"999.1.1.1", false},
        {"192.168.1.256", false},
        {"192.168.1", false},
        {"192.168.1.2.3", false},
        {"1.2.3.4:0", false},
        {"1.2.3.4:65536", false},
        {"1.2.3.4:", false},
        {"fe80::1", true}, // without brackets, port 23
        {"[fe80::1]:4001", true},
        {"[fe80::1%eth0]", true},
        {"[::ffff:192.0.2.1]:23", true},
        {"2001:db8:0:0:0:0:0:1", true},
        {"2001:db8::1::2", false},
        {"2001:db8:0:0:0:0:0:0:1", false},
        {"[fe80::g]", false},
        {"[10.0.0.1]:23", false},
        {"plc-7.plant", true},
        {"line_3:4001", true},
        {"localhost", true},
        {"-plc", false},
        {"plc..plant", false},
        {"plc 7", false},
        {"10.0.0.1 - Line 1", false}, // the name has a field of its own
        {"", false},
    };
    for (const auto& [address, valid] : cases)
        EXPECT_EQ(IsValidAddress(address), valid) << address;
}

TEST(EditIpForm, RefusesAnAddressThatIsNoneInTheLanguageOfTheUser) {
    PortsWorld world;
    IpAddressListFile file(world.folder.Path());
    EditIpForm ipForm(file, world.form, world.prompts, world.localisation);
    ipForm.AddressEdit.text = "999.1.1.1";
    ipForm.AddBtnClick();
    world.localisation.Apply(Language::French);
    ipForm.AddBtnClick();
    ASSERT_EQ(world.prompts.shown.size(), 4U);
    EXPECT_TRUE(world.prompts.shown[1].starts_with(
        "error:\"999.1.1.1\" is not an IP address or host name."));
    EXPECT_TRUE(world.prompts.shown[3].starts_with(
        "error:\"999.1.1.1\" n'est ni une adresse IP ni un nom d'h\u00f4te."));
    EXPECT_TRUE(ipForm.AddressList.items.empty());
}

// Every text the communications and IP list dialogs show, and the link's reports, in German and
// French: only words that are the same in the language may stay English.
TEST(Languages, CommunicationDialogsAndTheirMessagesAreTranslated) {
    PortsWorld world;
    world.Attach();
    world.form.LoadCommSettings();
    world.form.ComPortComboBox.Mark(2); // COM3, which leads nowhere
    world.form.ComPortChange();
    IpAddressListFile file(world.folder.Path());
    EditIpForm ipForm(file, world.form, world.prompts, world.localisation);
    const auto texts = [&] {
        auto& f = world.form;
        std::vector<std::string> all{f.form.caption, ipForm.form.caption};
        for (const Control* control : std::initializer_list<const Control*>{
                 &f.EthernetBtn,      &f.SerialBtn,         &f.EthernetGroup,
                 &f.SerialGroup,      &f.IpAddressLabel,    &f.IpAddressBox,
                 &f.EditBtn,          &f.ComPortLabel,      &f.BaudRateLabel,
                 &f.ParityLabel,      &f.DataBitsLabel,     &f.StopBitsLabel,
                 &f.DeviceLabel,      &f.DeviceText,        &f.AvailableLabel,
                 &f.DeviceComboBox,   &f.AssignBtn,         &f.OKBtn,
                 &f.CancelBtn,        &ipForm.AddressLabel, &ipForm.NameLabel,
                 &ipForm.AddressEdit, &ipForm.NameEdit,     &ipForm.AddBtn,
                 &ipForm.ListLabel,   &ipForm.UpBtn,        &ipForm.DownBtn,
                 &ipForm.DeleteBtn,   &ipForm.OKBtn,        &ipForm.CancelBtn}) {
            for (const auto* text : {&control->caption, &control->hint}) {
                if (!text->empty())
                    all.push_back(*text);
            }
        }
        world.port.FailNextOpen(PortErrorKind::DoesNotExist);
        world.transport.OpenConnection();
        all.push_back(world.prompts.shown.back());
        return all;
    };
    const auto english = texts();
    // On Windows the device of COM3 is the port's own name.
    const std::set<std::string> same{"Ethernet", "OK", "Name", "COM Port", "COM3"};
    for (const auto language : {Language::German, Language::French}) {
        world.localisation.Apply(language);
        const auto translated = texts();
        ASSERT_EQ(translated.size(), english.size());
        for (std::size_t i = 0; i < english.size(); ++i) {
            if (!same.contains(english[i])) {
                EXPECT_NE(translated[i], english[i]) << static_cast<int>(language);
            }
        }
    }
    EXPECT_EQ(texts().back().substr(0, 33), "error:Le port COM 3 n'existe pas.");
}

} // namespace

namespace {

// Texts of other windows that the catalogue gives in English only.
TEST(Languages, UploadHintFileFilterAndPortOffLineFollowTheLanguage) {
    setfolio::testing::AppWorld world;
    auto& upload = world.app.upLoadForm;
    const std::string english = upload.IncludeCommonCB.hint;
    world.app.localisation.Apply(Language::German);
    EXPECT_EQ(upload.IncludeCommonCB.hint,
              "Anw\u00e4hlen, um Kalibrierungs-, Linearisierungs- und Jog-Werte zu laden");
    EXPECT_EQ(upload.IncludeCommonCB.caption, "Cal-Daten einschlie\u00dfen") << "the catalogue's";
    world.app.downLoadForm.FileBtnClick();
    EXPECT_NE(world.dialogs.shown.back().find("| Bibliotheksdateien (*.lvf) |"), std::string::npos)
        << world.dialogs.shown.back();
    EXPECT_EQ(CurrentLibraryLine(ReplyStatus::PortOff, 1, world.app.localisation.Messages()),
              "Bitte w\u00e4hlen Sie einen g\u00fcltigen COM-Port!");
    world.app.localisation.Apply(Language::English);
    EXPECT_EQ(upload.IncludeCommonCB.hint, english);
}

} // namespace
