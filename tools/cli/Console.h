#pragma once

#include "platform/Prompts.h"
#include "transfer/TransferView.h"

#include <iosfwd>
#include <string>

namespace setfolio {
class EventLoop;
}

namespace setfolio::cli {

// Boxes become lines on the error stream; there is nobody to beep at.
class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(std::ostream& err) : m_err(err) {}
    void ErrorBox(const std::string& text) override;
    void WarningBeep() override {}
    void DefaultBeep() override {}
    // Only --include-cal gets this far; the question was answered on the command line.
    bool WarningYesNo(const std::string&) override { return true; }

private:
    std::ostream& m_err;
};

// Stands in for the transfer dialogs: progress goes to the error stream when that is a terminal.
class ConsoleTransferView : public TransferView {
public:
    ConsoleTransferView(EventLoop& loop, std::ostream& err, bool errIsTerminal);
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
    std::ostream& m_err;
    bool m_tty;
    bool m_shown = false;
    bool m_refused = false;
    int m_position = 0;
    int m_maximum = 0;
};

} // namespace setfolio::cli
