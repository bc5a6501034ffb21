#pragma once

#include "forms/FormControls.h"
#include "i18n/Localisation.h"
#include "transfer/Download.h"
#include "transfer/TransferView.h"

#include <functional>
#include <memory>

namespace setfolio {

class Dialogs;
class EventLoop;
class Settings;
class Timer;

inline constexpr int DownloadIdleHeight = 161;
inline constexpr int DownloadTransferHeight = 263;

// The download dialog ("Download To File").
class DownLoadForm : public TextTargets, public TransferView {
public:
    DownLoadForm(const TransferContext& context, const Settings& settings, Dialogs& dialogs,
                 EventLoop& loop, Localisation& localisation);
    ~DownLoadForm() override;

    Window form{"Download To File", 399, 236};
    int outerHeight = DownloadIdleHeight;
    bool formEnabled = true;
    Label LibraryLabel;
    SpinValue LibrarySpinEdit;
    Toggle ToLibCB;
    SpinValue ToLibrarySpinEdit;
    Label FileLabel;
    Label FileName; // the chosen path, in its sunken panel
    Button FileBtn;
    Button OKBtn;
    Button CancelBtn;
    Label ProgressLabel;
    SpinValue ProgressBar; // value is the position
    Label LibCounter;
    Button AbortBtn;
    std::string saveDialogTitle = "Save Library As";
    std::string initialFolder = "C:\\Setfolio";
    int LibraryAtOpen = 0;
    // Set while OK runs; the window closes afterwards unless this is cleared by KeepOpen.
    bool closeAfterTransfer = true;
    // Runs whenever the form changed during a transfer, so the window can show it at once.
    std::function<void()> onChanged;

    void OpenDownloadDialog();
    void LoadDialogFolders();
    void FileBtnClick();
    // Runs the download; returns whether the dialog closes.
    bool OKBtnClick();
    void AbortBtnClick();
    void ToLibCBClick();
    void LibrarySpinEditExit();
    void FormClose();
    bool Running() const { return m_running; }

    // What the transfer needs of the dialog.
    void SetTransferMode(bool on, int progressRange) override;
    void SetEnabled(bool enabled) override;
    void Pause(int ms) override;
    void KeepOpen() override { closeAfterTransfer = false; }
    int Position() const override { return ProgressBar.value; }
    void SetPosition(int position) override;
    void SetMaximum(int maximum) override;

    void SetText(std::string_view target, TextProperty property, const std::string& text) override;

private:
    void Changed() {
        if (onChanged)
            onChanged();
    }

    TransferContext m_context;
    const Settings& m_settings;
    Dialogs& m_dialogs;
    EventLoop& m_loop;
    std::unique_ptr<Timer> m_wait;
    bool m_running = false;
};

} // namespace setfolio
