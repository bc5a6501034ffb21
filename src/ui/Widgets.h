#pragma once

#include "forms/FormControls.h"

#include <QSize>
#include <Qt>

#include <initializer_list>

class QAbstractButton;
class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace setfolio {

// Shows a control's hint, enabled state and visibility.
void ShowControl(QWidget* widget, const Control& control);
// A label's caption (plain text) and colour; a disabled label keeps the disabled look.
void ShowLabel(QLabel* label, const Label& model);
void ShowButton(QAbstractButton* button, const Control& model);

// A plain-text label named `name`, its text centred vertically.
QLabel* MakeLabel(QWidget* parent, const char* name, Qt::Alignment alignment);
// A dialog with a close button, named `name`; FitDialog gives it its size.
void SetUpDialog(QDialog* dialog, const char* name);

// A button that does not take Enter for itself.
QPushButton* MakeButton(QWidget* parent, const char* name);
// A row of buttons kept together in the middle, however wide the dialog grows.
QHBoxLayout* CentredButtons(int spacing, std::initializer_list<QWidget*> buttons);

// The width a window needs for its caption in the title bar, with room for the title bar's
// icon and buttons.
int CaptionWidth(const QWidget* window);
// Fixes the size of a dialog laid out by its layout: the designed size, larger where the texts
// in the system font need more room (each control at least its preferred size) or the caption
// is wider. Called again whenever the texts change.
void FitDialog(QWidget* dialog, QSize designed);

} // namespace setfolio
