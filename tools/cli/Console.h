#pragma once

#include "platform/Prompts.h"
#include "transfer/TransferView.h"

#include <string>

namespace setfolio {
class EventLoop;
}

namespace setfolio::cli {

// Boxes become lines on standard error; there is nobody to beep at.
class ConsolePrompts : public Prompts {
public:
    void ErrorBox(const std::string& text) override;
    void WarningBeep() override {}
    void DefaultBeep() override {}
    // Only --include-cal gets this far; the question was answered on the command line.
    bool WarningYesNo(const std::string&) override { return true; }
};

// Stands in for the transfer dialogs: progress goes to standard error when that is a terminal.
class ConsoleTransferView : public TransferView {
public:
    explicit ConsoleTransferView(EventLoop& loop);
    ~ConsoleTransferView() override;
    ConsoleTransferView(const ConsoleTransferView&) = delete;
    ConsoleTransferView& operator=(const ConsoleTransferView&) = delete;

    void SetTransferMode(bool on, int range) override;
    void SetEnabled(bool) override {}
    void Pause(int ms) override;
    // A dialog stays open only when the user has something to correct: the transfer was refused
    // before it could do what was asked, which a command line has to report as a failure.
    void KeepOpen() override { m_refused = true; }
    int Position() const override { return m_position; }
    void SetPosition(int position) override;
    void SetMaximum(int maximum) override { m_maximum = maximum; }

    bool Refused() const { return m_refused; }

private:
    EventLoop& m_loop;
    bool m_tty;
    bool m_shown = false;
    bool m_refused = false;
    int m_position = 0;
    int m_maximum = 0;
};

} // namespace setfolio::cli
