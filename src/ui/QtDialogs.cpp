#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#ifndef SETFOLIO_VERSION
#define SETFOLIO_VERSION "0.0.0"
#endif

namespace setfolio {

void QtDialogs::ShowAboutBox() {
    QMessageBox::about(mainWindow, "About Setfolio",
                       QString("<b>Setfolio</b><br>Version %1<br>Built %2<br><br>"
                               "Copies processor libraries between processors and files.")
                           .arg(SETFOLIO_VERSION, __DATE__));
}

std::optional<std::string> QtDialogs::ChooseFileToSave(const FileChoice& choice) {
    // The stored setting is the last file chosen; the selection starts in its folder.
    QString start = QString::fromStdString(choice.initialPath);
    if (QFileInfo(start).isFile() || !QFileInfo(start).exists())
        start = QFileInfo(start).absolutePath();
    QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                                QString::fromStdString(choice.title), start,
                                                QString::fromStdString(choice.filter));
    if (path.isEmpty())
        return std::nullopt;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".lvf";
    return path.toStdString();
}

std::optional<std::string> QtDialogs::ChooseFileToOpen(const FileChoice& choice) {
    QString start = QString::fromStdString(choice.initialPath);
    if (QFileInfo(start).isFile() || !QFileInfo(start).exists())
        start = QFileInfo(start).absolutePath();
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(),
                                                      QString::fromStdString(choice.title), start,
                                                      QString::fromStdString(choice.filter));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

void QtDialogs::CloseMainWindow() {
    if (mainWindow)
        mainWindow->close();
}

} // namespace setfolio
