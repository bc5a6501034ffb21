#pragma once

#include "AppWorld.h"
#include "SimProcessor.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace setfolio::testing {

// The whole program on the fake platform, its COM1 wired to a simulated processor of the same
// model. Single replies can be replaced to play a processor that says something unusual.
struct SimWorld : AppWorld {
    std::unique_ptr<sim::SimProcessor> processor;
    std::map<std::string, std::string> replaced; // command -> reply

    explicit SimWorld(std::int32_t modelType = 0, int activeLibrary = 5) {
        app.settings.Write(keys::Language, 0);
        app.settings.Write(keys::ComPort, 0);
        app.settings.Write(keys::ModelNo, modelType);
        processor = sim::MakeProcessor(modelType);
        processor->activeLibrary = activeLibrary;
        port.SetPeer([this](const std::string& sent) {
            if (const auto it = replaced.find(sent); it != replaced.end()) {
                port.Receive(it->second, 3);
                return;
            }
            for (const auto& reply : processor->Receive(sent))
                port.Receive(reply.bytes, reply.delayMs + 3);
        });
        Start();
    }
    void SetFaults(const std::string& rules) { processor->SetFaults(sim::ParseFaultRules(rules)); }

    // Opens the upload dialog, chooses the file, fills it in and presses OK.
    bool Upload(const std::string& file, int first, std::optional<int> last = {}) {
        bool closed = false;
        dialogs.onUpload = [&] {
            auto& form = app.upLoadForm;
            dialogs.fileToOpen = file;
            form.FileBtnClick();
            form.LibrarySpinEdit.value = first;
            form.LibrarySpinEditExit();
            if (last) {
                form.ToLibCB.checked = true;
                form.ToLibCBClick();
                form.ToLibrarySpinEdit.value = *last;
            }
            closed = form.OKBtnClick();
            form.FormClose();
        };
        app.mainForm.UpBtnClick();
        return closed;
    }
    // Opens the download dialog, fills it in and presses OK.
    bool Download(const std::string& file, int first, std::optional<int> last = {}) {
        bool closed = false;
        dialogs.onDownload = [&] {
            auto& form = app.downLoadForm;
            form.FileName.caption = file;
            form.LibrarySpinEdit.value = first;
            form.LibrarySpinEditExit();
            if (last) {
                form.ToLibCB.checked = true;
                form.ToLibCBClick();
                form.ToLibrarySpinEdit.value = *last;
            }
            closed = form.OKBtnClick();
            form.FormClose();
        };
        app.mainForm.DownBtnClick();
        return closed;
    }
    std::string Path(const std::string& name) const { return folder.File(name); }
    std::string CodeOf(const std::string& name) {
        for (const auto& row : app.tables.MnemonicList.Rows()) {
            if (row.name == name)
                return row.code;
        }
        return "??";
    }
    // Commands sent since the last call.
    std::string TakeSent() { return std::exchange(port.sent, std::string()); }
};

} // namespace setfolio::testing
