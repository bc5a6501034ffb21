#include "forms/ChangeLibForm.h"

#include "forms/ControlTexts.h"
#include "link/Exchange.h"
#include "platform/Dialogs.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"

namespace setfolio {

ChangeLibForm::ChangeLibForm(Exchange& exchange, const CurrentModel& model,
                             Localisation& localisation, Prompts& prompts, MessageLog& log,
                             Dialogs& dialogs)
    : m_exchange(exchange), m_model(model), m_localisation(localisation), m_prompts(prompts),
      m_log(log), m_dialogs(dialogs) {
    LibraryLabel.caption = "Library";
    LibrarySpinEdit.value = 1;
    LibrarySpinEdit.minimum = 0;
    LibrarySpinEdit.maximum = 500;
    LibrarySpinEdit.hint = "Select new library #";
    OKBtn.caption = "OK";
    OKBtn.hint = "Click to change library";
    CancelBtn.caption = "Cancel";
    CancelBtn.hint = "Click to exit without changing library";
    localisation.Attach(TextWindow::ChangeLibForm, *this);
}

void ChangeLibForm::OpenChangeLibraryDialog() {
    const Reply reply = m_exchange.QueryLibrary();
    if (!reply.Ok()) {
        ShowCurrentLibrary(0, reply.status, m_localisation.Messages(), m_prompts, m_log);
        return;
    }
    LibrarySpinEdit.value = reply.library.value_or(0);
    LibraryAtOpen = reply.library.value_or(0);
    m_dialogs.ShowChangeLibraryDialog();
}

void ChangeLibForm::OKBtnClick() {
    const int chosen = LibrarySpinEdit.value;
    const Reply reply =
        ChangeLibrary(m_exchange, m_model, LibraryAtOpen, chosen, [this](bool enabled) {
            formEnabled = enabled;
            Changed();
        });
    ShowCurrentLibrary(chosen, reply.status, m_localisation.Messages(), m_prompts, m_log);
}

void ChangeLibForm::CancelBtnClick() {
    // Nothing was changed: the library the dialog opened with.
    ShowCurrentLibrary(LibraryAtOpen, m_exchange.replyStatus(), m_localisation.Messages(),
                       m_prompts, m_log);
}

std::string* ChangeLibForm::TextSlot(std::string_view target, TextProperty property) {
    if (target == "TChangeLibForm")
        return property == TextProperty::WindowCaption ? &form.caption : nullptr;
    if (target == "LibraryLabel")
        return CaptionOrHint(LibraryLabel, property);
    if (target == "LibrarySpinEdit")
        return CaptionOrHint(LibrarySpinEdit, property);
    if (target == "OKBtn")
        return CaptionOrHint(OKBtn, property);
    if (target == "CancelBtn")
        return CaptionOrHint(CancelBtn, property);
    return nullptr;
}

} // namespace setfolio
