#include "FakeDialogs.h"
#include "FakeEventLoop.h"
#include "FakePrompts.h"
#include "FakeSerialDevices.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "TempFolder.h"
#include "TextsFit.h"
#include "core/Settings.h"
#include "forms/EditIpForm.h"
#include "forms/LanguageForm.h"
#include "forms/SerialForm.h"
#include "i18n/Localisation.h"
#include "link/IpAddressList.h"
#include "link/PortLinks.h"
#include "link/Transport.h"
#include "ui/QtEditIpForm.h"
#include "ui/QtLanguageForm.h"
#include "ui/QtPrompts.h"
#include "ui/QtSerialForm.h"
#include "ui/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <tuple>

// Readable failure messages.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace setfolio {
namespace {

using testing::ExpectNoOverlaps;
using testing::ExpectTextsFit;
using testing::TempFolder;
using Shown = std::vector<std::string>;

// The three dialogs' models on the fake platform, in a fresh program folder.
struct World {
    TempFolder folder;
    fake::FakeEventLoop loop;
    fake::FakeSerialPort port{loop};
    fake::FakeTcpClient tcp{loop};
    fake::FakePrompts prompts;
    Settings settings{folder.Path()};
    Transport transport{port, tcp, loop, prompts};
    Localisation localisation;
    fake::FakeDialogs dialogs;
    SerialForm serial{settings, transport, localisation, dialogs, prompts};
    IpAddressListFile ipFile{folder.Path()};
    EditIpForm editIp{ipFile, serial, prompts, localisation};
    LanguageForm language{settings, localisation, serial.ParityComboBox};

    World() { language.NameLanguageList(); }

    // COM1 9600 none 8 2 on the serial line, or Ethernet, and two addresses in the list.
    void Load(bool ethernet) {
        settings.Write(keys::ConnectionType, ethernet ? 1 : 0);
        settings.Write(keys::ComPort, 0);
        settings.Write(keys::IpAddressIndex, 1);
        ipFile.Write({"192.168.1.20 - Line 3", "10.0.0.7"});
        editIp.LoadIpAddressList();
        serial.LoadCommSettings();
        serial.LoadIpAddressIndex();
    }

    void UseLanguage(Language chosen) {
        language.LanguageComboBox.Mark(static_cast<int>(chosen));
        language.ApplyLanguage();
    }
};

template <typename T> T& Find(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<T*>(QLatin1String(name));
    if (!widget)
        throw std::logic_error(std::string("no widget named ") + name);
    return *widget;
}

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

QStringList Items(const QListWidget& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items << list.item(i)->text();
    return items;
}

// Types any text, one key event a character (QTest's key clicks know ASCII only).
void Type(QWidget& widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &release);
    }
}

void Show(QWidget& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

TEST(DialogLayout, EveryLanguageFitsWithoutOverlaps) {
    World world;
    world.Load(false);
    fake::FakeSerialDevices devices;
    devices.devices = {{"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KZP3Q-if00-port0",
                        "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KZP3Q"}};
    world.serial.AttachPorts(PortLinks(world.folder.Path()), devices, world.prompts);
    QtSerialForm serial(world.serial, world.prompts);
    QtEditIpForm editIp(world.editIp, world.prompts);
    QtLanguageForm language(world.language, world.prompts);
    // The designed sizes, where the texts fit them; larger where a language needs it.
    const std::pair<QDialog*, QSize> designed[] = {
        {&serial, QSize(471, 343 + 76)}, // with the rows of the devices
        {&editIp, QSize(511, 393)},
        {&language, QSize(270, 111)},
    };
    for (const Language chosen : {Language::English, Language::German, Language::French}) {
        SCOPED_TRACE(static_cast<int>(chosen));
        world.UseLanguage(chosen);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&serial, &editIp, &language}) {
            if (auto* qtSerial = qobject_cast<QtSerialForm*>(dialog))
                qtSerial->Refresh();
            else if (auto* qtEditIp = qobject_cast<QtEditIpForm*>(dialog))
                qtEditIp->Refresh();
            else
                qobject_cast<QtLanguageForm*>(dialog)->Refresh();
            ExpectTextsFit(*dialog);
            ExpectNoOverlaps(*dialog);
        }
        for (const auto& [dialog, size] : designed) {
            if (chosen == Language::English) {
                EXPECT_EQ(dialog->size(), size) << dialog->objectName().toStdString();
            } else
                EXPECT_TRUE(dialog->width() >= size.width() && dialog->height() >= size.height())
                    << dialog->objectName().toStdString();
        }
    }
}

TEST(SerialDialog, ShowsTheModelAndFlipsToSerial) {
    World world;
    world.Load(true);
    QtSerialForm dialog(world.serial, world.prompts);
    Show(dialog);

    auto& ethernetBtn = Find<QRadioButton>(dialog, "EthernetBtn");
    auto& serialBtn = Find<QRadioButton>(dialog, "SerialBtn");
    auto& ethernetGroup = Find<QGroupBox>(dialog, "EthernetGroup");
    auto& serialGroup = Find<QGroupBox>(dialog, "SerialGroup");
    auto& ipBox = Find<QComboBox>(dialog, "IpAddressBox");
    auto& comPort = Find<QComboBox>(dialog, "ComPortComboBox");
    EXPECT_EQ(dialog.windowTitle(), "Configure Communications");
    EXPECT_TRUE(ethernetBtn.isChecked());
    EXPECT_FALSE(ethernetBtn.isEnabled());
    EXPECT_TRUE(ipBox.isEnabled());
    EXPECT_FALSE(comPort.isEnabled());
    EXPECT_EQ(ipBox.currentText(), "10.0.0.7");
    EXPECT_EQ(comPort.currentText(), "1");
    EXPECT_EQ(ethernetGroup.palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(serialGroup.palette().color(QPalette::WindowText), QColor(128, 128, 128));

    QTest::mouseClick(&serialBtn, Qt::LeftButton);
    EXPECT_EQ(world.transport.Type(), ConnectionType::Serial);
    EXPECT_TRUE(serialBtn.isChecked());
    EXPECT_FALSE(ethernetBtn.isChecked());
    EXPECT_FALSE(ipBox.isEnabled());
    EXPECT_FALSE(Find<QPushButton>(dialog, "EditBtn").isEnabled());
    EXPECT_TRUE(comPort.isEnabled());
    EXPECT_EQ(ethernetGroup.palette().color(QPalette::WindowText), QColor(128, 128, 128));
    EXPECT_EQ(serialGroup.palette().color(QPalette::WindowText), QColor(0, 0, 0));

    // Clicking the checked button again leaves it checked.
    QTest::mouseClick(&serialBtn, Qt::LeftButton);
    EXPECT_TRUE(serialBtn.isChecked());
}

TEST(SerialDialog, ChoicesReachTheModelAndModelChangesReachTheWidgets) {
    World world;
    world.Load(false);
    QtSerialForm dialog(world.serial, world.prompts);
    Show(dialog);
    auto& baud = Find<QComboBox>(dialog, "BaudRateComboBox");
    baud.setFocus();
    QTest::keyClick(&baud, Qt::Key_Down);
    EXPECT_EQ(world.serial.BaudRateComboBox.marked, 4);
    EXPECT_EQ(world.serial.CurrentSerialSettings().baudRate, 19200);

    world.serial.form.caption = "Other";
    world.serial.ParityComboBox.Mark(2);
    world.serial.IpAddressBox.SetItems({"172.16.0.1 - B\xFChne", "10.0.0.9"});
    world.serial.IpAddressBox.Mark(0);
    world.serial.OKBtn.hint = "Accept";
    world.serial.CancelBtn.visible = false;
    dialog.Refresh();
    EXPECT_EQ(dialog.windowTitle(), "Other");
    EXPECT_EQ(Find<QComboBox>(dialog, "ParityComboBox").currentText(), "even");
    EXPECT_EQ(Items(Find<QComboBox>(dialog, "IpAddressBox")),
              QStringList({QString::fromUtf8("172.16.0.1 - B\u00fchne"), "10.0.0.9"}));
    EXPECT_EQ(Find<QComboBox>(dialog, "IpAddressBox").currentIndex(), 0);
    EXPECT_EQ(Find<QPushButton>(dialog, "OKBtn").toolTip(), "Accept");
    EXPECT_FALSE(Find<QPushButton>(dialog, "CancelBtn").isVisible());

    world.serial.ParityComboBox.marked = -1;
    dialog.Refresh();
    EXPECT_EQ(Find<QComboBox>(dialog, "ParityComboBox").currentIndex(), -1);
}

TEST(SerialDialog, AssignLinksTheChosenPortAndTheListShowsWhereEachPortLeads) {
    World world;
    world.Load(false);
    world.folder.Write("adapter", "");
    fake::FakeSerialDevices devices;
    devices.devices = {{world.folder.File("adapter"), "/dev/ttyUSB0", "USB Serial", "", ""}};
    world.serial.AttachPorts(PortLinks(world.folder.Path(), world.folder.File("ttyS")), devices,
                             world.prompts);
    QtSerialForm dialog(world.serial, world.prompts);
    Show(dialog);
    auto& ports = Find<QComboBox>(dialog, "ComPortComboBox");
    ports.setCurrentIndex(4);
    emit ports.activated(4); // COM5
    QTest::mouseClick(&Find<QPushButton>(dialog, "AssignBtn"), Qt::LeftButton);

    EXPECT_EQ(std::filesystem::read_symlink(world.folder.File("ports/COM5")),
              world.folder.File("adapter"));
    EXPECT_EQ(Find<QLabel>(dialog, "DeviceText").text().toStdString(),
              world.folder.File("adapter"));
    EXPECT_EQ(ports.itemText(4), "5") << "the lines stay the numbers";
    EXPECT_EQ(ports.itemData(4, Qt::UserRole + 1).toString().toStdString(),
              world.folder.File("adapter"));
    EXPECT_EQ(world.settings.Read(keys::ComPort), 0) << "nothing is stored before OK";
}

TEST(SerialDialog, OkKeepsTheDialogOpenAfterAPortErrorAndClosesOnceThePortOpens) {
    World world;
    world.Load(false);
    QtSerialForm dialog(world.serial, world.prompts);
    Show(dialog);
    world.port.FailNextOpen(PortErrorKind::DoesNotExist);
    QTest::mouseClick(&Find<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(world.prompts.shown.size(), 2U);
    EXPECT_EQ(world.prompts.shown[0], "beep:warning");
    EXPECT_EQ(world.prompts.shown[1].rfind("error:COM 1 does not exist.", 0), 0U);

    world.prompts.shown.clear();
    QTest::mouseClick(&Find<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(world.prompts.shown.empty());
    EXPECT_TRUE(world.port.IsOpen());
    EXPECT_EQ(world.port.baudRate, 9600);
}

TEST(SerialDialog, OkThatThrowsReportsTheErrorAndStaysOpenUntilCancelRestores) {
    World world;
    world.Load(false);
    world.serial.BaudRateComboBox.marked = -1;
    QtSerialForm dialog(world.serial, world.prompts);
    Show(dialog);
    Find<QPushButton>(dialog, "OKBtn").click();
    EXPECT_EQ(world.prompts.shown, Shown({"beep:warning", "error:No baud rate is selected."}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(world.serial.BaudRateComboBox.marked, -1) << "the user's lists stay as they were";
    Find<QPushButton>(dialog, "CancelBtn").click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(world.serial.BaudRateComboBox.marked, 3) << "the stored settings are back";
    EXPECT_TRUE(world.port.IsOpen());
    EXPECT_EQ(world.port.baudRate, 9600);
}

TEST(SerialDialog, CancelAndEscapeReloadTheStoredSettings) {
    World world;
    world.Load(false);
    QtSerialForm dialog(world.serial, world.prompts);
    for (const bool escape : {false, true}) {
        Show(dialog);
        auto& stopBits = Find<QComboBox>(dialog, "StopBitsComboBox");
        stopBits.setFocus();
        QTest::keyClick(&stopBits, Qt::Key_Up);
        EXPECT_EQ(world.serial.StopBitsComboBox.marked, 0);
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            Find<QPushButton>(dialog, "CancelBtn").click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(world.serial.StopBitsComboBox.marked, 1);
        EXPECT_EQ(stopBits.currentText(), "2");
    }
}

TEST(SerialDialog, EditButtonShowsTheReloadedAddressList) {
    World world;
    world.Load(true);
    QtSerialForm dialog(world.serial, world.prompts);
    int opened = 0;
    world.dialogs.onIpList = [&] {
        ++opened;
        world.serial.IpAddressBox.SetItems({"10.1.1.1"});
    };
    Find<QPushButton>(dialog, "EditBtn").click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(Items(Find<QComboBox>(dialog, "IpAddressBox")), QStringList({"10.1.1.1"}));
    EXPECT_EQ(Find<QComboBox>(dialog, "IpAddressBox").currentIndex(), -1);
}

TEST(SerialDialog, ShowsFrenchAndGermanTexts) {
    World world;
    world.Load(false);
    world.serial.ParityComboBox.Mark(1);
    QtSerialForm dialog(world.serial, world.prompts);

    world.UseLanguage(Language::French);
    dialog.Refresh();
    auto& parity = Find<QComboBox>(dialog, "ParityComboBox");
    EXPECT_EQ(dialog.windowTitle(), "Configurer le Port Com");
    EXPECT_EQ(Items(parity), QStringList({"aucun", "impair", "pair"}));
    EXPECT_EQ(parity.currentText(), "impair");
    EXPECT_EQ(Find<QLabel>(dialog, "ParityLabel").text(), QString::fromUtf8("Parit\u00e9"));
    EXPECT_EQ(Find<QLabel>(dialog, "StopBitsLabel").text(), QString::fromUtf8("Bit d'arr\u00eat"));
    EXPECT_EQ(Find<QPushButton>(dialog, "CancelBtn").toolTip(),
              QString::fromUtf8("Cliquer pour sortir sans changer les r\u00e9glages"));

    world.UseLanguage(Language::German);
    dialog.Refresh();
    EXPECT_EQ(dialog.windowTitle(), "Konfigurieren des ComPort");
    EXPECT_EQ(Find<QLabel>(dialog, "ParityLabel").text(), QString::fromUtf8("Parit\u00e4t"));
    EXPECT_EQ(Items(parity), QStringList({"keine", "ungerade", "gerade"}));
    EXPECT_EQ(parity.currentText(), "ungerade");
}

// An EditIpForm dialog over a list file of three entries.
struct IpListDialog : ::testing::Test {
    World world;
    std::unique_ptr<QtEditIpForm> dialog;

    void SetUp() override {
        world.ipFile.Write({"192.168.1.20 - Line 3", "192.168.1.21 - Line 4", "10.0.0.7"});
        world.editIp.LoadIpAddressList();
        dialog = std::make_unique<QtEditIpForm>(world.editIp, world.prompts);
        Show(*dialog);
    }
    QListWidget& List() { return Find<QListWidget>(*dialog, "AddressList"); }
    QPushButton& Button(const char* name) { return Find<QPushButton>(*dialog, name); }
    void ClickRow(int row) {
        const QRect rect = List().visualItemRect(List().item(row));
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, rect.center());
    }
};

TEST_F(IpListDialog, AddTakesTheTypedAddressAndName) {
    QTest::keyClicks(&Find<QLineEdit>(*dialog, "AddressEdit"), "10.0.0.5");
    QTest::keyClicks(&Find<QLineEdit>(*dialog, "NameEdit"), "Presse 2");
    QTest::mouseClick(&Button("AddBtn"), Qt::LeftButton);
    EXPECT_EQ(world.editIp.AddressList.items.back(), "10.0.0.5 - Presse 2");
    EXPECT_EQ(Items(List()).back(), "10.0.0.5 - Presse 2");
    EXPECT_EQ(List().count(), 4);
}

TEST_F(IpListDialog, AddWithoutAnAddressIsRefused) {
    Button("AddBtn").click();
    EXPECT_EQ(world.prompts.shown, Shown({"beep:warning", "error:Please enter an IP Address."}));
    EXPECT_EQ(List().count(), 3);
}

TEST_F(IpListDialog, EditsKeepSingleByteText) {
    auto& name = Find<QLineEdit>(*dialog, "NameEdit");
    Type(name, QString::fromUtf8("B\u00fchne"));
    EXPECT_EQ(world.editIp.NameEdit.text, "B\xFChne");
    // Neither a character the file cannot hold nor a line break gets in.
    Type(name, QString::fromUtf8("\u20ac"));
    name.insert("x\ny");
    EXPECT_EQ(name.text(), QString::fromUtf8("B\u00fchne"));
    EXPECT_EQ(world.editIp.NameEdit.text, "B\xFChne");

    world.editIp.AddressEdit.text = "10.0.0.\xE9";
    dialog->Refresh();
    EXPECT_EQ(Find<QLineEdit>(*dialog, "AddressEdit").text(), QString::fromUtf8("10.0.0.\u00e9"));
}

TEST_F(IpListDialog, SelectionMovesAndDeletes) {
    ClickRow(2);
    EXPECT_EQ(world.editIp.AddressList.marked, 2);
    QTest::mouseClick(&Button("UpBtn"), Qt::LeftButton);
    EXPECT_EQ(Items(List()),
              QStringList({"192.168.1.20 - Line 3", "10.0.0.7", "192.168.1.21 - Line 4"}));
    EXPECT_EQ(List().currentRow(), 1);
    EXPECT_TRUE(List().item(1)->isSelected());

    Button("DownBtn").click();
    Button("DownBtn").click(); // already last: only a beep
    EXPECT_EQ(world.prompts.shown, Shown({"beep:default"}));
    EXPECT_EQ(world.editIp.AddressList.marked, 2);
    EXPECT_EQ(List().item(2)->text(), "10.0.0.7");

    Button("DeleteBtn").click();
    EXPECT_EQ(Items(List()), QStringList({"192.168.1.20 - Line 3", "192.168.1.21 - Line 4"}));
    EXPECT_TRUE(List().selectedItems().isEmpty());
    EXPECT_EQ(world.editIp.AddressList.marked, -1);

    world.prompts.shown.clear();
    Button("UpBtn").click();
    EXPECT_EQ(world.prompts.shown,
              Shown({"beep:warning", "error:Please select an address from the list."}));
}

TEST_F(IpListDialog, OkWritesTheListAndCloses) {
    ClickRow(0);
    Button("DeleteBtn").click();
    Button("OKBtn").click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(world.folder.Read("IpAddressList.txt"), "192.168.1.21 - Line 4\r\n10.0.0.7\r\n");
    EXPECT_EQ(world.serial.IpAddressBox.items,
              std::vector<std::string>({"192.168.1.21 - Line 4", "10.0.0.7"}));
}

TEST_F(IpListDialog, OkThatCannotWriteStaysOpen) {
    std::filesystem::remove(world.ipFile.Path());
    std::filesystem::create_directory(world.ipFile.Path());
    Button("OKBtn").click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(world.prompts.shown,
              Shown({"beep:warning", "error:Unable to write to " + world.ipFile.Path()}));
    EXPECT_EQ(List().count(), 3);
}

TEST_F(IpListDialog, CancelRestoresTheListFromTheFile) {
    ClickRow(1);
    Button("DeleteBtn").click();
    Button("CancelBtn").click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(List().count(), 3);
    EXPECT_EQ(List().item(1)->text(), "192.168.1.21 - Line 4");
}

TEST(LanguageDialog, OkStoresAndAppliesTheChosenLanguage) {
    World world;
    world.language.LanguageComboBox.Mark(0);
    QtLanguageForm dialog(world.language, world.prompts);
    Show(dialog);
    auto& languages = Find<QComboBox>(dialog, "LanguageComboBox");
    EXPECT_EQ(Items(languages),
              QStringList({"English", "Deutsch", QString::fromUtf8("Fran\u00e7ais")}));
    languages.setFocus();
    QTest::keyClick(&languages, Qt::Key_Down);
    QTest::keyClick(&languages, Qt::Key_Down);
    EXPECT_EQ(world.language.LanguageComboBox.marked, 2);
    QTest::mouseClick(&Find<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(world.settings.Read(keys::Language), 2);
    EXPECT_EQ(world.serial.form.caption, "Configurer le Port Com");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("S\u00e9lectionner la langue"));
    EXPECT_EQ(Find<QPushButton>(dialog, "CancelBtn").text(), "Annuler");
    EXPECT_EQ(languages.currentText(), QString::fromUtf8("Fran\u00e7ais"));
}

TEST(LanguageDialog, CancelMarksTheStoredLanguageAgain) {
    World world;
    world.settings.Write(keys::Language, 1);
    world.language.LanguageComboBox.Mark(1);
    QtLanguageForm dialog(world.language, world.prompts);
    Show(dialog);
    auto& languages = Find<QComboBox>(dialog, "LanguageComboBox");
    languages.setFocus();
    QTest::keyClick(&languages, Qt::Key_Up);
    Find<QPushButton>(dialog, "CancelBtn").click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(world.language.LanguageComboBox.marked, 1);
    EXPECT_EQ(languages.currentText(), "Deutsch");
    EXPECT_EQ(world.serial.form.caption, "Configure Communications");
}

TEST(LanguageDialog, OkThatCannotStoreStaysOpenAndAppliesNothing) {
    World world;
    std::filesystem::create_directory(world.settings.SettingsFilePath());
    world.language.LanguageComboBox.Mark(1);
    QtLanguageForm dialog(world.language, world.prompts);
    Show(dialog);
    Find<QPushButton>(dialog, "OKBtn").click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(world.prompts.shown, Shown({"beep:warning", "error:Unable to write to " +
                                                              world.settings.SettingsFilePath()}));
    EXPECT_EQ(dialog.windowTitle(), "Select Language");
}

TEST(QtTexts, StandardButtonsAndFileDialogsSpeakTheAppliedLanguage) {
    Localisation localisation;
    QtTranslations qtTexts(localisation);
    const std::tuple<Language, QString, QString> cases[] = {
        {Language::German, "&Ja", "Suchen in:"},
        {Language::French, "&Oui", "Voir dans :"},
        {Language::English, "&Yes", "Look in:"},
    };
    for (const auto& [language, yes, lookIn] : cases) {
        localisation.Apply(language);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text(), yes);
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_EQ(files.labelText(QFileDialog::LookIn), lookIn);
    }
}

TEST(ErrorBox, ShowsPlainTextWithLineBreaksUnderTheProgramName) {
    EXPECT_EQ(PromptText("COM 3 is already open.\r\rPlease assign\r\nanother"),
              "COM 3 is already open.\n\nPlease assign\nanother");
    EXPECT_EQ(PromptText("Parit\xC3\xA4t"), QString::fromUtf8("Parit\u00e4t"));

    const auto box = MakeErrorBox(nullptr, "Unable to write to <b>C:\\x</b>");
    EXPECT_EQ(box->windowTitle(), "Setfolio");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), "Unable to write to <b>C:\\x</b>");
}

} // namespace
} // namespace setfolio

// Widgets need an application object; without a display they draw off screen.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
