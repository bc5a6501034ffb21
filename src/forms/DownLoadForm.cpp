#include "forms/DownLoadForm.h"

#include "core/Settings.h"
#include "link/Exchange.h"
#include "platform/Dialogs.h"
#include "transfer/CurrentLibraryLine.h"

namespace setfolio {

namespace {
constexpr int WaitTickMs = 1000;
} // namespace

DownLoadForm::DownLoadForm(const TransferContext& context, const Settings& settings,
                           Dialogs& dialogs, EventLoop& loop, Localisation& localisation)
    : TransferForm(context, loop, WaitTickMs), m_settings(settings), m_dialogs(dialogs) {
    form = {"Download To File", 399, 236};
    FileName.hint = "Specified file to receive download";
    FileBtn.hint = "Click to specify filename";
    OKBtn.hint = "Click to download library";
    CancelBtn.hint = "Click to exit without downloading";
    SetTransferMode(false, 100);
    localisation.Attach(TextWindow::DownLoadForm, *this);
}

void DownLoadForm::OpenDownloadDialog() {
    if (StartAtCurrentLibrary())
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
    return RunFromOk([this] {
        RunDownload(
            m_context, *this,
            {LibrarySpinEdit.value, ToLibCB.checked, ToLibrarySpinEdit.value, FileName.caption});
    });
}

void DownLoadForm::FormClose() {
    FileName.caption = "*.lvf";
}

void DownLoadForm::SetTransferMode(bool on, int progressRange) {
    SwitchMode(on, progressRange,
               {&LibraryLabel, &LibrarySpinEdit, &ToLibCB, &FileLabel, &FileName, &OKBtn,
                &CancelBtn, &FileBtn},
               DownloadIdleHeight, DownloadTransferHeight);
}

std::string* DownLoadForm::TextSlot(std::string_view target, TextProperty property) {
    if (target == "DownDialog")
        return property == TextProperty::DialogTitle ? &saveDialogTitle : nullptr;
    return TransferForm::TextSlot(target, property);
}

} // namespace setfolio
