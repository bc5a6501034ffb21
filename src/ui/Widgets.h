#pragma once

#include "forms/FormControls.h"

#include <QRect>

class QAbstractButton;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace setfolio {

// Shows a control's hint, enabled state and visibility.
void ShowControl(QWidget* widget, const Control& control);
// A label's caption (plain text) and colour; a disabled label keeps the disabled look.
void ShowLabel(QLabel* label, const Label& model);
void ShowButton(QAbstractButton* button, const Control& model);

QLabel* MakeLabel(QWidget* parent, const char* name, Qt::Alignment alignment, QRect geometry);
// A dialog of a fixed size with a close button, named `name`, in the forms' font.
void SetUpDialog(QDialog* dialog, const char* name, int width, int height);

// A button that does not take Enter for itself.
QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry);

} // namespace setfolio
