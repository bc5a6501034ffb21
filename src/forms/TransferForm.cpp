#include "forms/TransferForm.h"

#include "core/ScopeExit.h"
#include "forms/ControlTexts.h"
#include "forms/StatusLine.h"
#include "link/Exchange.h"
#include "platform/EventLoop.h"
#include "transfer/CurrentLibraryLine.h"

#include <algorithm>

namespace setfolio {

TransferForm::TransferForm(const TransferContext& context, EventLoop& loop, int pauseTickMs)
    : m_context(context), m_loop(loop), m_pauseTimer(loop.CreateTimer()),
      m_pauseTickMs(pauseTickMs) {
    LibraryLabel.caption = "Library";
    LibrarySpinEdit.hint = "Select first library #";
    LibrarySpinEdit.maximum = 500;
    ToLibCB.caption = "to";
    ToLibCB.hint = "Check to specify a block of libraries";
    ToLibrarySpinEdit.hint = "Select last library #";
    ToLibrarySpinEdit.maximum = 500;
    ToLibrarySpinEdit.enabled = false;
    FileLabel.caption = "Filename";
    FileName.caption = "*.lvf";
    OKBtn.caption = "OK";
    CancelBtn.caption = "Cancel";
    ProgressLabel.caption = "- Progress - ";
    ProgressBar.maximum = 100;
    LibCounter.caption = "000";
    LibCounter.visible = false;
    AbortBtn.caption = "Abort";
    m_pauseTimer->SetInterval(pauseTickMs);
    m_pauseTimer->SetOnExpiry([this] { m_pauseTimer->Stop(); });
}

TransferForm::~TransferForm() = default;

bool TransferForm::AbortBtnClick() {
    if (m_running) {
        // The transfer ends at its next wait; the dialog closes when it has returned.
        closeAfterTransfer = true;
        m_context.exchange.Abort();
        return false;
    }
    // Nothing runs (the dialog was kept open after a transfer): an Abort now would outlast every
    // transfer and refuse each later exchange. It only ends the dialog.
    m_context.exchange.ForgetAbort();
    return true;
}

void TransferForm::ToLibCBClick() {
    ToLibrarySpinEdit.enabled = ToLibCB.checked;
}

void TransferForm::LibrarySpinEditExit() {
    ToLibrarySpinEdit.minimum = LibrarySpinEdit.value;
    if (ToLibrarySpinEdit.value < LibrarySpinEdit.value)
        ToLibrarySpinEdit.value = LibrarySpinEdit.value;
}

void TransferForm::SwitchMode(bool on, int progressRange, std::initializer_list<Control*> idle,
                              int idleHeight, int transferHeight) {
    outerHeight = on ? transferHeight : idleHeight;
    for (Control* control : idle)
        control->enabled = !on;
    if (ToLibCB.checked)
        ToLibrarySpinEdit.enabled = !on;
    ProgressBar.enabled = on;
    AbortBtn.enabled = on;
    LibCounter.visible = ToLibCB.checked;
    if (ToLibCB.checked)
        ShowBlockProgress(on);
    ProgressBar.maximum = progressRange;
    ProgressBar.value = 0;
    Changed();
}

void TransferForm::ShowBlockProgress(bool on) {
    // In transfer mode: the library the transfer has selected; else the one active at opening.
    const int library = on ? m_context.exchange.TransferLibrary() : LibraryAtOpen;
    const int first = LibrarySpinEdit.value;
    const int last = ToLibrarySpinEdit.value;
    if (!on || library < first || library > last) {
        LibCounter.caption = std::to_string(library);
        return;
    }
    const std::int64_t now = m_loop.NowMs();
    if (!m_blockStartMs || library == first)
        m_blockStartMs = now;
    LibCounter.caption = BlockProgressText(library, library - first + 1, last - first + 1,
                                           now - *m_blockStartMs, m_context.texts);
}

bool TransferForm::StartAtCurrentLibrary(int firstMaximum) {
    Exchange& exchange = m_context.exchange;
    const Reply reply = exchange.QueryLibrary();
    if (!reply.Ok()) {
        ShowCurrentLibrary(0, reply.status, m_context.texts, m_context.prompts, m_context.log);
        return false;
    }
    const int library = reply.library.value_or(0);
    LibraryAtOpen = library;
    SetTransferMode(false, ProgressBar.maximum);
    LibrarySpinEdit.value = std::min(library, firstMaximum);
    ToLibCB.checked = false;
    ToLibCBClick();
    ToLibrarySpinEdit.value = library;
    ToLibrarySpinEdit.minimum = library;
    return true;
}

bool TransferForm::RunFromOk(const std::function<void()>& transfer) {
    if (m_running)
        return false; // the first OK is still at work
    const auto running = FlagForScope(m_running);
    closeAfterTransfer = true;
    m_blockStartMs.reset();
    transfer();
    return closeAfterTransfer;
}

std::string TransferForm::StartFolder() const {
    return recentFolder ? recentFolder->StartFor(initialFolder) : initialFolder;
}

void TransferForm::FileChosen(const std::string& path) {
    if (recentFolder)
        recentFolder->Chosen(path);
}

void TransferForm::SetEnabled(bool enabled) {
    formEnabled = enabled;
    Changed();
}

void TransferForm::Pause(int ms) {
    m_pauseTimer->SetInterval(ms);
    m_pauseTimer->Start();
    m_loop.WaitUntil([this] { return !m_pauseTimer->IsRunning(); });
    m_pauseTimer->SetInterval(m_pauseTickMs);
}

void TransferForm::SetPosition(int position) {
    ProgressBar.value = position;
    Changed();
}

void TransferForm::SetMaximum(int maximum) {
    ProgressBar.maximum = maximum;
    Changed();
}

std::string* TransferForm::TextSlot(std::string_view target, TextProperty property) {
    // The window itself goes by its class name, which differs between the two dialogs.
    if (property == TextProperty::WindowCaption)
        return &form.caption;
    // The file name is not a text of the language: only its hint is.
    if (target == "FileName")
        return property == TextProperty::Hint ? &FileName.hint : nullptr;
    const std::pair<std::string_view, Control*> controls[] = {
        {"LibraryLabel", &LibraryLabel},
        {"LibrarySpinEdit", &LibrarySpinEdit},
        {"ToLibCB", &ToLibCB},
        {"ToLibrarySpinEdit", &ToLibrarySpinEdit},
        {"FileLabel", &FileLabel},
        {"FileBtn", &FileBtn},
        {"OKBtn", &OKBtn},
        {"CancelBtn", &CancelBtn},
        {"ProgressLabel", &ProgressLabel},
        {"AbortBtn", &AbortBtn},
    };
    for (const auto& [name, control] : controls)
        if (name == target)
            return CaptionOrHint(*control, property);
    return nullptr;
}

} // namespace setfolio
