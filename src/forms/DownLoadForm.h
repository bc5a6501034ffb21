#pragma once

#include "forms/TransferForm.h"
#include "transfer/Download.h"

namespace setfolio {

class Dialogs;
class Settings;

inline constexpr int DownloadIdleHeight = 161;
inline constexpr int DownloadTransferHeight = 263;

// The download dialog ("Download To File").
class DownLoadForm : public TransferForm {
public:
    DownLoadForm(const TransferContext& context, const Settings& settings, Dialogs& dialogs,
                 EventLoop& loop, Localisation& localisation);

    std::string saveDialogTitle = "Save Library As";

    void OpenDownloadDialog();
    void LoadDialogFolders();
    void FileBtnClick() override;
    // Runs the download; returns whether the dialog closes.
    bool OKBtnClick() override;
    void FormClose() override;

    void SetTransferMode(bool on, int progressRange) override;

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

private:
    // A block that would replace existing files asks once, naming them; false for No.
    bool ConfirmReplacingBlockFiles();

    const Settings& m_settings;
    Dialogs& m_dialogs;
};

} // namespace setfolio
