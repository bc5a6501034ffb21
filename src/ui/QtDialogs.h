#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <string>

class QString;
class QWidget;

namespace setfolio {

// The compiler's build date ("Dec  9 2026") as language `language` ("en", "de", "fr") writes a
// date in full, without the weekday ("December 9, 2026", "9. Dezember 2026"); a date it cannot
// read as it came.
QString BuildDateText(const char* compilerDate, const std::string& language);

// Shows the Qt windows modally; each is bound once the windows exist.
class QtDialogs : public Dialogs {
public:
    // Each shows its window with the model's current state and returns when it is closed.
    std::function<void()> showLanguage;
    std::function<void()> showCommunications;
    std::function<void()> showIpList;
    std::function<void()> showChangeLibrary;
    std::function<void()> showDownload;
    std::function<void()> showUpload;
    std::function<void()> showLibraryViewer;
    std::function<void()> showPlant;
    QWidget* mainWindow = nullptr;
    // Named in the About box: where the settings are kept, and whether that is beside the
    // program.
    std::string settingsFolder;
    bool portable = false;

    void ShowLanguageDialog() override { Call(showLanguage); }
    void ShowCommunicationsDialog() override { Call(showCommunications); }
    void ShowIpListDialog() override { Call(showIpList); }
    void ShowChangeLibraryDialog() override { Call(showChangeLibrary); }
    void ShowDownloadDialog() override { Call(showDownload); }
    std::optional<std::string> ChooseFileToSave(const FileChoice& choice) override;
    void ShowUploadDialog() override { Call(showUpload); }
    void ShowLibraryViewer() override { Call(showLibraryViewer); }
    void ShowPlantWindow() override { Call(showPlant); }
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialPath) override;
    std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) override;
    void ShowAboutBox(const AboutTexts& texts) override;
    void CloseMainWindow() override;

private:
    static void Call(const std::function<void()>& show) {
        if (show)
            show();
    }
};

} // namespace setfolio
