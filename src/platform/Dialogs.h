#pragma once

#include <optional>
#include <string>

namespace setfolio {

// The about box's texts in the language in use. "{}" marks where the version, the build date and
// the settings folder go.
struct AboutTexts {
    std::string title;
    std::string summary;
    std::string version;
    std::string built;
    std::string keptBesideProgram;
    std::string keptForUser;
    // The language's code ("en", "de", "fr"): the build date is written as it writes dates.
    std::string language = "en";
};

// A file selection: its title, its filter ("Library Files (*.lvf)"), where it starts, and the
// extension ("lvf") a name typed without one gets while the window is still open, so that the
// question whether to replace an existing file is asked of the name that will be used.
struct FileChoice {
    std::string title;
    std::string filter;
    std::string initialPath;
    std::string defaultSuffix;
};

// Shows the program's modal windows. Each call returns when the window has been closed; the
// window's own logic has run its OK or Cancel handler by then.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void ShowLanguageDialog() = 0;
    virtual void ShowCommunicationsDialog() = 0;
    virtual void ShowIpListDialog() = 0;
    virtual void ShowChangeLibraryDialog() = 0;
    virtual void ShowDownloadDialog() = 0;
    virtual void ShowUploadDialog() = 0;
    // The library viewer, which stays open beside the main window.
    virtual void ShowLibraryViewer() = 0;
    // The plant window, which stays open beside the main window.
    virtual void ShowPlantWindow() = 0;
    // A folder the user chooses, starting at `initialPath`; nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& initialPath) = 0;
    virtual std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) = 0;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFileToSave(const FileChoice& choice) = 0;
    // The about box, in the language applied last: the window's title, then lines of text; the
    // version, the build date and the settings folder are the box's own to fill in.
    virtual void ShowAboutBox(const AboutTexts& texts) = 0;
    // Closes the main window, which ends the program.
    virtual void CloseMainWindow() = 0;
};

} // namespace setfolio
