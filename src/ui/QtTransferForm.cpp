#include "ui/QtTransferForm.h"

#include "core/Guarded.h"
#include "forms/DownLoadForm.h"
#include "forms/UpLoadForm.h"
#include "ui/UiText.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

namespace setfolio {

namespace {

// The client height in idle mode: the progress area below the line is cut off. The outer
// heights differ by the same amount in both dialogs.
int ClientHeight(const TransferForm& form, bool upload) {
    const int transferHeight = upload ? UploadTransferHeight : DownloadTransferHeight;
    return form.form.clientHeight - (transferHeight - form.outerHeight);
}

void Show(QWidget* widget, const Control& control) {
    widget->setToolTip(FromUtf8(control.hint));
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
}

} // namespace

QtTransferForm::QtTransferForm(TransferForm& form, Prompts& prompts, UpLoadForm* upload,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_form(form),
      m_upload(upload), m_prompts(prompts) {
    setObjectName(upload ? "TUpLoadForm" : "TDownLoadForm");
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    // The upload dialog has the file's model above and the calibration box below the libraries.
    const int top = upload ? 34 : 0;
    const int below = upload ? 64 : 0;
    if (upload) {
        m_modelLabel = new QLabel(this);
        m_modelLabel->setObjectName("ModelLabel");
        m_modelLabel->setGeometry(0, 16, 100, 22);
        m_modelLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_modelNumber = new QLabel(this);
        m_modelNumber->setObjectName("ModelNumber");
        m_modelNumber->setGeometry(106, 14, 218, 26);
        m_modelNumber->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_modelNumber->setTextFormat(Qt::PlainText);
        m_includeCommonCB = new QCheckBox(this);
        m_includeCommonCB->setObjectName("IncludeCommonCB");
        m_includeCommonCB->setGeometry(106, 86, 250, 22);
        connect(m_includeCommonCB, &QCheckBox::clicked, this,
                [this](bool checked) { m_upload->IncludeCommonCB.checked = checked; });
    }

    m_libraryLabel = new QLabel(this);
    m_libraryLabel->setObjectName("LibraryLabel");
    m_libraryLabel->setGeometry(0, 20 + top, 100, 22);
    m_libraryLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_librarySpinEdit = new QSpinBox(this);
    m_librarySpinEdit->setObjectName("LibrarySpinEdit");
    m_librarySpinEdit->setGeometry(106, 18 + top, 70, 26);
    m_toLibCB = new QCheckBox(this);
    m_toLibCB->setObjectName("ToLibCB");
    m_toLibCB->setGeometry(186, 20 + top, 64, 22);
    m_toLibrarySpinEdit = new QSpinBox(this);
    m_toLibrarySpinEdit->setObjectName("ToLibrarySpinEdit");
    m_toLibrarySpinEdit->setGeometry(254, 18 + top, 70, 26);

    m_fileLabel = new QLabel(this);
    m_fileLabel->setObjectName("FileLabel");
    m_fileLabel->setGeometry(0, 58 + below, 100, 22);
    m_fileLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_fileName = new QLabel(this);
    m_fileName->setObjectName("FileName");
    m_fileName->setGeometry(106, 56 + below, 250, 26);
    m_fileName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_fileName->setTextFormat(Qt::PlainText);
    m_fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fileBtn = new QToolButton(this);
    m_fileBtn->setObjectName("FileBtn");
    m_fileBtn->setGeometry(360, 56 + below, 26, 26);
    m_fileBtn->setIcon(
        style()->standardIcon(upload ? QStyle::SP_DialogOpenButton : QStyle::SP_DialogSaveButton));

    m_okBtn = new QPushButton(this);
    m_okBtn->setObjectName("OKBtn");
    m_okBtn->setGeometry(106, 96 + below, 100, 26);
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(this);
    m_cancelBtn->setObjectName("CancelBtn");
    m_cancelBtn->setGeometry(226, 96 + below, 100, 26);

    auto* line = new QFrame(this);
    line->setObjectName("Bevel");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 134 + below, 383, 6);
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName("ProgressLabel");
    m_progressLabel->setGeometry(8, 146 + below, 383, 20);
    m_progressLabel->setAlignment(Qt::AlignCenter);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName("ProgressBar");
    m_progressBar->setGeometry(24, 170 + below, 351, 20);
    m_progressBar->setTextVisible(false);
    m_libCounter = new QLabel(this);
    m_libCounter->setObjectName("LibCounter");
    // "Library 4 of 6" over the time left, beside Abort.
    m_libCounter->setGeometry(258, 194 + below, 133, 38);
    m_libCounter->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_abortBtn = new QPushButton(this);
    m_abortBtn->setObjectName("AbortBtn");
    m_abortBtn->setGeometry(150, 200 + below, 100, 26);

    connect(m_librarySpinEdit, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_refreshing)
            m_form.LibrarySpinEdit.value = value;
    });
    connect(m_librarySpinEdit, &QSpinBox::editingFinished, this, [this] {
        RunGuarded(m_prompts, [&] { m_form.LibrarySpinEditExit(); });
        Refresh();
    });
    connect(m_toLibrarySpinEdit, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_refreshing)
            m_form.ToLibrarySpinEdit.value = value;
    });
    connect(m_toLibCB, &QCheckBox::clicked, this, [this](bool checked) {
        m_form.ToLibCB.checked = checked;
        RunGuarded(m_prompts, [&] { m_form.ToLibCBClick(); });
        Refresh();
    });
    connect(m_fileBtn, &QToolButton::clicked, this, [this] {
        RunGuarded(m_prompts, [&] { m_form.FileBtnClick(); });
        Refresh();
    });
    connect(m_okBtn, &QPushButton::clicked, this, [this] {
        // Leaving the first-library field by clicking OK still applies its limits.
        m_form.LibrarySpinEdit.value = m_librarySpinEdit->value();
        bool close = true;
        RunGuarded(m_prompts, [&] { close = m_form.OKBtnClick(); });
        Refresh();
        if (close)
            accept();
    });
    connect(m_cancelBtn, &QPushButton::clicked, this, &QtTransferForm::reject);
    connect(m_abortBtn, &QPushButton::clicked, this,
            [this] { RunGuarded(m_prompts, [&] { m_form.AbortBtnClick(); }); });
    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

void QtTransferForm::reject() {
    // A running transfer ends with Abort, not by closing its window.
    if (m_form.Running())
        return;
    QDialog::reject();
}

void QtTransferForm::done(int result) {
    RunGuarded(m_prompts, [&] { m_form.FormClose(); });
    QDialog::done(result);
}

void QtTransferForm::Refresh() {
    m_refreshing = true;
    setWindowTitle(FromUtf8(m_form.form.caption));
    setFixedSize(m_form.form.clientWidth, ClientHeight(m_form, m_upload != nullptr));
    setEnabled(m_form.formEnabled);
    m_libraryLabel->setText(FromUtf8(m_form.LibraryLabel.caption));
    Show(m_libraryLabel, m_form.LibraryLabel);
    m_librarySpinEdit->setRange(m_form.LibrarySpinEdit.minimum, m_form.LibrarySpinEdit.maximum);
    m_librarySpinEdit->setValue(m_form.LibrarySpinEdit.value);
    Show(m_librarySpinEdit, m_form.LibrarySpinEdit);
    m_toLibCB->setText(FromUtf8(m_form.ToLibCB.caption));
    m_toLibCB->setChecked(m_form.ToLibCB.checked);
    Show(m_toLibCB, m_form.ToLibCB);
    m_toLibrarySpinEdit->setRange(m_form.ToLibrarySpinEdit.minimum,
                                  m_form.ToLibrarySpinEdit.maximum);
    m_toLibrarySpinEdit->setValue(m_form.ToLibrarySpinEdit.value);
    Show(m_toLibrarySpinEdit, m_form.ToLibrarySpinEdit);
    m_fileLabel->setText(FromUtf8(m_form.FileLabel.caption));
    Show(m_fileLabel, m_form.FileLabel);
    // File names are the file system's bytes; shown as UTF-8 as the system names them.
    m_fileName->setText(FromUtf8(m_form.FileName.caption));
    Show(m_fileName, m_form.FileName);
    Show(m_fileBtn, m_form.FileBtn);
    m_okBtn->setText(FromUtf8(m_form.OKBtn.caption));
    Show(m_okBtn, m_form.OKBtn);
    m_cancelBtn->setText(FromUtf8(m_form.CancelBtn.caption));
    Show(m_cancelBtn, m_form.CancelBtn);
    m_progressLabel->setText(FromUtf8(m_form.ProgressLabel.caption));
    m_progressBar->setRange(0, std::max(1, m_form.ProgressBar.maximum));
    m_progressBar->setValue(std::min(m_form.ProgressBar.value, m_progressBar->maximum()));
    Show(m_progressBar, m_form.ProgressBar);
    m_libCounter->setText(FromUtf8(m_form.LibCounter.caption));
    Show(m_libCounter, m_form.LibCounter);
    m_abortBtn->setText(FromUtf8(m_form.AbortBtn.caption));
    Show(m_abortBtn, m_form.AbortBtn);
    if (m_upload) {
        m_modelLabel->setText(FromUtf8(m_upload->ModelLabel.caption));
        Show(m_modelLabel, m_upload->ModelLabel);
        m_modelNumber->setText(FromUtf8(m_upload->ModelNumber.caption));
        Show(m_modelNumber, m_upload->ModelNumber);
        m_includeCommonCB->setText(FromUtf8(m_upload->IncludeCommonCB.caption));
        m_includeCommonCB->setChecked(m_upload->IncludeCommonCB.checked);
        Show(m_includeCommonCB, m_upload->IncludeCommonCB);
    }
    m_refreshing = false;
}

} // namespace setfolio
