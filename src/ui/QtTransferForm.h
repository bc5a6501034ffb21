#pragma once

#include "core/Signal.h"

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace setfolio {

class Prompts;
class TransferForm;
class UpLoadForm;

// The download dialog, or the upload dialog when given the upload form's extras: shows the form
// model and hands its events to it.
class QtTransferForm : public QDialog {
public:
    QtTransferForm(TransferForm& form, Prompts& prompts, UpLoadForm* upload = nullptr,
                   QWidget* parent = nullptr);
    void Refresh();
    void done(int result) override;
    void reject() override;

private:
    TransferForm& m_form;
    Subscription m_changed; // shows the model again whenever it signals a change
    UpLoadForm* m_upload;
    Prompts& m_prompts;
    QLabel* m_modelLabel = nullptr;
    QLabel* m_modelNumber = nullptr;
    QCheckBox* m_includeCommonCB = nullptr;
    QLabel* m_libraryLabel;
    QSpinBox* m_librarySpinEdit;
    QCheckBox* m_toLibCB;
    QSpinBox* m_toLibrarySpinEdit;
    QLabel* m_fileLabel;
    QLabel* m_fileName;
    QToolButton* m_fileBtn;
    QPushButton* m_okBtn;
    QPushButton* m_cancelBtn;
    QLabel* m_progressLabel;
    QProgressBar* m_progressBar;
    QLabel* m_libCounter;
    QPushButton* m_abortBtn;
    QWidget* m_progressArea; // below the line: shown in transfer mode
    QGridLayout* m_abortRow; // Abort in the middle, the block's counter on its right
    bool m_refreshing = false;
};

} // namespace setfolio
