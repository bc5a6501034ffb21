#include "app/Application.h"
#include "core/CalendarTime.h"
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/Settings.h"
#include "forms/DownLoadForm.h"
#include "forms/EditIpForm.h"
#include "forms/LanguageForm.h"
#include "forms/LibraryViewForm.h"
#include "forms/PlantForm.h"
#include "forms/SerialForm.h"
#include "forms/StatusLine.h"
#include "forms/UpLoadForm.h"
#include "i18n/Localisation.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "link/IpAddressList.h"
#include "link/PortLinks.h"
#include "link/Transport.h"
#include "platform/Dialogs.h"
#include "platform/SerialDevices.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "tables/ParameterTables.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/ProcessorSession.h"
#include "ui/QtChangeLibForm.h"
#include "ui/QtEditIpForm.h"
#include "ui/QtLanguageForm.h"
#include "ui/QtLibraryViewForm.h"
#include "ui/QtMainForm.h"
#include "ui/QtPlantForm.h"
#include "ui/QtPrompts.h"
#include "ui/QtSerialForm.h"
#include "ui/QtTransferForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <unistd.h>

namespace {

using namespace setfolio;

// Shows the dialog so the style is fully applied, then saves what it draws.
bool Save(QWidget& dialog, const QDir& folder, const char* name) {
    dialog.show();
    QApplication::processEvents();
    const QString path = folder.filePath(QLatin1String(name));
    const bool saved = dialog.grab().save(path, "PNG");
    dialog.hide();
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// The dialog with the open list of a combo box beside it, at the height the list opens at.
bool SaveWithList(QDialog& dialog, const char* boxName, const QDir& folder, const char* name) {
    dialog.show();
    QApplication::processEvents();
    const QPixmap dialogPicture = dialog.grab();
    auto* box = dialog.findChild<QComboBox*>(QLatin1String(boxName));
    box->showPopup();
    QApplication::processEvents();
    QWidget* list = box->view()->window();
    const QPixmap listPicture = list->grab();
    const int listTop =
        std::max(0, list->mapToGlobal(QPoint(0, 0)).y() - dialog.mapToGlobal(QPoint(0, 0)).y());
    box->hidePopup();
    dialog.hide();
    constexpr int Gap = 12;
    QPixmap picture(dialogPicture.width() + Gap + listPicture.width(),
                    std::max(dialogPicture.height(), listTop + listPicture.height()));
    picture.fill(dialog.palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, dialogPicture);
    painter.drawPixmap(dialogPicture.width() + Gap, listTop, listPicture);
    painter.end();
    const QString path = folder.filePath(QLatin1String(name));
    const bool saved = picture.save(path, "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    return saved;
}

// A pseudo-terminal standing in for a serial device, as the simulator uses one; its other end
// stays open while the pictures are taken.
class PseudoTerminal {
public:
    PseudoTerminal() {
        m_fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd >= 0 && ::grantpt(m_fd) == 0 && ::unlockpt(m_fd) == 0)
            m_path = ::ptsname(m_fd);
    }
    ~PseudoTerminal() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};

// The serial devices offered: the pseudo-terminal, named as the simulator that answers on it.
class ShownDevices : public SerialDevices {
public:
    explicit ShownDevices(std::string pty) : m_pty(std::move(pty)) {}
    std::vector<SerialDevice> List() const override {
        return {{m_pty, m_pty, "setfolio-sim", "", ""}};
    }

private:
    std::string m_pty;
};

// No dialog opens while pictures are taken.
class NoDialogs : public Dialogs {
public:
    void ShowLanguageDialog() override {}
    void ShowCommunicationsDialog() override {}
    void ShowIpListDialog() override {}
    void ShowChangeLibraryDialog() override {}
    void ShowDownloadDialog() override {}
    std::optional<std::string> ChooseFileToSave(const FileChoice&) override { return {}; }
    void ShowUploadDialog() override {}
    void ShowLibraryViewer() override {}
    void ShowPlantWindow() override {}
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
        return {};
    }
    std::optional<std::string> ChooseFileToOpen(const FileChoice&) override { return {}; }
    void ShowAboutBox(const AboutTexts&) override {}
    void CloseMainWindow() override {}
};

// The main window as a start in `language` against a processor at library 12 leaves it, with
// its menu opened beside it and its status line naming COM1's device, as main-window<suffix>.png,
// and the change-library dialog as change-library<suffix>.png. The start-up sequence itself does
// not run, so no port is opened.
bool SaveMainWindow(const std::string& programPath, Language language, const QDir& folder,
                    const std::string& suffix) {
    QtEventLoop loop;
    QtSerialPort port(programPath);
    QtTcpClient tcp(loop);
    QtPrompts prompts;
    NoDialogs dialogs;
    Application application(Platform{loop, port, tcp, prompts, dialogs, programPath});
    MainForm& form = application.mainForm;
    form.FormCreate();
    form.StartupTimer().Stop();
    LanguageForm& languages = application.languageForm;
    languages.NameLanguageList();
    languages.LanguageComboBox.Mark(static_cast<int>(language));
    languages.ApplyLanguage();
    application.serialForm.LoadCommSettings();
    const MessageTexts& texts = application.localisation.Messages();
    ShowCurrentLibrary(12, ReplyStatus::NoConnection, texts, prompts, application.messageLog);
    ShowCurrentLibrary(12, ReplyStatus::Ok, texts, prompts, application.messageLog);
    application.exchange.exchanged.Emit(Reply{ReplyStatus::Ok}); // the last exchange was answered

    QtMainForm window(form, prompts);
    window.show();
    QApplication::processEvents();
    const QPixmap windowPicture = window.grab();
    auto* menu = window.findChild<QMenu*>("MenuMain");
    const QRect title = window.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(window.menuBar()->mapToGlobal(title.bottomLeft()));
    QApplication::processEvents();
    const QPixmap menuPicture = menu->grab();
    menu->hide();
    window.hide();
    // The open menu beside the window, at the height it opens at, so that it hides nothing.
    constexpr int Gap = 12;
    const int menuTop = window.menuBar()->mapTo(&window, title.bottomLeft()).y();
    QPixmap picture(windowPicture.width() + Gap + menuPicture.width(),
                    std::max(windowPicture.height(), menuTop + menuPicture.height()));
    picture.fill(window.palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, windowPicture);
    painter.drawPixmap(windowPicture.width() + Gap, menuTop, menuPicture);
    painter.end();

    const QString path = folder.filePath(QString::fromStdString("main-window" + suffix + ".png"));
    bool saved = picture.save(path, "PNG");
    std::fprintf(stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));

    // The status line once COM1's link leads to a device that is gone (an adapter unplugged):
    // the port is not opened, as status-missing<suffix>.png.
    const std::filesystem::path link = programPath + "/ports/COM1";
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    std::filesystem::remove(link, error);
    std::filesystem::create_symlink("/dev/ttyUSB7", link, error);
    application.exchange.exchanged.Emit(Reply{ReplyStatus::PortOff});
    window.show();
    QApplication::processEvents();
    const QString statusPath =
        folder.filePath(QString::fromStdString("status-missing" + suffix + ".png"));
    const bool statusSaved = window.statusBar()->grab().save(statusPath, "PNG");
    std::fprintf(stderr, "%s %s\n", statusSaved ? "saved" : "could not save",
                 qPrintable(statusPath));
    saved &= statusSaved;
    window.hide();
    std::filesystem::remove(link, error);
    if (!target.empty())
        std::filesystem::create_symlink(target, link, error);

    application.changeLibForm.LibrarySpinEdit.value = 12;
    QtChangeLibForm changeLibrary(application.changeLibForm, prompts);
    saved &= Save(changeLibrary, folder, ("change-library" + suffix + ".png").c_str());
    application.transport.CloseAtExit();
    return saved;
}

} // namespace

// A C-12 library as a download writes it, with `changes` choices set otherwise.
std::string SampleLibrary(const ParameterTables& tables, int changes) {
    std::string content = "[SystemSettings]\r\nModelNo=0\r\n[MnemonicParms]\r\n";
    int k = 0;
    for (const auto& row : tables.MnemonicList.Rows()) {
        const int choice = (k++ < changes && row.values.count > 1) ? 1 : 0;
        content += row.name + "=" + FormatValueIndex(choice) + "\r\n";
    }
    content += "[CondMnemonicParms]\r\n";
    for (const auto& row : tables.CondMnemonicList.Rows())
        content += row.name + "=00\r\n";
    content += "[NumericParms]\r\n";
    k = 0;
    for (const auto& row : tables.NumericList.Rows())
        content += row.name + "=" + std::to_string(k++ * 5 + 100) + ".5\r\n";
    content += "[HeaderParms]\r\n";
    for (const auto& row : tables.HeaderList.Rows())
        content += row.name + "=LINE 3 PE 4MM\r\n";
    return content;
}

// The library viewer on one file, and comparing it with another.
bool SaveViewer(const QDir& folder) {
    QTemporaryDir files;
    const ParameterTables tables = TablesOf(0);
    const std::string a = files.filePath("Line 005.lvf").toStdString();
    const std::string b = files.filePath("Line 009.lvf").toStdString();
    std::ofstream(a, std::ios::binary) << SampleLibrary(tables, 0);
    std::ofstream(b, std::ios::binary) << SampleLibrary(tables, 3);
    Localisation localisation;
    NoDialogs dialogs;
    QtPrompts prompts;
    LibraryViewForm viewer(localisation, dialogs, prompts);
    viewer.OpenFile(a);
    QtLibraryViewForm window(viewer, prompts);
    bool saved = Save(window, folder, "viewer.png");
    viewer.CompareWith(b);
    saved &= Save(window, folder, "viewer-compare.png");
    for (const auto& [applied, name] : {std::pair{Language::German, "viewer-compare-de.png"},
                                        std::pair{Language::French, "viewer-compare-fr.png"}}) {
        localisation.Apply(applied);
        saved &= Save(window, folder, name);
    }
    return saved;
}

// The plant window on an inventory of three lines whose last backup found a library changed and
// one processor unreachable, with a library's versions listed, in each language.
bool SavePlant(const QDir& folder) {
    QTemporaryDir files;
    const std::string root = files.path().toStdString();
    const std::string inventory = root + "/plant.ini";
    std::ofstream(inventory) << "[Line 3]\nModel=C-12\nTcp=192.168.1.20:4001\nLibraries=1,5,9\n"
                                "[Line 4]\nModel=C-12\nTcp=192.168.1.21:4001\nLibraries=1,2\n"
                                "[Bench]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=3\n";
    const std::string backup = root + "/backup";
    std::filesystem::create_directories(backup + "/.setfolio");
    const auto library = [](int number, const char* file, const char* changed) {
        return std::string("{\"library\":") + std::to_string(number) + ",\"file\":\"" + file +
               "\",\"bytes\":2411,\"sha256\":\"00\",\"changed\":\"" + changed + "\"}";
    };
    std::ofstream(backup + "/manifest.json")
        << "{\"processors\":[{\"name\":\"Line 3\",\"model\":\"C-12\",\"link\":\"\",\"active\":9,"
           "\"libraries\":["
        << library(1, "Line 3/Library 001.lvf", "2026-11-02T06:10:00Z") << ","
        << library(5, "Line 3/Library 005.lvf", "2026-12-09T02:00:41Z") << ","
        << library(9, "Line 3/Library 009.lvf", "2026-10-20T02:01:12Z")
        << "]},{\"name\":\"Line 4\",\"model\":\"C-12\",\"link\":\"\",\"active\":2,"
           "\"libraries\":["
        << library(1, "Line 4/Library 001.lvf", "2026-09-14T02:00:30Z") << ","
        << library(2, "Line 4/Library 002.lvf", "2026-09-14T02:00:52Z") << "]}]}\n";
    const auto result = [](int number, const char* file, const char* status, bool changed) {
        return std::string("{\"library\":") + std::to_string(number) + ",\"status\":\"" + status +
               "\",\"file\":\"" + file + "\",\"changed\":" + (changed ? "true" : "false") + "}";
    };
    std::ofstream(backup + "/.setfolio/last-run.json")
        << "{\"start\":\"2026-12-09T02:00:00.000Z\",\"end\":\"2026-12-09T02:01:30.000Z\","
           "\"processors\":[{\"name\":\"Line 3\",\"activeBefore\":9,\"libraries\":["
        << result(1, "Line 3/Library 001.lvf", "Ok", false) << ","
        << result(5, "Line 3/Library 005.lvf", "Ok", true) << ","
        << result(9, "Line 3/Library 009.lvf", "Ok", false)
        << "]},{\"name\":\"Line 4\",\"activeBefore\":2,\"libraries\":["
        << result(1, "Line 4/Library 001.lvf", "Ok", false) << ","
        << result(2, "Line 4/Library 002.lvf", "Ok", false)
        << "]},{\"name\":\"Bench\",\"failure\":\"no answer\",\"libraries\":["
        << result(3, "Bench/Library 003.lvf", "NotRead", false) << "]}]}\n";

    Settings settings(root);
    settings.WriteSettingText(keys::PlantInventory.section, PlantFolderKey(inventory), backup);
    Localisation localisation;
    NoDialogs dialogs;
    QtPrompts prompts;
    LibraryViewForm viewer(localisation, dialogs, prompts);
    PlantForm plant({settings, localisation, dialogs, prompts, viewer, {}, {}, nullptr, {}});
    plant.OpenInventory(inventory);
    QtPlantForm window(plant, prompts);
    window.findChild<QTreeWidget*>("PlantTree")->topLevelItem(0)->child(1)->setSelected(true);
    bool saved = true;
    for (const auto& [applied, name] :
         {std::pair{Language::English, "plant.png"}, std::pair{Language::German, "plant-de.png"},
          std::pair{Language::French, "plant-fr.png"}}) {
        localisation.Apply(applied);
        plant.Log.Clear();
        const MessageTexts& texts = localisation.Messages();
        plant.Log.AddMessageLine(texts.Format(OwnMsg::PlantLibraryUnchanged, {"Line 3", "1"}));
        plant.Log.AddMessageLine(texts.Format(OwnMsg::PlantLibraryChanged, {"Line 3", "5"}));
        plant.Log.AddMessageLine(texts.Format(OwnMsg::PlantLine, {"Bench", "no answer"}));
        plant.Log.AddMessageLine(texts.Format(OwnMsg::PlantBackupDone, {"1", "4", "0"}));
        plant.Versions.SetItems(
            {LocalMinuteText("2026-12-09T02:00:41Z") +
                 "  5e1c09a2  Backup: 1 changed, 4 unchanged, 0 failed libraries",
             LocalMinuteText("2026-11-02T06:10:00Z") +
                 "  9b77d310  Backup: 2 changed, 3 unchanged, 0 failed libraries",
             LocalMinuteText("2026-10-20T02:01:12Z") +
                 "  41d0ce85  Backup: 5 changed, 0 unchanged, 0 failed libraries"});
        plant.Versions.visible = plant.VersionsLabel.visible = true;
        // As after History in a git folder: both buttons are there to use.
        plant.HistoryBtn.enabled = plant.CompareVersionsBtn.enabled = true;
        plant.CompareVersionsBtn.visible = true;
        window.Refresh();
        saved &= Save(window, folder, name);
    }
    return saved;
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: setfolio-screenshots <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    // A program folder of its own, so no real settings are read or changed.
    QTemporaryDir programFolder;
    if (!programFolder.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const std::string programPath = programFolder.path().toStdString();

    Settings settings(programPath);
    settings.Write(keys::ConnectionType, 0);
    settings.Write(keys::ComPort, 0);  // COM1
    settings.Write(keys::BaudRate, 3); // 9600
    settings.Write(keys::Parity, 0);
    settings.Write(keys::DataBits, 1); // 8
    settings.Write(keys::StopBits, 0); // 1
    // COM1 leads to a USB adapter, as the status line shows.
    QDir(programFolder.path()).mkpath("ports");
    std::ofstream(programPath + "/ttyUSB0");
    std::filesystem::create_symlink(programPath + "/ttyUSB0", programPath + "/ports/COM1");
    settings.Write(keys::IpAddressIndex, 0);
    const IpAddressListFile ipFile(programPath);
    ipFile.Write({"192.168.1.20 - Line 3", "192.168.1.21 - Line 4"});

    QtEventLoop loop;
    QtSerialPort port(programPath);
    QtTcpClient tcp(loop);
    QtPrompts prompts;
    CurrentModel model(settings);
    ProcessorSession session({loop, port, tcp}, prompts, model, ProcessorTcpPort, "");
    Transport& transport = session.transport;
    Localisation localisation;
    NoDialogs dialogs;
    SerialForm serial(settings, transport, localisation, dialogs, prompts);
    EditIpForm editIp(ipFile, serial, prompts, localisation);
    LanguageForm language(settings, localisation, serial.ParityComboBox);
    language.NameLanguageList();
    editIp.LoadIpAddressList();
    serial.LoadCommSettings();
    serial.LoadIpAddressIndex();

    // COM1 leads to a pseudo-terminal through its ports/ link, as the simulator makes it.
    const PseudoTerminal pty;
    const PortLinks links(programPath);
    if (!pty.Path().empty())
        links.Link(1, pty.Path());
    const ShownDevices devices(pty.Path());
    serial.AttachPorts(links, devices, prompts);

    bool saved = true;
    QtSerialForm serialDialog(serial, prompts);
    editIp.AddressList.SetItems({"192.168.1.20 - Line 3", "192.168.1.21 - Line 4", "10.0.0.7"});
    editIp.AddressList.Mark(1);
    QtEditIpForm editIpDialog(editIp, prompts);
    QtLanguageForm languageDialog(language, prompts);
    for (const auto& [applied, suffix] :
         {std::pair{0, std::string()}, std::pair{1, std::string("-de")},
          std::pair{2, std::string("-fr")}}) {
        language.LanguageComboBox.Mark(applied);
        language.ApplyLanguage();
        serialDialog.Refresh();
        saved &= SaveWithList(serialDialog, "ComPortComboBox", folder,
                              ("communications" + suffix + ".png").c_str());
        editIpDialog.Refresh();
        saved &= Save(editIpDialog, folder, ("ip-list" + suffix + ".png").c_str());
        // The list marks German, as when it is about to be chosen.
        language.LanguageComboBox.Mark(1);
        languageDialog.Refresh();
        saved &= Save(languageDialog, folder, ("language" + suffix + ".png").c_str());
    }

    // The download dialog half way through a block of libraries 3 to 5.
    model.Use(0);
    Exchange& exchange = session.exchange;
    ParameterTables tables;
    MessageLog log;
    DownLoadForm download(
        TransferContext{exchange, model, tables, log, localisation.Messages(), prompts}, settings,
        dialogs, loop, localisation);
    download.LibrarySpinEdit.value = 3;
    download.ToLibCB.checked = true;
    download.ToLibCBClick();
    download.ToLibrarySpinEdit.value = 5;
    download.FileName.caption = "/home/line3/backups/Line.lvf";
    download.SetTransferMode(true, 401);
    download.SetPosition(240);
    QtTransferForm downloadDialog(download, prompts);
    for (const auto& [applied, name] : {std::pair{Language::English, "download.png"},
                                        std::pair{Language::German, "download-de.png"},
                                        std::pair{Language::French, "download-fr.png"}}) {
        localisation.Apply(applied);
        // The second library of the block, the first having taken 40 s.
        download.LibCounter.caption = BlockProgressText(4, 2, 3, 40'000, localisation.Messages());
        downloadDialog.Refresh();
        saved &= Save(downloadDialog, folder, name);
    }

    // The upload dialog with a file chosen, before OK.
    UpLoadForm upload(
        TransferContext{exchange, model, tables, log, localisation.Messages(), prompts}, settings,
        dialogs, loop, localisation);
    upload.LibrarySpinEdit.value = 9;
    upload.ToLibrarySpinEdit.value = 9;
    upload.FileName.caption = "/home/line3/backups/Line 005.lvf";
    upload.ModelNumber.caption = "C-12";
    upload.IncludeCommonCB.visible = false;
    QtTransferForm uploadDialog(upload, prompts, &upload);
    for (const auto& [applied, name] :
         {std::pair{Language::English, "upload.png"}, std::pair{Language::German, "upload-de.png"},
          std::pair{Language::French, "upload-fr.png"}}) {
        localisation.Apply(applied);
        uploadDialog.Refresh();
        saved &= Save(uploadDialog, folder, name);
    }

    saved &= SaveViewer(folder);
    saved &= SavePlant(folder);

    transport.CloseAtExit();
    saved &= SaveMainWindow(programPath, Language::English, folder, "");
    saved &= SaveMainWindow(programPath, Language::German, folder, "-de");
    saved &= SaveMainWindow(programPath, Language::French, folder, "-fr");
    return saved ? 0 : 1;
}
