#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <string>

class QWidget;

namespace setfolio {

class MessageTexts;

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
    QWidget* mainWindow = nullptr;
    // Named in the About box: where the settings are kept, and whether that is beside the
    // program.
    std::string settingsFolder;
    bool portable = false;
    // The About box's texts, in the language applied last (English without them).
    const MessageTexts* texts = nullptr;

    void ShowLanguageDialog() override { Call(showLanguage); }
    void ShowCommunicationsDialog() override { Call(showCommunications); }
    void ShowIpListDialog() override { Call(showIpList); }
    void ShowChangeLibraryDialog() override { Call(showChangeLibrary); }
    void ShowDownloadDialog() override { Call(showDownload); }
    std::optional<std::string> ChooseFileToSave(const FileChoice& choice) override;
    void ShowUploadDialog() override { Call(showUpload); }
    void ShowLibraryViewer() override { Call(showLibraryViewer); }
    std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) override;
    void ShowAboutBox() override;
    void CloseMainWindow() override;

private:
    static void Call(const std::function<void()>& show) {
        if (show)
            show();
    }
};

} // namespace setfolio
