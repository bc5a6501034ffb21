#include "ui/QtTransferForm.h"

#include "core/Guarded.h"
#include "forms/DownLoadForm.h"
#include "forms/UpLoadForm.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include <algorithm>

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace setfolio {

namespace {

// The designed client height: in idle mode the progress area below the line is left out. The
// outer heights differ by the same amount in both dialogs.
int ClientHeight(const TransferForm& form, bool upload) {
    const int transferHeight = upload ? UploadTransferHeight : DownloadTransferHeight;
    return form.form.clientHeight - (transferHeight - form.outerHeight);
}

bool Transferring(const TransferForm& form, bool upload) {
    return form.outerHeight >= (upload ? UploadTransferHeight : DownloadTransferHeight);
}

void Show(QWidget* widget, const Control& control) {
    widget->setToolTip(FromUtf8(control.hint));
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
}

// Layout, in pixels of the designed 399 pixel wide client area.
constexpr int LabelLeft = 6;
constexpr int LabelColumn = 100; // the captions end here, right-aligned
constexpr int ButtonWidth = 100;
constexpr int RowHeight = 26;
constexpr int CounterWidth = 133;

QLabel* MakeRowLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A sunken panel for a name: a long one (a file's path) is cut off at the panel's edge instead of
// widening the dialog.
QLabel* MakePanel(QWidget* parent, const char* name, int width) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
    panel->setMinimumSize(width, std::max(RowHeight, panel->fontMetrics().height() + 8));
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return panel;
}

QSpinBox* MakeSpin(QWidget* parent, const char* name) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setMinimumWidth(70);
    return spin;
}

} // namespace

QtTransferForm::QtTransferForm(TransferForm& form, Prompts& prompts, UpLoadForm* upload,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_form(form),
      m_upload(upload), m_prompts(prompts) {
    setObjectName(upload ? "TUpLoadForm" : "TDownLoadForm");

    // Captions in the first column, right-aligned; the controls beside them.
    auto* fields = new QGridLayout;
    fields->setContentsMargins(LabelLeft, 0, 12, 0);
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(12);
    fields->setColumnMinimumWidth(0, LabelColumn - LabelLeft);
    fields->setColumnStretch(1, 1);
    int row = 0;
    // The upload dialog has the file's model above and the calibration box below the libraries.
    if (upload) {
        m_modelLabel = MakeRowLabel(this, "ModelLabel");
        m_modelNumber = MakePanel(this, "ModelNumber", 218);
        fields->addWidget(m_modelLabel, row, 0);
        fields->addWidget(m_modelNumber, row++, 1, Qt::AlignLeft);
    }

    m_libraryLabel = MakeRowLabel(this, "LibraryLabel");
    m_librarySpinEdit = MakeSpin(this, "LibrarySpinEdit");
    m_toLibCB = new QCheckBox(this);
    m_toLibCB->setObjectName("ToLibCB");
    m_toLibrarySpinEdit = MakeSpin(this, "ToLibrarySpinEdit");
    auto* libraries = new QHBoxLayout;
    libraries->setSpacing(10);
    libraries->addWidget(m_librarySpinEdit);
    libraries->addWidget(m_toLibCB);
    libraries->addWidget(m_toLibrarySpinEdit);
    libraries->addStretch(1);
    fields->addWidget(m_libraryLabel, row, 0);
    fields->addLayout(libraries, row++, 1);

    if (upload) {
        m_includeCommonCB = new QCheckBox(this);
        m_includeCommonCB->setObjectName("IncludeCommonCB");
        // Hidden for most models; its row stays, as designed.
        QSizePolicy keep = m_includeCommonCB->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        m_includeCommonCB->setSizePolicy(keep);
        fields->addWidget(m_includeCommonCB, row++, 1);
        connect(m_includeCommonCB, &QCheckBox::clicked, this,
                [this](bool checked) { m_upload->IncludeCommonCB.checked = checked; });
    }

    m_fileLabel = MakeRowLabel(this, "FileLabel");
    m_fileName = MakePanel(this, "FileName", 250);
    m_fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_fileBtn = new QToolButton(this);
    m_fileBtn->setObjectName("FileBtn");
    m_fileBtn->setIcon(
        style()->standardIcon(upload ? QStyle::SP_DialogOpenButton : QStyle::SP_DialogSaveButton));
    auto* file = new QHBoxLayout;
    file->setSpacing(4);
    file->addWidget(m_fileName, 1);
    file->addWidget(m_fileBtn);
    fields->addWidget(m_fileLabel, row, 0);
    fields->addLayout(file, row++, 1);

    m_okBtn = new QPushButton(this);
    m_okBtn->setObjectName("OKBtn");
    m_okBtn->setDefault(true);
    m_okBtn->setMinimumWidth(ButtonWidth);
    m_cancelBtn = new QPushButton(this);
    m_cancelBtn->setObjectName("CancelBtn");
    m_cancelBtn->setMinimumWidth(ButtonWidth);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(20);
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);
    buttons->addStretch(1);
    fields->addLayout(buttons, row++, 1);
    for (int line = 0; line < row; ++line)
        fields->setRowMinimumHeight(line, RowHeight);
    if (upload)
        fields->setRowMinimumHeight(2, 22); // the calibration box

    // Below a line, the progress of a transfer: shown in transfer mode only.
    m_progressArea = new QWidget(this);
    m_progressArea->setObjectName("ProgressArea");
    auto* line = new QFrame(m_progressArea);
    line->setObjectName("Bevel");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    m_progressLabel = new QLabel(m_progressArea);
    m_progressLabel->setObjectName("ProgressLabel");
    m_progressLabel->setAlignment(Qt::AlignCenter);
    m_progressBar = new QProgressBar(m_progressArea);
    m_progressBar->setObjectName("ProgressBar");
    m_progressBar->setTextVisible(false);
    m_abortBtn = new QPushButton(m_progressArea);
    m_abortBtn->setObjectName("AbortBtn");
    m_abortBtn->setMinimumWidth(ButtonWidth);
    m_libCounter = new QLabel(m_progressArea);
    m_libCounter->setObjectName("LibCounter");
    // "Library 4 of 6" over the time left, beside Abort.
    m_libCounter->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_libCounter->setMinimumSize(CounterWidth, 38);
    QSizePolicy keep = m_libCounter->sizePolicy();
    keep.setRetainSizeWhenHidden(true); // Abort stays in the middle without it
    m_libCounter->setSizePolicy(keep);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(16, 0, 16, 0);
    bar->addWidget(m_progressBar);
    // Abort in the middle, the block's counter to its right; an equal space to its left keeps
    // Abort in the middle.
    m_abortRow = new QGridLayout;
    m_abortRow->setHorizontalSpacing(8);
    m_abortRow->setColumnStretch(0, 1);
    m_abortRow->setColumnStretch(2, 1);
    m_abortRow->addWidget(m_abortBtn, 0, 1);
    m_abortRow->addWidget(m_libCounter, 0, 2);
    auto* progress = new QVBoxLayout(m_progressArea);
    progress->setContentsMargins(8, 0, 8, 2);
    progress->setSpacing(4);
    progress->addWidget(line);
    progress->addWidget(m_progressLabel);
    progress->addLayout(bar);
    progress->addLayout(m_abortRow);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, upload ? 14 : 18, 0, 4);
    top->setSpacing(12);
    top->addLayout(fields);
    top->addWidget(m_progressArea);
    top->addStretch(1);

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
    connect(m_abortBtn, &QPushButton::clicked, this, [this] {
        bool closeNow = false;
        RunGuarded(m_prompts, [&] { closeNow = m_form.AbortBtnClick(); });
        if (closeNow)
            reject();
    });
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
    // As much room left of Abort as the counter has on its right.
    const int counter = std::max(CounterWidth, m_libCounter->sizeHint().width());
    m_abortRow->setColumnMinimumWidth(0, counter);
    m_abortRow->setColumnMinimumWidth(2, counter);
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
    const bool upload = m_upload != nullptr;
    m_progressArea->setVisible(Transferring(m_form, upload));
    FitDialog(this, {m_form.form.clientWidth, ClientHeight(m_form, upload)});
    m_refreshing = false;
}

} // namespace setfolio
