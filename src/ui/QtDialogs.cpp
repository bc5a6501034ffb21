#include "ui/QtDialogs.h"

#include <QApplication>
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

void QtDialogs::CloseMainWindow() {
    if (mainWindow)
        mainWindow->close();
}

} // namespace setfolio
