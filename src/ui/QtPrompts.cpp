#include "ui/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>

namespace setfolio {

QString PromptText(const std::string& text) {
    QString result = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

std::unique_ptr<QMessageBox> MakeErrorBox(QWidget* parent, const std::string& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, QStringLiteral("Setfolio"),
                                             PromptText(text), QMessageBox::Ok, parent);
    // Texts carry file names and addresses the user typed: never read them as markup.
    box->setTextFormat(Qt::PlainText);
    return box;
}

void QtPrompts::ErrorBox(const std::string& text) {
    QWidget* parent = m_parent;
    if (!parent)
        parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    MakeErrorBox(parent, text)->exec();
}

void QtPrompts::WarningBeep() {
    QApplication::beep();
}

void QtPrompts::DefaultBeep() {
    QApplication::beep();
}

bool QtPrompts::WarningYesNo(const std::string& text) {
    QWidget* parent = m_parent ? m_parent : QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Setfolio"), PromptText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace setfolio
