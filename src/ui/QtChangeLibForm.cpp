#include "ui/QtChangeLibForm.h"

#include "core/Guarded.h"
#include "forms/ChangeLibForm.h"
#include "ui/UiText.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace setfolio {

QtChangeLibForm::QtChangeLibForm(ChangeLibForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_form(form),
      m_prompts(prompts) {
    setObjectName("TChangeLibForm");
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    setFixedSize(form.form.clientWidth, form.form.clientHeight);

    m_libraryLabel = new QLabel(this);
    m_libraryLabel->setObjectName("LibraryLabel");
    m_libraryLabel->setGeometry(24, 24, 70, 21);
    m_libraryLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_librarySpinEdit = new QSpinBox(this);
    m_librarySpinEdit->setObjectName("LibrarySpinEdit");
    m_librarySpinEdit->setGeometry(104, 22, 81, 24);
    connect(m_librarySpinEdit, &QSpinBox::valueChanged, this,
            [this](int value) { m_form.LibrarySpinEdit.value = value; });
    m_okBtn = new QPushButton(this);
    m_okBtn->setObjectName("OKBtn");
    m_okBtn->setGeometry(24, 66, 90, 25);
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(this);
    m_cancelBtn->setObjectName("CancelBtn");
    m_cancelBtn->setGeometry(133, 66, 90, 25);

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
}

} // namespace setfolio
