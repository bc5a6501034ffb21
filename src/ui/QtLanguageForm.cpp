#include "ui/QtLanguageForm.h"

#include "core/Guarded.h"
#include "ui/UiText.h"
#include "ui/Widgets.h"

#include "forms/LanguageForm.h"
#include "ui/QtPrompts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace setfolio {

QtLanguageForm::QtLanguageForm(LanguageForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_form(form), m_prompts(prompts) {
    SetUpDialog(this, "LanguageForm");

    m_languageLabel = MakeLabel(this, "LanguageLabel", Qt::AlignRight);
    m_languageLabel->setMinimumWidth(73);
    m_languageComboBox = new QComboBox(this);
    m_languageComboBox->setObjectName(QStringLiteral("LanguageComboBox"));
    m_languageComboBox->setMinimumWidth(145);

    m_okBtn = MakeButton(this, "OKBtn");
    m_okBtn->setDefault(true);
    m_okBtn->setMinimumWidth(100);
    m_cancelBtn = MakeButton(this, "CancelBtn");
    m_cancelBtn->setMinimumWidth(100);

    auto* language = new QHBoxLayout;
    language->setSpacing(15);
    language->addWidget(m_languageLabel);
    language->addWidget(m_languageComboBox);
    language->addStretch(1);
    // In the middle, as designed, however wide the caption makes the dialog.
    auto* buttons = CentredButtons(20, {m_okBtn, m_cancelBtn});
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(19, 24, 18, 14);
    top->setSpacing(24);
    top->addLayout(language);
    top->addLayout(buttons);
    top->addStretch(1);

    connect(m_languageComboBox, &QComboBox::activated, this, [this](int line) {
        if (!m_refreshing)
            m_form.LanguageComboBox.marked = line;
    });
    connect(m_okBtn, &QPushButton::clicked, this, &QtLanguageForm::Ok);
    connect(m_cancelBtn, &QPushButton::clicked, this, &QtLanguageForm::reject);

    m_changed = form.changed.Subscribe([this] { Refresh(); });
    Refresh();
}

void QtLanguageForm::Refresh() {
    const bool wasRefreshing = m_refreshing;
    m_refreshing = true;
    setWindowTitle(FromUtf8(m_form.form.caption));

    m_languageLabel->setText(FromUtf8(m_form.LanguageLabel.caption));
    ShowControl(m_languageLabel, m_form.LanguageLabel);
    const Colour colour = m_form.LanguageLabel.colour;
    QPalette palette = m_languageLabel->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText,
                         QColor(colour.red, colour.green, colour.blue));
    m_languageLabel->setPalette(palette);

    const Choice& languages = m_form.LanguageComboBox;
    QStringList items;
    for (const auto& item : languages.items)
        items << FromUtf8(item);
    bool same = m_languageComboBox->count() == items.size();
    for (int i = 0; same && i < items.size(); ++i)
        same = m_languageComboBox->itemText(i) == items[i];
    if (!same) {
        m_languageComboBox->clear();
        m_languageComboBox->addItems(items);
    }
    m_languageComboBox->setCurrentIndex(languages.HasMarked() ? languages.marked : -1);
    ShowControl(m_languageComboBox, languages);

    m_okBtn->setText(FromUtf8(m_form.OKBtn.caption));
    ShowControl(m_okBtn, m_form.OKBtn);
    m_cancelBtn->setText(FromUtf8(m_form.CancelBtn.caption));
    ShowControl(m_cancelBtn, m_form.CancelBtn);
    FitDialog(this, {m_form.form.clientWidth, m_form.form.clientHeight});
    m_refreshing = wasRefreshing;
}

int QtLanguageForm::ShowModal() {
    Refresh();
    return exec();
}

void QtLanguageForm::Ok() {
    // A language that could not be stored is not applied: the dialog stays open for another try
    // or Cancel.
    const bool stored = RunGuarded(m_prompts, [this] { m_form.OKBtnClick(); });
    Refresh();
    if (stored)
        accept();
}

void QtLanguageForm::reject() {
    RunGuarded(m_prompts, [this] { m_form.CancelBtnClick(); });
    Refresh();
    QDialog::reject();
}

} // namespace setfolio
