#pragma once

#include "platform/Prompts.h"
#include "transfer/TransferView.h"

#include <cstddef>
#include <iosfwd>
#include <string>

namespace setfolio {
class EventLoop;
class Exchange;
} // namespace setfolio

namespace setfolio::cli {

// The line of the error stream that shows how far a command has come, when that stream is a
// terminal: drawn over itself, and cleared before any other line is printed on either stream, so
// that no line of the command's ever shares it.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Draw(const std::string& text);
    void Clear();

private:
    std::ostream& m_err;
    bool m_terminal;
    std::size_t m_width = 0; // of what is drawn now; 0 when nothing is
};

// Boxes become lines on the error stream; there is nobody to beep at.
class ConsolePrompts : public Prompts {
public:
    ConsolePrompts(std::ostream& err, ProgressLine& progress) : m_err(err), m_progress(progress) {}
    void ErrorBox(const std::string& text) override;
    void WarningBeep() override {}
    void DefaultBeep() override {}
    // Only --include-cal gets this far; the question was answered on the command line.
    bool WarningYesNo(const std::string&) override { return true; }

    // Whether a box has been shown.
    bool Reported() const { return m_reported; }

private:
    std::ostream& m_err;
    ProgressLine& m_progress;
    bool m_reported = false;
};

// What the progress line says of the library at hand: "Library 5: 120 of 401", or "Reading back
// library 5: ..." with `what` "Reading back library"; in a block of first..last also its place.
struct ProgressCaption {
    std::string what = "Library";
    int first = 0;
    int last = 0;
};

// Stands in for the transfer dialogs: the progress line shows the library the exchange works on
// and how far it has come.
class ConsoleTransferView : public TransferView {
public:
    ConsoleTransferView(EventLoop& loop, const Exchange& exchange, ProgressLine& progress,
                        ProgressCaption caption);
    ~ConsoleTransferView() override = default;
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
    const Exchange& m_exchange;
    ProgressLine& m_progress;
    ProgressCaption m_caption;
    bool m_refused = false;
    int m_position = 0;
    int m_maximum = 0;
};

} // namespace setfolio::cli
