#pragma once

// A worker's own fake platform for the plant runner's tests, its serial line wired to a simulated
// processor in virtual time.
#include "FakeEventLoop.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "SimProcessor.h"
#include "transfer/ProcessorSession.h"

#include <functional>
#include <memory>
#include <string>

namespace setfolio::testing {

// How a simulated processor behaves, and what it tells of itself.
struct SimSetup {
    std::string faults; // its fault rules
    int active = 0;     // its active library at the start
    int* activeAtEnd = nullptr;
    std::function<void(const std::string& command)> heard = {}; // each command it receives
    std::int32_t modelType = 0;
    std::function<void(sim::SimProcessor&)> setUp = {}; // last, to put it in any state
    // A processor that outlives the platform (a test's, over several runs), instead of one of
    // its own; `modelType`, `faults`, `active` and `setUp` are then left to the test.
    sim::SimProcessor* processor = nullptr;
};

// A worker's own fake platform, its serial line wired to a simulated C-12.
class SimulatedPlatform : public ThreadPlatform {
public:
    explicit SimulatedPlatform(std::function<void(const std::string&)> opened, SimSetup setup = {})
        : m_own(setup.processor ? nullptr : sim::MakeProcessor(setup.modelType)),
          m_processor(setup.processor ? setup.processor : m_own.get()), m_opened(std::move(opened)),
          m_setup(std::move(setup)) {
        if (m_own) {
            m_processor->SetFaults(sim::ParseFaultRules(m_setup.faults));
            m_processor->activeLibrary = m_setup.active;
            if (m_setup.setUp)
                m_setup.setUp(*m_processor);
        } else {
            m_processor->Reconnect();
        }
        port.SetPeer([this](const std::string& sent) {
            if (m_setup.heard)
                m_setup.heard(sent);
            for (const auto& reply : m_processor->Receive(sent))
                port.Receive(reply.bytes, reply.delayMs + 3);
        });
    }
    ~SimulatedPlatform() override {
        m_opened(port.devicePath);
        if (m_setup.activeAtEnd)
            *m_setup.activeAtEnd = m_processor->activeLibrary;
    }
    LinkPlatform Link() override { return {loop, port, tcp}; }

    fake::FakeEventLoop loop;
    fake::FakeSerialPort port{loop};
    fake::FakeTcpClient tcp{loop};

private:
    std::unique_ptr<sim::SimProcessor> m_own;
    sim::SimProcessor* m_processor;
    std::function<void(const std::string&)> m_opened;
    SimSetup m_setup;
};

} // namespace setfolio::testing
