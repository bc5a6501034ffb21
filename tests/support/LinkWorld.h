#pragma once

#include "FakeEventLoop.h"
#include "FakePrompts.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "TempFolder.h"
#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "link/Transport.h"

#include <string>
#include <vector>

namespace setfolio::testing {

// The processor link on the fake platform: a serial port on COM1 at 9600 baud unless a test
// changes the settings, and the model of the test's choice.
struct LinkWorld {
    TempFolder folder;
    fake::FakeEventLoop loop;
    fake::FakeSerialPort port{loop};
    fake::FakeTcpClient tcp{loop};
    fake::FakePrompts prompts;
    Settings settings{folder.Path()};
    CurrentModel model{settings};
    SerialSettings serial{1, 9600, Parity::None, 8, 2};
    std::string hostEntry;
    Transport transport{port, tcp, loop, prompts, 2323};
    Exchange exchange{loop, transport, model, prompts};

    explicit LinkWorld(std::int32_t modelType = 0) {
        UseModel(modelType);
        transport.SetSerialSettingsSource([this] { return serial; });
        transport.SetHostEntrySource([this] { return hostEntry; });
    }

    void UseModel(std::int32_t modelType) {
        settings.Write(keys::ModelNo, modelType);
        model.LoadCurrentModel();
    }

    // The peer answers every command with the reply the script gives for it, after `delayMs`.
    template <typename Script> void AnswerSerial(Script script, std::int64_t delayMs = 5) {
        port.SetPeer([this, script, delayMs](const std::string& command) {
            port.Receive(script(command), delayMs);
        });
    }
    template <typename Script> void AnswerTcp(Script script, std::int64_t delayMs = 5) {
        tcp.SetPeer([this, script, delayMs](const std::string& command) {
            tcp.Receive(script(command), delayMs);
        });
    }

    void UseEthernet(const std::string& entry = "127.0.0.1") {
        hostEntry = entry;
        transport.SetConnectionType(ConnectionType::Ethernet);
        transport.OpenConnection();
    }
};

} // namespace setfolio::testing
