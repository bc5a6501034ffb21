#include "transfer/DownLoadForm.h"

#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "transfer/CurrentLibraryLine.h"

namespace setfolio {

namespace {
constexpr int WaitTickMs = 1000;
constexpr const char* Placeholder = "*.lvf";
} // namespace

DownLoadForm::DownLoadForm(const TransferContext& context, const Settings& settings,
                           Dialogs& dialogs, EventLoop& loop, Localisation& localisation)
    : m_context(context), m_settings(settings), m_dialogs(dialogs), m_loop(loop),
      m_wait(loop.CreateTimer()) {
    LibraryLabel.caption = "Library";
    LibrarySpinEdit.hint = "Select first library #";
    LibrarySpinEdit.maximum = 500;
    ToLibCB.caption = "to";
    ToLibCB.hint = "Check to specify a block of libraries";
    ToLibrarySpinEdit.hint = "Select last library #";
    ToLibrarySpinEdit.maximum = 500;
    ToLibrarySpinEdit.enabled = false;
    FileLabel.caption = "Filename";
    FileName.caption = Placeholder;
    FileName.hint = "Specified file to receive download";
    FileBtn.hint = "Click to specify filename";
    OKBtn.caption = "OK";
    OKBtn.hint = "Click to download library";
    CancelBtn.caption = "Cancel";
    CancelBtn.hint = "Click to exit without downloading";
    ProgressLabel.caption = "- Progress - ";
    ProgressBar.maximum = 100;
    LibCounter.caption = "000";
    LibCounter.visible = false;
    AbortBtn.caption = "Abort";
    m_wait->SetInterval(WaitTickMs);
    m_wait->SetOnExpiry([this] { m_wait->Stop(); });
    SetTransferMode(false, 100);
    localisation.Attach(TextWindow::DownLoadForm, *this);
}

DownLoadForm::~DownLoadForm() = default;

void DownLoadForm::OpenDownloadDialog() {
    Exchange& exchange = m_context.exchange;
    exchange.QueryLibrary();
    if (exchange.replyStatus != ReplyStatus::Ok) {
        ShowCurrentLibrary(exchange.currentLibrary, exchange.replyStatus, m_context.texts,
                           m_context.prompts, m_context.log);
        return;
    }
    SetTransferMode(false, ProgressBar.maximum);
    const int library = exchange.currentLibrary;
    LibrarySpinEdit.value = library;
    ToLibCB.checked = false;
    ToLibCBClick();
    ToLibrarySpinEdit.value = library;
    ToLibrarySpinEdit.minimum = library;
    LibraryAtOpen = library;
    m_dialogs.ShowDownloadDialog();
}

void DownLoadForm::LoadDialogFolders() {
    initialFolder = m_settings.Read(keys::DownLoadFile);
}

void DownLoadForm::FileBtnClick() {
    const auto chosen =
        m_dialogs.ChooseFileToSave({saveDialogTitle, "Library Files (*.lvf)", initialFolder});
    if (!chosen)
        return;
    FileName.caption = *chosen;
    m_settings.Write(keys::DownLoadFile, *chosen);
}

bool DownLoadForm::OKBtnClick() {
    if (m_running)
        return false; // the first OK is still at work
    m_running = true;
    closeAfterTransfer = true;
    const DownloadRequest request{LibrarySpinEdit.value, ToLibCB.checked, ToLibrarySpinEdit.value,
                                  FileName.caption};
    try {
        RunDownload(m_context, *this, request);
    } catch (...) {
        m_running = false;
        throw;
    }
    m_running = false;
    return closeAfterTransfer;
}

void DownLoadForm::AbortBtnClick() {
    m_context.exchange.Abort();
}

void DownLoadForm::ToLibCBClick() {
    ToLibrarySpinEdit.enabled = ToLibCB.checked;
}

void DownLoadForm::LibrarySpinEditExit() {
    ToLibrarySpinEdit.minimum = LibrarySpinEdit.value;
    if (ToLibrarySpinEdit.value < LibrarySpinEdit.value)
        ToLibrarySpinEdit.value = LibrarySpinEdit.value;
}

void DownLoadForm::FormClose() {
    FileName.caption = Placeholder;
}

void DownLoadForm::SetTransferMode(bool on, int progressRange) {
    outerHeight = on ? DownloadTransferHeight : DownloadIdleHeight;
    for (Control* control :
         {static_cast<Control*>(&LibraryLabel), static_cast<Control*>(&LibrarySpinEdit),
          static_cast<Control*>(&ToLibCB), static_cast<Control*>(&FileLabel),
          static_cast<Control*>(&FileName), static_cast<Control*>(&OKBtn),
          static_cast<Control*>(&CancelBtn), static_cast<Control*>(&FileBtn)})
        control->enabled = !on;
    if (ToLibCB.checked)
        ToLibrarySpinEdit.enabled = !on;
    ProgressBar.enabled = on;
    AbortBtn.enabled = on;
    LibCounter.visible = ToLibCB.checked;
    if (ToLibCB.checked)
        LibCounter.caption = std::to_string(m_context.exchange.currentLibrary);
    ProgressBar.maximum = progressRange;
    ProgressBar.value = 0;
    Changed();
}

void DownLoadForm::SetEnabled(bool enabled) {
    formEnabled = enabled;
    Changed();
}

void DownLoadForm::Pause(int ms) {
    m_wait->SetInterval(ms);
    m_wait->Start();
    m_loop.WaitUntil([this] { return !m_wait->IsRunning(); });
    m_wait->SetInterval(WaitTickMs);
}

void DownLoadForm::SetPosition(int position) {
    ProgressBar.value = position;
    Changed();
}

void DownLoadForm::SetMaximum(int maximum) {
    ProgressBar.maximum = maximum;
    Changed();
}

void DownLoadForm::SetText(std::string_view target, TextProperty property,
                           const std::string& text) {
    const bool hint = property == TextProperty::Hint;
    if (target == "TDownLoadForm")
        form.caption = text;
    else if (target == "DownDialog")
        saveDialogTitle = text;
    else if (target == "LibraryLabel")
        LibraryLabel.caption = text;
    else if (target == "ToLibCB")
        (hint ? ToLibCB.hint : ToLibCB.caption) = text;
    else if (target == "FileLabel")
        FileLabel.caption = text;
    else if (target == "OKBtn")
        (hint ? OKBtn.hint : OKBtn.caption) = text;
    else if (target == "CancelBtn")
        (hint ? CancelBtn.hint : CancelBtn.caption) = text;
    else if (target == "ProgressLabel")
        ProgressLabel.caption = text;
    else if (target == "AbortBtn")
        AbortBtn.caption = text;
    else if (target == "LibrarySpinEdit")
        LibrarySpinEdit.hint = text;
    else if (target == "ToLibrarySpinEdit")
        ToLibrarySpinEdit.hint = text;
    else if (target == "FileName")
        FileName.hint = text;
    else if (target == "FileBtn")
        FileBtn.hint = text;
}

} // namespace setfolio
