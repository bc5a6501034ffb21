#include "ui/Widgets.h"

#include "ui/UiText.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace setfolio {

void ShowControl(QWidget* widget, const Control& control) {
    widget->setToolTip(FromUtf8(control.hint));
    widget->setEnabled(control.enabled);
    if (widget->isHidden() == control.visible)
        widget->setHidden(!control.visible);
}

void ShowLabel(QLabel* label, const Label& model) {
    label->setText(FromUtf8(model.caption));
    ShowControl(label, model);
    const QColor colour(model.colour.red, model.colour.green, model.colour.blue);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(palette);
}

void ShowButton(QAbstractButton* button, const Control& model) {
    button->setText(FromUtf8(model.caption));
    ShowControl(button, model);
}

QLabel* MakeLabel(QWidget* parent, const char* name, Qt::Alignment alignment, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setGeometry(geometry);
    return button;
}

void SetUpDialog(QDialog* dialog, const char* name, int width, int height) {
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    dialog->setFont(font);
    dialog->setFixedSize(width, height);
}

} // namespace setfolio
