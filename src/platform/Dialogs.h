#pragma once

namespace setfolio {

// Shows the program's modal windows. Each call returns when the window has been closed; the
// window's own logic has run its OK or Cancel handler by then.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void ShowLanguageDialog() = 0;
    virtual void ShowCommunicationsDialog() = 0;
    virtual void ShowChangeLibraryDialog() = 0;
    virtual void ShowAboutBox() = 0;
    // Closes the main window, which ends the program.
    virtual void CloseMainWindow() = 0;
};

} // namespace setfolio
