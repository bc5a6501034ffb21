#pragma once

#include "forms/TransferForm.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"

namespace setfolio {

class Dialogs;
class Settings;

inline constexpr int UploadIdleHeight = 225;
inline constexpr int UploadTransferHeight = 327;
inline constexpr int UploadFirstLibraryMaximum = 255;

// The upload dialog ("Upload From File").
class UpLoadForm : public TransferForm {
public:
    UpLoadForm(const TransferContext& context, const Settings& settings, Dialogs& dialogs,
               EventLoop& loop, Localisation& localisation);

    Label ModelLabel;
    Label ModelNumber; // the list text of the chosen file's model
    Toggle IncludeCommonCB;
    std::string openDialogTitle = "Select File To Load";
    UploadState state;

    void OpenUploadDialog();
    void LoadDialogFolders();
    void FileBtnClick() override;
    // Runs the upload; returns whether the dialog closes.
    bool OKBtnClick() override;
    void FormClose() override;

    void SetTransferMode(bool on, int progressRange) override;
    // Puts the texts the catalogue gives in English only into the controls.
    void TextsApplied() override;

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

private:
    const Settings& m_settings;
    Dialogs& m_dialogs;
};

} // namespace setfolio
