#include "ui/Widgets.h"

#include <QHBoxLayout>

#include "ui/UiText.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

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

QLabel* MakeLabel(QWidget* parent, const char* name, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void SetUpDialog(QDialog* dialog, const char* name) {
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

int CaptionWidth(const QWidget* window) {
    // Title bars commonly set their caption in bold and a little larger than the window's
    // texts, some in the middle; the icon and the buttons on either side take about two lines'
    // height each.
    QFont font = window->font();
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 1.25);
    else
        font.setPixelSize(font.pixelSize() * 5 / 4);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(window->windowTitle()) + 4 * metrics.height();
}

void FitDialog(QWidget* dialog, QSize designed) {
    QLayout* layout = dialog->layout();
    if (!layout)
        return;
    // Texts changed since the last time: every layout measures its controls afresh.
    const auto inner = dialog->findChildren<QWidget*>();
    for (auto it = inner.rbegin(); it != inner.rend(); ++it) {
        if (QLayout* own = (*it)->layout()) {
            own->invalidate();
            own->activate();
        }
    }
    layout->invalidate();
    layout->activate();
    const QSize size = designed.expandedTo(layout->totalSizeHint())
                           .expandedTo(layout->totalMinimumSize())
                           .expandedTo(QSize(CaptionWidth(dialog), 0));
    if (dialog->size() != size || dialog->minimumSize() != size)
        dialog->setFixedSize(size);
}

QHBoxLayout* CentredButtons(int spacing, std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addStretch(1);
    for (QWidget* button : buttons)
        row->addWidget(button);
    row->addStretch(1);
    return row;
}

} // namespace setfolio
