#pragma once

#include "FakeDialogs.h"
#include "FakeEventLoop.h"
#include "FakePrompts.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "TempFolder.h"
#include "app/Application.h"

#include <string>

namespace setfolio::testing {

// The whole program on the fake platform, in a temporary program folder.
struct AppWorld {
    TempFolder folder;
    fake::FakeEventLoop loop;
    fake::FakeSerialPort port{loop};
    fake::FakeTcpClient tcp{loop};
    fake::FakePrompts prompts;
    fake::FakeDialogs dialogs;
    Application app{Platform{loop, port, tcp, prompts, dialogs, folder.Path(), 2323}};

    // Creates the main window and runs the start-up sequence.
    void Start() {
        app.mainForm.FormCreate();
        loop.AdvanceBy(StartupDelayMs);
    }
    // The peer answers every command with the script's reply, 5 ms later.
    template <typename Script> void Answer(Script script) {
        port.SetPeer([this, script](const std::string& command) {
            const std::string reply = script(command);
            if (!reply.empty())
                port.Receive(reply, 5);
        });
    }
    // A coded processor whose active library is `library` (changed by a select).
    void CodedProcessor(int& library) {
        Answer([&library](const std::string& command) -> std::string {
            if (command == "701\r")
                return "701 " + std::to_string(library) + "\r";
            if (command.starts_with("700 ")) {
                library = std::stoi(command.substr(4));
                return "700 Y  \r";
            }
            return "";
        });
    }
    const std::vector<std::string>& Lines() const { return app.messageLog.Lines(); }
    // The last `count` lines of the message window.
    std::vector<std::string> LastLines(std::size_t count) const {
        const auto& lines = Lines();
        return {lines.end() - static_cast<std::ptrdiff_t>(std::min(count, lines.size())),
                lines.end()};
    }
    // The last transfer's result line: the lines that follow it (the library the processor now
    // has, a library left partly written) set aside.
    std::string ResultLine() const {
        const auto& lines = Lines();
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            if (!line->starts_with("Current library is ") && !line->ends_with("partly written."))
                return *line;
        }
        return {};
    }
    // Settings that choose `language` and Ethernet to the one address of the list, where the
    // processor refuses the connection.
    void StoreRefusedEthernet(std::int32_t language) {
        app.settings.Write(keys::Language, language);
        app.settings.Write(keys::ConnectionType, 1);
        app.settings.Write(keys::IpAddressIndex, 0);
        app.ipListFile.Write({"127.0.0.1 - Line 1"});
        tcp.SetAttempt(fake::FakeTcpClient::Attempt::Refused, 5);
    }
};

} // namespace setfolio::testing
