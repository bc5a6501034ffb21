#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace setfolio {

class DownLoadForm;
class Prompts;

// The download dialog: shows the DownLoadForm model and hands its events to it.
class QtDownLoadForm : public QDialog {
public:
    QtDownLoadForm(DownLoadForm& form, Prompts& prompts, QWidget* parent = nullptr);
    void Refresh();
    void done(int result) override;
    void reject() override;

private:
    DownLoadForm& m_form;
    Prompts& m_prompts;
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
    bool m_refreshing = false;
};

} // namespace setfolio
