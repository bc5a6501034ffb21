#include "transfer/ProcessorSession.h"

#include "FakeEventLoop.h"
#include "FakePrompts.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "SimProcessor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace setfolio;

namespace {

// A simulated processor of `modelType` answering on both the serial line and TCP.
struct SimulatedLink {
    explicit SimulatedLink(std::int32_t modelType) : processor(sim::MakeProcessor(modelType)) {
        processor->activeLibrary = 42;
        port.SetPeer([this](const std::string& sent) {
            for (const auto& reply : processor->Receive(sent))
                port.Receive(reply.bytes, reply.delayMs + 3);
        });
        tcp.SetPeer([this](const std::string& sent) {
            for (const auto& reply : processor->Receive(sent, true))
                tcp.Receive(reply.bytes, reply.delayMs + 3);
        });
    }
    LinkPlatform Platform() { return {loop, port, tcp}; }

    fake::FakeEventLoop loop;
    fake::FakeSerialPort port{loop};
    fake::FakeTcpClient tcp{loop};
    fake::FakePrompts prompts;
    std::unique_ptr<sim::SimProcessor> processor;
};

TEST(ProcessorSession, ASerialDeviceIsOpenedByItsPathWithItsLineSettings) {
    SimulatedLink link(0);
    ProcessorSession session(link.Platform(), link.prompts,
                             SerialDeviceLink("/dev/ttyUSB3", {7, 19200, Parity::Even, 7, 2}), 0);
    const Reply reply = session.Open();
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 42);
    EXPECT_EQ(link.port.devicePath, "/dev/ttyUSB3");
    EXPECT_EQ(link.port.baudRate, 19200);
    EXPECT_EQ(link.port.parity, Parity::Even);
    EXPECT_EQ(link.port.dataBits, 7);
    EXPECT_EQ(link.port.stopBits, 2);
    EXPECT_EQ(link.tcp.connects, 0);
}

TEST(ProcessorSession, ATcpLinkGoesToTheHostsOwnPortElseToTheOneGiven) {
    const struct {
        std::string host;
        std::string expectedHost;
        std::uint16_t expectedPort;
    } cases[] = {
        {"127.0.0.1", "127.0.0.1", 2323},
        {"127.0.0.1:4001", "127.0.0.1", 4001},
        {"[::1]:4002", "::1", 4002},
    };
    for (const auto& entry : cases) {
        SimulatedLink link(0);
        ProcessorSession session(link.Platform(), link.prompts, TcpLink(entry.host, 2323), 0);
        EXPECT_EQ(session.Open().status, ReplyStatus::Ok) << entry.host;
        EXPECT_EQ(link.tcp.host, entry.expectedHost);
        EXPECT_EQ(link.tcp.port, entry.expectedPort) << entry.host;
        EXPECT_TRUE(link.port.sent.empty()) << "the serial line stays unused";
    }
}

TEST(ProcessorSession, TheTablesUseTheSessionsSiteTextsAndModel) {
    SimulatedLink link(16);
    SiteVocabulary site;
    site.models["M-01"]["Units"].texts = {"mm", "in"};
    ProcessorSession session(link.Platform(), link.prompts, TcpLink("127.0.0.1", 23), 16, site);
    EXPECT_EQ(session.model.ModelType(), 16);
    ASSERT_EQ(session.tables.site, &session.siteTexts.Vocabulary());
    EXPECT_EQ(session.tables.site->models.at("M-01").at("Units").texts.size(), 2u);
}

} // namespace
