#pragma once

#include "forms/FormControls.h"
#include "forms/FormModel.h"

namespace setfolio {

class Settings;

// The language dialog ("Select Language"). Its marked line decides what ApplyLanguage applies.
class LanguageForm : public FormModel {
public:
    // `parity` is the communications dialog's parity list, whose marked line survives a change
    // of language.
    LanguageForm(const Settings& settings, Localisation& localisation, Choice& parity);

    Window form{"Select Language", 270, 111};
    Label LanguageLabel;
    Choice LanguageComboBox;
    Button OKBtn;
    Button CancelBtn;

    void NameLanguageList();
    // Applies the language of the marked line; with no line marked, nothing is applied.
    void ApplyLanguage();
    // Stores the marked line (-1 for none), then applies it. May throw WriteError; nothing is
    // applied then.
    void OKBtnClick();
    // Marks the stored line again; nothing is applied.
    void CancelBtnClick();

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

private:
    const Settings& m_settings;
    Localisation& m_localisation;
    Choice& m_parity;
};

} // namespace setfolio
