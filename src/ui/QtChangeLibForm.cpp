#include "ui/QtChangeLibForm.h"

#include "core/Guarded.h"
#include "forms/ChangeLibForm.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace setfolio {

QtChangeLibForm::QtChangeLibForm(ChangeLibForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_form(form),
      m_prompts(prompts) {
    setObjectName("TChangeLibForm");

    m_libraryLabel = new QLabel(this);
    m_libraryLabel->setObjectName("LibraryLabel");
    m_libraryLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_libraryLabel->setMinimumWidth(70);
    m_librarySpinEdit = new QSpinBox(this);
    m_librarySpinEdit->setObjectName("LibrarySpinEdit");
    m_librarySpinEdit->setMinimumWidth(81);
    connect(m_librarySpinEdit, &QSpinBox::valueChanged, this,
            [this](int value) { m_form.LibrarySpinEdit.value = value; });
    m_okBtn = new QPushButton(this);
    m_okBtn->setObjectName("OKBtn");
    m_okBtn->setDefault(true);
    m_okBtn->setMinimumWidth(90);
    m_cancelBtn = new QPushButton(this);
    m_cancelBtn->setObjectName("CancelBtn");
    m_cancelBtn->setMinimumWidth(90);

    auto* library = new QHBoxLayout;
    library->setSpacing(10);
    library->addWidget(m_libraryLabel);
    library->addWidget(m_librarySpinEdit);
    library->addStretch(1);
    // In the middle, as designed, however wide the caption makes the dialog.
    auto* buttons = CentredButtons(19, {m_okBtn, m_cancelBtn});
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(24, 22, 24, 14);
    top->setSpacing(20);
    top->addLayout(library);
    top->addLayout(buttons);
    top->addStretch(1);

    connect(m_okBtn, &QPushButton::clicked, this, [this] {
        RunGuarded(m_prompts, [&] { m_form.OKBtnClick(); });
        setEnabled(true);
        accept();
    });
    connect(m_cancelBtn, &QPushButton::clicked, this, &QtChangeLibForm::reject);
    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

void QtChangeLibForm::reject() {
    // Escape cancels like the Cancel button.
    RunGuarded(m_prompts, [&] { m_form.CancelBtnClick(); });
    QDialog::reject();
}

void QtChangeLibForm::Refresh() {
    setWindowTitle(FromUtf8(m_form.form.caption));
    m_libraryLabel->setText(FromUtf8(m_form.LibraryLabel.caption));
    m_librarySpinEdit->setRange(m_form.LibrarySpinEdit.minimum, m_form.LibrarySpinEdit.maximum);
    m_librarySpinEdit->setValue(m_form.LibrarySpinEdit.value);
    m_librarySpinEdit->setToolTip(FromUtf8(m_form.LibrarySpinEdit.hint));
    m_okBtn->setText(FromUtf8(m_form.OKBtn.caption));
    m_okBtn->setToolTip(FromUtf8(m_form.OKBtn.hint));
    m_cancelBtn->setText(FromUtf8(m_form.CancelBtn.caption));
    m_cancelBtn->setToolTip(FromUtf8(m_form.CancelBtn.hint));
    setEnabled(m_form.formEnabled);
    FitDialog(this, {m_form.form.clientWidth, m_form.form.clientHeight});
}

} // namespace setfolio
