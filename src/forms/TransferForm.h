#pragma once

#include "forms/FormControls.h"
#include "forms/FormModel.h"
#include "forms/RecentFolder.h"
#include "transfer/TransferContext.h"
#include "transfer/TransferView.h"

#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>

namespace setfolio {

class EventLoop;
class Timer;

// What the download and upload dialogs have in common: the library and block controls, the file
// panel, OK and Cancel, and the progress area that transfer mode shows.
class TransferForm : public FormModel, public TransferView {
public:
    TransferForm(const TransferContext& context, EventLoop& loop, int pauseTickMs);
    ~TransferForm() override;

    Window form;
    int outerHeight = 0;
    bool formEnabled = true;
    Label LibraryLabel;
    SpinValue LibrarySpinEdit;
    Toggle ToLibCB;
    SpinValue ToLibrarySpinEdit;
    Label FileLabel;
    Label FileName; // the chosen path, in its panel
    Button FileBtn;
    Button OKBtn;
    Button CancelBtn;
    Label ProgressLabel;
    SpinValue ProgressBar; // value is the position
    Label LibCounter;
    Button AbortBtn;
    int LibraryAtOpen = 0;
    std::string initialFolder = "C:\\Setfolio";
    // Shared with the other file selections of the program; none: the initial folder only.
    RecentFolder* recentFolder = nullptr;
    // Cleared by KeepOpen while OK runs: the window then stays open.
    bool closeAfterTransfer = true;

    virtual void FileBtnClick() = 0;
    // Runs the transfer; returns whether the dialog closes.
    virtual bool OKBtnClick() = 0;
    virtual void FormClose() = 0;
    // Ends the dialog: a running transfer is aborted and the dialog closes when it returns;
    // without one it closes now. Returns whether it closes now.
    bool AbortBtnClick();
    void ToLibCBClick();
    void LibrarySpinEditExit();
    bool Running() const { return m_running; }

    void SetEnabled(bool enabled) override;
    void Pause(int ms) override;
    void KeepOpen() override { closeAfterTransfer = false; }
    int Position() const override { return ProgressBar.value; }
    void SetPosition(int position) override;
    void SetMaximum(int maximum) override;

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

    // Switches the shared controls; `idle` are the dialog's library and file controls.
    void SwitchMode(bool on, int progressRange, std::initializer_list<Control*> idle,
                    int idleHeight, int transferHeight);
    // Asks the processor for its current library and sets the library boxes to it, the first one
    // to no more than `firstMaximum`. False, with the failure line shown, when that failed.
    bool StartAtCurrentLibrary(int firstMaximum = std::numeric_limits<int>::max());
    // Runs a transfer from OK; a second OK while one runs does nothing. Returns whether the
    // dialog closes.
    bool RunFromOk(const std::function<void()>& transfer);
    // Beside the bar during a block: "Library 4 of 6" and the time left once it can be told.
    void ShowBlockProgress(bool on);
    // Where the file selection starts, and what it chose.
    std::string StartFolder() const;
    void FileChosen(const std::string& path);

    TransferContext m_context;

private:
    EventLoop& m_loop;
    std::unique_ptr<Timer> m_pauseTimer;
    int m_pauseTickMs;
    bool m_running = false;
    // When the block's first library began, in the loop's clock.
    std::optional<std::int64_t> m_blockStartMs;
};

} // namespace setfolio
