#include "forms/LanguageForm.h"

#include "core/Settings.h"
#include "forms/ControlTexts.h"

namespace setfolio {

LanguageForm::LanguageForm(const Settings& settings, Localisation& localisation, Choice& parity)
    : m_settings(settings), m_localisation(localisation), m_parity(parity) {
    LanguageLabel.caption = "Language";
    LanguageComboBox.items.resize(LanguageNames.size());
    OKBtn.caption = "OK";
    OKBtn.hint = "Click to accept new language";
    CancelBtn.caption = "Cancel";
    CancelBtn.hint = "Click to exit without changing language";
    m_localisation.Attach(TextWindow::LanguageForm, *this);
}

void LanguageForm::NameLanguageList() {
    for (std::size_t i = 0; i < LanguageNames.size(); ++i)
        LanguageComboBox.items[i] = std::string(LanguageNames[i]);
}

void LanguageForm::ApplyLanguage() {
    const int parity = m_parity.marked;
    if (LanguageComboBox.HasMarked())
        m_localisation.Apply(static_cast<Language>(LanguageComboBox.marked));
    // New parity texts must not lose the user's parity.
    m_parity.Mark(parity);
}

void LanguageForm::OKBtnClick() {
    m_settings.Write(keys::Language, LanguageComboBox.marked);
    ApplyLanguage();
}

void LanguageForm::CancelBtnClick() {
    LanguageComboBox.Mark(m_settings.Read(keys::Language));
}

std::string* LanguageForm::TextSlot(std::string_view target, TextProperty property) {
    if (target == "TLanguageForm")
        return property == TextProperty::WindowCaption ? &form.caption : nullptr;
    if (target == "LanguageLabel")
        return CaptionOrHint(LanguageLabel, property);
    if (target == "OKBtn")
        return CaptionOrHint(OKBtn, property);
    if (target == "CancelBtn")
        return CaptionOrHint(CancelBtn, property);
    return nullptr;
}

} // namespace setfolio
