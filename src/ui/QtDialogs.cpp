#include "ui/QtDialogs.h"

#include "core/TextFormat.h"

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QWidget>

#ifndef SETFOLIO_VERSION
#define SETFOLIO_VERSION "0.0.0"
#endif

namespace setfolio {

namespace {

// `text` with `value` put in, ready for rich text.
QString Filled(const std::string& text, const std::string& value) {
    return QString::fromStdString(FormatText(text, {value})).toHtmlEscaped();
}

} // namespace

QString BuildDateText(const char* compilerDate, const std::string& language) {
    const QString text = QString::fromLatin1(compilerDate);
    // The compiler writes the month in English, the day padded with a blank.
    const QDate date = QLocale::c().toDate(text.simplified(), "MMM d yyyy");
    if (!date.isValid())
        return text;
    const QLocale locale(QString::fromStdString(language));
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(QRegularExpression("dddd[,.]?\\s*"));
    return locale.toString(date, format.trimmed());
}

void QtDialogs::ShowAboutBox(const AboutTexts& texts) {
    const std::string& folder = settingsFolder;
    QMessageBox::about(
        mainWindow, QString::fromStdString(texts.title),
        "<b>Setfolio</b><br>" + Filled(texts.version, SETFOLIO_VERSION) + "<br>" +
            Filled(texts.built, BuildDateText(__DATE__, texts.language).toStdString()) +
            "<br><br>" + QString::fromStdString(texts.summary).toHtmlEscaped() + "<br><br>" +
            Filled(portable ? texts.keptBesideProgram : texts.keptForUser, folder));
}

namespace {

// The chosen file's full path, or nothing when the user cancelled. The stored setting is the last
// file chosen; the selection starts in its folder.
std::optional<std::string> ChooseFile(const FileChoice& choice, QFileDialog::AcceptMode mode) {
    QString start = QString::fromStdString(choice.initialPath);
    if (QFileInfo(start).isFile() || !QFileInfo(start).exists())
        start = QFileInfo(start).absolutePath();
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(choice.title), start,
                       QString::fromStdString(choice.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    // Added before the dialog checks the name, so that it asks before replacing "Line.lvf" when
    // "Line" was typed.
    dialog.setDefaultSuffix(QString::fromStdString(choice.defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace

std::optional<std::string> QtDialogs::ChooseFileToSave(const FileChoice& choice) {
    return ChooseFile(choice, QFileDialog::AcceptSave);
}

std::optional<std::string> QtDialogs::ChooseFileToOpen(const FileChoice& choice) {
    return ChooseFile(choice, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& title,
                                                   const std::string& initialPath) {
    const QString chosen = QFileDialog::getExistingDirectory(QApplication::activeWindow(),
                                                             QString::fromStdString(title),
                                                             QString::fromStdString(initialPath));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.toStdString();
}

void QtDialogs::CloseMainWindow() {
    if (mainWindow)
        mainWindow->close();
}

} // namespace setfolio
