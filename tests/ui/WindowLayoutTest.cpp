#include "AppWorld.h"
#include "FakeSerialDevices.h"
#include "TextsFit.h"
#include "forms/StatusLine.h"
#include "link/PortLinks.h"
#include "ui/QtChangeLibForm.h"
#include "ui/QtEditIpForm.h"
#include "ui/QtLanguageForm.h"
#include "ui/QtLibraryViewForm.h"
#include "ui/QtMainForm.h"
#include "ui/QtPlantForm.h"
#include "ui/QtSerialForm.h"
#include "ui/QtTransferForm.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace setfolio;
using setfolio::testing::AppWorld;
using setfolio::testing::ExpectNoOverlaps;
using setfolio::testing::ExpectTextsFit;

namespace {

// The program's font for as long as it lives; windows made meanwhile take it.
class SystemFont {
public:
    explicit SystemFont(int pixelSize) : m_before(QApplication::font()) {
        if (pixelSize > 0) {
            QFont font = m_before;
            font.setPixelSize(pixelSize);
            QApplication::setFont(font);
        }
    }
    ~SystemFont() { QApplication::setFont(m_before); }
    SystemFont(const SystemFont&) = delete;
    SystemFont& operator=(const SystemFont&) = delete;

private:
    QFont m_before;
};

// Every window of the program over the fake platform, the communications dialog with the rows
// of a serial device with a long name, the transfer dialogs in the middle of a block.
struct Windows : AppWorld {
    fake::FakeSerialDevices devices;
    std::unique_ptr<QtMainForm> main;
    std::unique_ptr<QtTransferForm> download;
    std::unique_ptr<QtTransferForm> upload;
    std::unique_ptr<QtChangeLibForm> changeLibrary;
    std::unique_ptr<QtSerialForm> communications;
    std::unique_ptr<QtEditIpForm> ipList;
    std::unique_ptr<QtLanguageForm> language;
    std::unique_ptr<QtLibraryViewForm> viewer;
    std::unique_ptr<QtPlantForm> plant;

    Windows() {
        devices.devices = {{"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10KZP3Q-if00-port0",
                            "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10KZP3Q"}};
        app.serialForm.AttachPorts(PortLinks(folder.Path()), devices, prompts);
        app.upLoadForm.IncludeCommonCB.visible = true; // shown for the bench family
        app.upLoadForm.ModelNumber.caption = "C-12";
        for (TransferForm* form : {static_cast<TransferForm*>(&app.downLoadForm),
                                   static_cast<TransferForm*>(&app.upLoadForm)}) {
            form->ToLibCB.checked = true;
            form->ToLibCBClick();
        }
        main = std::make_unique<QtMainForm>(app.mainForm, prompts);
        download = std::make_unique<QtTransferForm>(app.downLoadForm, prompts);
        upload = std::make_unique<QtTransferForm>(app.upLoadForm, prompts, &app.upLoadForm);
        changeLibrary = std::make_unique<QtChangeLibForm>(app.changeLibForm, prompts);
        communications = std::make_unique<QtSerialForm>(app.serialForm, prompts);
        ipList = std::make_unique<QtEditIpForm>(app.ipForm, prompts);
        language = std::make_unique<QtLanguageForm>(app.languageForm, prompts);
        viewer = std::make_unique<QtLibraryViewForm>(app.libraryViewForm, prompts);
        plant = std::make_unique<QtPlantForm>(app.plantForm, prompts);
    }

    // The program in `chosen`, the transfer dialogs idle or transferring the second library of
    // three, every window showing its model again.
    void Show(Language chosen, bool transferring) {
        app.languageForm.NameLanguageList();
        app.languageForm.LanguageComboBox.Mark(static_cast<int>(chosen));
        app.languageForm.ApplyLanguage();
        for (TransferForm* form : {static_cast<TransferForm*>(&app.downLoadForm),
                                   static_cast<TransferForm*>(&app.upLoadForm)}) {
            form->SetTransferMode(transferring, 401);
            form->LibCounter.caption =
                BlockProgressText(7, 2, 3, 40'000, app.localisation.Messages());
        }
        main->Refresh();
        download->Refresh();
        upload->Refresh();
        changeLibrary->Refresh();
        communications->Refresh();
        ipList->Refresh();
        language->Refresh();
        viewer->Refresh();
        plant->Refresh();
        for (QWidget* window : Dialogs())
            window->show();
        main->show();
        QApplication::processEvents();
    }

    std::vector<QWidget*> Dialogs() const {
        return {download.get(), upload.get(),   changeLibrary.get(), communications.get(),
                ipList.get(),   language.get(), viewer.get(),        plant.get()};
    }
};

// German and French captions are longer, and the system's font may be larger than the one the
// windows were drawn with: every window makes room for its texts.
TEST(WindowLayout, EveryTextFitsInEveryLanguageAndSystemFont) {
    for (const int pixelSize : {0, 20}) {
        SCOPED_TRACE(pixelSize == 0 ? "system font" : "20 px font");
        const SystemFont font(pixelSize);
        Windows world;
        for (const Language language : {Language::English, Language::German, Language::French}) {
            for (const bool transferring : {false, true}) {
                SCOPED_TRACE(std::to_string(static_cast<int>(language)) +
                             (transferring ? " transferring" : " idle"));
                world.Show(language, transferring);
                for (QWidget* dialog : world.Dialogs()) {
                    SCOPED_TRACE(dialog->objectName().toStdString());
                    ExpectTextsFit(*dialog);
                    ExpectNoOverlaps(*dialog);
                    EXPECT_GE(dialog->width(), CaptionWidth(dialog));
                }
                ExpectTextsFit(*world.main);
                ExpectNoOverlaps(*world.main->centralWidget());
                // The menu grows with its texts; the label beside the model list does not.
                const auto* modelLabel = world.main->findChild<QLabel*>("ModelLabel");
                const auto* models = world.main->findChild<QComboBox*>("ModelComboBox");
                EXPECT_LE(modelLabel->geometry().right(), models->geometry().left());
            }
        }
    }
}

// The windows keep their designed sizes where the texts fit them.
TEST(WindowLayout, DesignedSizesInEnglish) {
    Windows world;
    world.Show(Language::English, false);
    EXPECT_EQ(world.download->size(), QSize(399, 236 - (263 - 161)));
    EXPECT_EQ(world.upload->size(), QSize(399, 300 - (327 - 225)));
    EXPECT_EQ(world.changeLibrary->size(), QSize(247, 105));
    EXPECT_EQ(world.main->centralWidget()->size(), QSize(552, 374));
    world.Show(Language::English, true);
    EXPECT_EQ(world.download->size(), QSize(399, 236));
    EXPECT_EQ(world.upload->size(), QSize(399, 300));
}

} // namespace
