#include "forms/UpLoadForm.h"

#include "core/CurrentModel.h"
#include "core/ProfileFile.h"
#include "core/Settings.h"
#include "forms/ControlTexts.h"
#include "link/Exchange.h"
#include "platform/Dialogs.h"
#include "transfer/CurrentLibraryLine.h"

#include <algorithm>

namespace setfolio {

namespace {
constexpr int DelayTickMs = 500;
} // namespace

UpLoadForm::UpLoadForm(const TransferContext& context, const Settings& settings, Dialogs& dialogs,
                       EventLoop& loop, Localisation& localisation)
    : TransferForm(context, loop, DelayTickMs), m_settings(settings), m_dialogs(dialogs) {
    form = {"Upload From File", 399, 300};
    ModelLabel.caption = "Model No.";
    ModelNumber.caption = "???";
    ModelNumber.hint = "Saved model number";
    LibrarySpinEdit.maximum = UploadFirstLibraryMaximum;
    IncludeCommonCB.caption = "Include Cal data";
    IncludeCommonCB.hint = context.texts.Text(OwnMsg::UploadIncludeCommonHint);
    FileName.hint = "Selected file to upload";
    FileBtn.hint = "Click to select filename";
    OKBtn.hint = "Click to upload file";
    CancelBtn.hint = "Click to exit without uploading";
    SetTransferMode(false, 100);
    localisation.Attach(TextWindow::UpLoadForm, *this);
}

void UpLoadForm::OpenUploadDialog() {
    state.lastParameterName.clear();
    if (!StartAtCurrentLibrary(UploadFirstLibraryMaximum))
        return;
    const bool bench = m_context.model.Family() == ModelFamily::BenchFamily;
    IncludeCommonCB.checked = false;
    IncludeCommonCB.visible = bench;
    m_dialogs.ShowUploadDialog();
}

void UpLoadForm::LoadDialogFolders() {
    initialFolder = m_settings.Read(keys::UpLoadFile);
}

void UpLoadForm::FileBtnClick() {
    const auto chosen = m_dialogs.ChooseFileToOpen(
        {openDialogTitle, m_context.texts.Text(OwnMsg::LibraryFilesFilterToOpen), StartFolder(),
         "lvf"});
    if (!chosen)
        return;
    FileChosen(*chosen);
    // The file and its model first: a folder setting that cannot be written must not leave the
    // previous file's model in place.
    FileName.caption = *chosen;
    state.fileModelType = ProfileFile(*chosen).ReadInteger("SystemSettings", "ModelNo", -1);
    // With the conversion entry selected every file is read as one of its own.
    if (m_context.model.Quirks().convertsEveryFile)
        state.fileModelType = m_context.model.ModelType();
    ModelNumber.caption = std::string(LabelOf(state.fileModelType));
    m_settings.Write(keys::UpLoadFile, *chosen);
}

bool UpLoadForm::OKBtnClick() {
    return RunFromOk([this] {
        RunUpload(m_context, *this, state,
                  {LibrarySpinEdit.value, ToLibCB.checked, ToLibrarySpinEdit.value,
                   FileName.caption, IncludeCommonCB.checked});
    });
}

void UpLoadForm::FormClose() {
    ModelNumber.caption = "???";
    FileName.caption = "*.lvf";
}

void UpLoadForm::SetTransferMode(bool on, int progressRange) {
    SwitchMode(on, progressRange,
               {&ModelLabel, &ModelNumber, &LibraryLabel, &LibrarySpinEdit, &ToLibCB,
                &IncludeCommonCB, &FileLabel, &FileName, &OKBtn, &CancelBtn, &FileBtn},
               UploadIdleHeight, UploadTransferHeight);
}

void UpLoadForm::TextsApplied() {
    // The catalogue gives this hint in English only.
    IncludeCommonCB.hint = m_context.texts.Text(OwnMsg::UploadIncludeCommonHint);
    TransferForm::TextsApplied();
}

std::string* UpLoadForm::TextSlot(std::string_view target, TextProperty property) {
    if (target == "UpDialog")
        return property == TextProperty::DialogTitle ? &openDialogTitle : nullptr;
    if (target == "ModelLabel")
        return CaptionOrHint(ModelLabel, property);
    // The model number shows the chosen file's model: only its hint follows the language.
    if (target == "ModelNumber")
        return property == TextProperty::Hint ? &ModelNumber.hint : nullptr;
    if (target == "IncludeCommonCB")
        return CaptionOrHint(IncludeCommonCB, property);
    return TransferForm::TextSlot(target, property);
}

} // namespace setfolio
