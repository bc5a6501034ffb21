// Setfolio: builds the program from Qt's event loop, ports and windows, and runs it.
#include "app/Application.h"
#include "core/Guarded.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "ui/FirstPaintReport.h"
#include "ui/QtChangeLibForm.h"
#include "ui/QtDialogs.h"
#include "ui/QtEditIpForm.h"
#include "ui/QtLanguageForm.h"
#include "ui/QtLibraryViewForm.h"
#include "ui/QtMainForm.h"
#include "ui/QtPrompts.h"
#include "ui/QtSerialForm.h"
#include "ui/QtTransferForm.h"
#include "ui/SetfolioApplication.h"

using namespace setfolio;

int main(int argc, char* argv[]) {
    SetfolioApplication qtApplication(argc, argv);
    QApplication::setApplicationName("Setfolio");
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();

    QtEventLoop loop;
    QtSerialPort port(programFolder);
    QtTcpClient tcp(loop);
    QtPrompts prompts;
    QtDialogs dialogs;
    qtApplication.SetPrompts(&prompts);
    Application app(Platform{loop, port, tcp, prompts, dialogs, programFolder});

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

    dialogs.mainWindow = &mainWindow;
    // Every window shows its model again when the model signals a change (a new language
    // among them); a dialog is brought up to date before it opens.
    dialogs.showLanguage = [&] {
        language.Refresh();
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
    dialogs.showIpList = [&] {
        app.ipForm.ShowIpListDialog();
        ipList.Refresh();
        ipList.exec();
    };
    ReportFirstPaint(mainWindow);
    mainWindow.CentreOnScreen();
    mainWindow.show();
    // A library file named on the command line (the desktop opens .lvf files so) is shown at once.
    if (const QStringList arguments = QApplication::arguments(); arguments.size() > 1) {
        RunGuarded(prompts, [&] {
            if (app.libraryViewForm.OpenFile(arguments[1].toStdString()))
                dialogs.ShowLibraryViewer();
        });
    }
    return QApplication::exec();
}
