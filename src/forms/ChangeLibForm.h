#pragma once

#include "forms/FormControls.h"
#include "forms/FormModel.h"

namespace setfolio {

class CurrentModel;
class Dialogs;
class Exchange;
class MessageLog;
class Prompts;

// The change-library dialog ("Change Library").
class ChangeLibForm : public FormModel {
public:
    ChangeLibForm(Exchange& exchange, const CurrentModel& model, Localisation& localisation,
                  Prompts& prompts, MessageLog& log, Dialogs& dialogs);

    Window form{"Change Library", 247, 105};
    bool formEnabled = true;
    Label LibraryLabel;
    SpinValue LibrarySpinEdit;
    Button OKBtn;
    Button CancelBtn;
    int LibraryAtOpen = 0;

    // Asks for the active library; opens the dialog only when the processor answered.
    void OpenChangeLibraryDialog();
    void OKBtnClick();
    void CancelBtnClick();

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

private:
    Exchange& m_exchange;
    const CurrentModel& m_model;
    Localisation& m_localisation;
    Prompts& m_prompts;
    MessageLog& m_log;
    Dialogs& m_dialogs;
};

} // namespace setfolio
