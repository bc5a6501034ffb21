#include "forms/DownLoadForm.h"

#include "core/AtomicFile.h"
#include "core/Settings.h"
#include "core/Utf8Path.h"
#include "i18n/Messages.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "platform/Dialogs.h"
#include "platform/Prompts.h"
#include "transfer/CurrentLibraryLine.h"

namespace setfolio {

namespace {
constexpr int WaitTickMs = 1000;
// The question names this many of the files a block would replace; it counts them all.
constexpr std::size_t MaxNamedBlockFiles = 20;
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
    const auto chosen = m_dialogs.ChooseFileToSave(
        {saveDialogTitle, m_context.texts.Text(OwnMsg::LibraryFilesFilter), StartFolder(), "lvf"});
    if (!chosen)
        return;
    FileChosen(*chosen);
    FileName.caption = *chosen;
    m_settings.Write(keys::DownLoadFile, *chosen);
}

bool DownLoadForm::ConfirmReplacingBlockFiles() {
    // The file selection asked about a single file; a missing name is refused later.
    if (!ToLibCB.checked || FileName.caption.empty() || FileName.caption == "*.lvf")
        return true;
    std::vector<std::string> existing;
    for (int library = LibrarySpinEdit.value; library <= ToLibrarySpinEdit.value; ++library) {
        const std::string path = InsertLibraryNumber(FileName.caption, library);
        if (FileExists(path))
            existing.push_back(FileNameOf(path));
    }
    if (existing.empty())
        return true;
    std::string names;
    for (std::size_t k = 0; k < existing.size() && k < MaxNamedBlockFiles; ++k)
        names += (k == 0 ? "" : ", ") + existing[k];
    names += existing.size() > MaxNamedBlockFiles ? ", ..." : ".";
    const std::string text = m_context.texts.Format(OwnMsg::BlockFilesReplaced,
                                                    {std::to_string(existing.size()), names});
    m_context.prompts.WarningBeep();
    return m_context.prompts.WarningYesNo(text + " " +
                                          m_context.texts.Text(MsgId::MsgConfirmProceed));
}

bool DownLoadForm::OKBtnClick() {
    return RunFromOk([this] {
        if (!ConfirmReplacingBlockFiles()) {
            KeepOpen();
            return;
        }
        // Afterwards the processor goes back to the library it ran when the dialog opened.
        std::int32_t active = LibraryAtOpen;
        TransferContext context = m_context;
        context.activeLibrary = &active;
        RunDownload(
            context, *this,
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
