#pragma once

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
    Prompts& m_prompts;
    QLabel* m_libraryLabel;
    QSpinBox* m_librarySpinEdit;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
};

} // namespace setfolio
