#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setfolio::fake {

// Records which windows were shown; a test may act in a window while it is "open".
class FakeDialogs : public Dialogs {
public:
    void ShowLanguageDialog() override { Show("language", onLanguage); }
    void ShowCommunicationsDialog() override { Show("communications", onCommunications); }
    void ShowIpListDialog() override { Show("ip list", onIpList); }
    void ShowChangeLibraryDialog() override { Show("change library", onChangeLibrary); }
    void ShowDownloadDialog() override { Show("download", onDownload); }
    std::optional<std::string> ChooseFileToSave(const FileChoice& choice) override {
        Show("save file: " + Describe(choice), {});
        return fileToSave;
    }
    void ShowUploadDialog() override { Show("upload", onUpload); }
    void ShowLibraryViewer() override { Show("library viewer", {}); }
    void ShowPlantWindow() override { Show("plant", {}); }
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& initialPath) override {
        Show("choose folder: " + title + " | " + initialPath, {});
        return folderToChoose;
    }
    std::optional<std::string> ChooseFileToOpen(const FileChoice& choice) override {
        Show("open file: " + Describe(choice), {});
        return fileToOpen;
    }
    void ShowAboutBox(const AboutTexts& texts) override {
        about = texts;
        Show("about: " + texts.title, {});
    }
    void CloseMainWindow() override { Show("close", onClose); }

    AboutTexts about; // the about box shown last
    std::function<void()> onLanguage;
    std::function<void()> onCommunications;
    std::function<void()> onIpList;
    std::function<void()> onChangeLibrary;
    std::function<void()> onClose;
    std::function<void()> onDownload;
    std::optional<std::string> fileToSave;
    std::function<void()> onUpload;
    std::optional<std::string> fileToOpen;
    std::optional<std::string> folderToChoose;
    std::vector<std::string> shown;

private:
    static std::string Describe(const FileChoice& choice) {
        return choice.title + " | " + choice.filter + " | " + choice.initialPath + " | ." +
               choice.defaultSuffix;
    }
    void Show(const std::string& name, const std::function<void()>& action) {
        shown.push_back(name);
        if (action)
            action();
    }
};

} // namespace setfolio::fake
