// Setfolio: builds the program from Qt's event loop, ports and windows, and runs it.
#include "app/Application.h"
#include "core/Guarded.h"
#include "qt/QtGitProcess.h"
#include "qt/QtLinkPlatform.h"
#include "qt/QtSerialDevices.h"
#include "ui/FirstPaintReport.h"
#include "ui/QtChangeLibForm.h"
#include "ui/QtDialogs.h"
#include "ui/QtEditIpForm.h"
#include "ui/QtLanguageForm.h"
#include "ui/QtLibraryViewForm.h"
#include "ui/QtMainForm.h"
#include "ui/QtPlantForm.h"
#include "ui/QtPrompts.h"
#include "ui/QtSerialForm.h"
#include "ui/QtTransferForm.h"
#include "ui/QtTranslations.h"
#include "ui/SetfolioApplication.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>
#include <iostream>
#include <optional>
#include <utility>

using namespace setfolio;

namespace {

constexpr int ExitUsage = 2;

// Where Setfolio.ini, IpAddressList.txt and ports/ are kept: beside the executable when a
// Setfolio.ini is there, else the user's configuration folder ($XDG_CONFIG_HOME/Setfolio).
SettingsFolder ChooseFolder() {
    return ChooseSettingsFolder(
        QCoreApplication::applicationDirPath().toStdString(),
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
}

void PrintHelp() {
    const SettingsFolder folder = ChooseFolder();
    std::cout << "usage: setfolio [FILE]\n"
                 "       setfolio --plant INVENTORY\n"
                 "       setfolio --help | --version\n"
                 "\n"
                 "Copies parameter libraries between processors and library files. FILE, a\n"
                 "library file (.lvf), is shown in the library viewer at start.\n"
                 "\n"
                 "Options:\n"
                 "  --plant INVENTORY  Opens the plant window on INVENTORY at start.\n"
                 "  -h, --help         Shows this help.\n"
                 "  --version          Shows the version.\n"
                 "\n"
                 "Settings (Setfolio.ini), the IP address list (IpAddressList.txt) and ports/\n"
                 "are kept "
              << (folder.portable ? "beside the program" : "for this user") << " in\n"
              << folder.path << "\n";
}

// The arguments after Qt has taken its own: an exit status when there is nothing to run (help,
// the version, a usage error), else the library file to show, if any.
std::optional<int> ReadArguments(const QStringList& arguments, QString& file, QString& inventory) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    const QCommandLineOption version("version", "Shows the version.");
    const QCommandLineOption plant("plant", "Opens the plant window on INVENTORY.", "INVENTORY");
    parser.addOptions({help, version, plant});
    QString problem;
    if (!parser.parse(arguments))
        problem = parser.errorText();
    else if (parser.positionalArguments().size() > 1)
        problem = "one library file at most";
    if (problem.isEmpty() && parser.isSet(help)) {
        PrintHelp();
        return 0;
    }
    if (problem.isEmpty() && parser.isSet(version)) {
        std::cout << "setfolio " << SETFOLIO_VERSION << "\n";
        return 0;
    }
    if (!problem.isEmpty()) {
        std::cerr << "setfolio: " << problem.toStdString() << "\n"
                  << "Try 'setfolio --help' for more information.\n";
        return ExitUsage;
    }
    if (!parser.positionalArguments().isEmpty())
        file = parser.positionalArguments().constFirst();
    inventory = parser.value(plant);
    return std::nullopt;
}

// --help and --version are answered without a window system, so that they work where there is
// no display.
std::optional<int> AnswerWithoutWindows(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                QCoreApplication core(argc, argv);
                QCoreApplication::setApplicationName("Setfolio");
                QString file;
                QString inventory;
                return ReadArguments(QCoreApplication::arguments(), file, inventory);
            }
        }
    }
    return std::nullopt;
}

// The user's documents folder, or the home folder when there is none.
std::string DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents.toStdString();
    return QDir::homePath().toStdString();
}

} // namespace

int main(int argc, char* argv[]) {
    if (const auto exitStatus = AnswerWithoutWindows(argc, argv))
        return *exitStatus;
    SetfolioApplication qtApplication(argc, argv);
    QApplication::setApplicationName("Setfolio");
    QApplication::setApplicationVersion(SETFOLIO_VERSION);
    QGuiApplication::setDesktopFileName(SETFOLIO_APP_ID);
    QApplication::setWindowIcon(QIcon::fromTheme(SETFOLIO_APP_ID));
    QString fileToShow;
    QString inventoryToOpen;
    if (const auto exitStatus =
            ReadArguments(QApplication::arguments(), fileToShow, inventoryToOpen))
        return *exitStatus;
    const SettingsFolder folder = ChooseFolder();

    QtLinkPlatform qt(folder.path);
    QtPrompts prompts;
    QtDialogs dialogs;
    dialogs.settingsFolder = folder.path;
    dialogs.portable = folder.portable;
    qtApplication.SetPrompts(&prompts);
    const QtSerialDevices serialDevices;
    const std::string settingsPath = folder.path;
    Application app(Platform{
        qt.loop, qt.port, qt.tcp, prompts, dialogs, folder.path, ProcessorTcpPort, &serialDevices,
        DocumentsFolder(),
        // Each worker of the plant window builds Qt's loop and ports in its own thread.
        [settingsPath] { return std::make_unique<QtLinkPlatform>(settingsPath); }, RunGitProcess,
        [] { return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString(); }});
    QtTranslations qtTexts(app.localisation);

    // The main window first (it loads the current model), then the dialogs.
    app.mainForm.FormCreate();
    QtMainForm mainWindow(app.mainForm, prompts);
    QtTransferForm download(app.downLoadForm, prompts, nullptr, &mainWindow);
    QtSerialForm communications(app.serialForm, prompts, &mainWindow);
    QtTransferForm upload(app.upLoadForm, prompts, &app.upLoadForm, &mainWindow);
    QtChangeLibForm changeLibrary(app.changeLibForm, prompts, &mainWindow);
    QtLanguageForm language(app.languageForm, prompts, &mainWindow);
    QtEditIpForm ipList(app.ipForm, prompts, &communications);
    QtLibraryViewForm viewer(app.libraryViewForm, prompts, &mainWindow);
    QtPlantForm plant(app.plantForm, prompts, &mainWindow);

    dialogs.mainWindow = &mainWindow;
    // Every window shows its model again when the model signals a change (a new language
    // among them); a dialog is brought up to date before it opens.
    // For tests that start the program: SETFOLIO_ANSWER_LANGUAGE_DIALOG=N answers the language
    // dialog, as soon as it opens, with line N (0 English, 1 German, 2 French) and OK.
    const QString languageAnswer = qEnvironmentVariable("SETFOLIO_ANSWER_LANGUAGE_DIALOG");
    dialogs.showLanguage = [&] {
        language.Refresh();
        if (!languageAnswer.isEmpty()) {
            QTimer::singleShot(0, &language, [&] {
                app.languageForm.LanguageComboBox.Mark(languageAnswer.toInt());
                if (auto* ok = language.findChild<QPushButton*>("OKBtn"))
                    ok->click();
            });
        }
        language.exec();
    };
    dialogs.showCommunications = [&] {
        communications.Refresh();
        communications.exec();
    };
    dialogs.showDownload = [&] {
        download.Refresh();
        download.exec();
    };
    dialogs.showUpload = [&] {
        upload.Refresh();
        upload.exec();
    };
    dialogs.showChangeLibrary = [&] {
        changeLibrary.Refresh();
        changeLibrary.exec();
    };
    dialogs.showLibraryViewer = [&] {
        viewer.show();
        viewer.raise();
        viewer.activateWindow();
    };
    dialogs.showPlant = [&] {
        plant.show();
        plant.raise();
        plant.activateWindow();
    };
    dialogs.showIpList = [&] {
        app.ipForm.ShowIpListDialog();
        ipList.Refresh();
        ipList.exec();
    };
    ReportFirstPaint(mainWindow);
    mainWindow.ShowWhereItWas();
    // A library file named on the command line (the desktop opens .lvf files so) is shown at once.
    if (!fileToShow.isEmpty()) {
        RunGuarded(prompts, [&] {
            if (app.libraryViewForm.OpenFile(fileToShow.toStdString()))
                dialogs.ShowLibraryViewer();
        });
    }
    // An inventory named with --plant opens in the plant window once the start-up has settled
    // the language: a first start asks for it before the plant window asks for a folder.
    const auto openPlant = app.mainForm.languageSettled.Subscribe([&] {
        if (inventoryToOpen.isEmpty())
            return;
        QTimer::singleShot(0, &plant, [&, inventory = std::exchange(inventoryToOpen, {})] {
            RunGuarded(prompts, [&] {
                dialogs.ShowPlantWindow();
                // Kept in the settings by its full path, so that a start from another folder
                // finds it.
                app.plantForm.OpenInventory(QFileInfo(inventory).absoluteFilePath().toStdString());
            });
        });
    });
    return QApplication::exec();
}
