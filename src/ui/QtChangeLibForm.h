#pragma once

#include "core/Signal.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace setfolio {

class ChangeLibForm;
class Prompts;

class QtChangeLibForm : public QDialog {
public:
    QtChangeLibForm(ChangeLibForm& form, Prompts& prompts, QWidget* parent = nullptr);
    void Refresh();
    void reject() override;

private:
    ChangeLibForm& m_form;
    Subscription m_changed; // shows the model again whenever it signals a change
    Prompts& m_prompts;
    QLabel* m_libraryLabel;
    QSpinBox* m_librarySpinEdit;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
};

} // namespace setfolio
