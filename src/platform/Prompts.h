#pragma once

#include <string>

namespace setfolio {

// Message boxes and sounds. Behind an interface so that no test ever waits on a modal box.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal error box with one OK button.
    virtual void ErrorBox(const std::string& text) = 0;
    // The system's warning beep, sounded before every failure report and error box.
    virtual void WarningBeep() = 0;
    // The plain default beep, for refusals.
    virtual void DefaultBeep() = 0;
    // A modal warning box with the buttons Yes and No; true for Yes.
    virtual bool WarningYesNo(const std::string& text) = 0;
};

} // namespace setfolio
