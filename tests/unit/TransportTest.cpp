#include "LinkWorld.h"
#include "link/LineBuffer.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace setfolio;
using setfolio::testing::LinkWorld;
using namespace std::string_literals;

namespace {

const std::string AssignPort =
    "\r\rPlease assign a different COM Port for communication with the Quorvane processor.";

TEST(SerialTransport, AppliesSettingsAndRegistersBothTriggers) {
    LinkWorld world;
    world.serial = {3, 19200, Parity::Even, 7, 1};
    world.transport.OpenConnection();
    EXPECT_TRUE(world.port.IsOpen());
    EXPECT_EQ(world.port.portNumber, 3);
    EXPECT_EQ(world.port.baudRate, 19200);
    EXPECT_EQ(world.port.parity, Parity::Even);
    EXPECT_EQ(world.port.dataBits, 7);
    EXPECT_EQ(world.port.stopBits, 1);
    EXPECT_NE(world.transport.CrTriggerHandle(), world.transport.CrLfTriggerHandle());
    EXPECT_TRUE(world.prompts.shown.empty());
}

TEST(SerialTransport, PortOffOpensNothing) {
    LinkWorld world;
    world.serial.port = 0;
    world.transport.OpenConnection();
    EXPECT_FALSE(world.port.IsOpen());
    EXPECT_EQ(world.transport.CrTriggerHandle(), 0);
    EXPECT_TRUE(world.transport.SerialPortOff());
}

TEST(SerialTransport, PortErrorsAreReportedWithTheirMessages) {
    const std::pair<PortErrorKind, std::string> cases[] = {
        {PortErrorKind::AlreadyOpen, "COM 3 is already open." + AssignPort},
        {PortErrorKind::DoesNotExist, "COM 3 does not exist." + AssignPort},
        {PortErrorKind::Other, "Unspecified error for COM 3."},
    };
    for (const auto& [kind, message] : cases) {
        LinkWorld world;
        world.serial.port = 3;
        bool dialogKeptOpen = false;
        const auto kept =
            world.transport.portErrorReported.Subscribe([&] { dialogKeptOpen = true; });
        world.port.FailNextOpen(kind);
        world.transport.OpenConnection();
        EXPECT_TRUE(world.transport.PortFailed());
        EXPECT_TRUE(dialogKeptOpen);
        EXPECT_EQ(world.prompts.shown,
                  (std::vector<std::string>{"beep:warning", "error:" + message}));

        // A later configuration that succeeds clears the failure.
        world.transport.OpenConnection();
        EXPECT_FALSE(world.transport.PortFailed());
    }
}

TEST(SerialTransport, ADeviceNamedByItsPathIsToldOfByThatPath) {
    const std::pair<PortError, std::string> cases[] = {
        {PortError(PortErrorKind::IsAFile, 1, "", "/home/u/notes.txt"),
         "/home/u/notes.txt is a file, not a serial device."},
        {PortError(PortErrorKind::IsAFolder, 1, "", "/home/u"),
         "/home/u is a folder, not a serial device."},
        {PortError(PortErrorKind::DoesNotExist, 1, "", "/dev/ttyUSB7"),
         "The serial device /dev/ttyUSB7 does not exist."},
        {PortError(PortErrorKind::Other, 1, "", "/dev/null", "Inappropriate ioctl for device"),
         "/dev/null cannot be opened as a serial device: Inappropriate ioctl for device."},
    };
    for (const auto& [error, message] : cases) {
        LinkWorld world;
        world.transport.ReportPortError(error);
        EXPECT_TRUE(world.transport.PortFailed());
        EXPECT_EQ(world.prompts.shown,
                  (std::vector<std::string>{"beep:warning", "error:" + message}));
    }
}

TEST(SerialTransport, AMissingDeviceOfAPortsLinkIsNamed) {
    LinkWorld world;
    world.transport.ReportPortError(
        PortError(PortErrorKind::DoesNotExist, 1, "COM1: gone", "", "", "/dev/ttyUSB0"));
    EXPECT_EQ(world.prompts.shown.back(),
              "error:COM 1 leads to /dev/ttyUSB0, which is not there.\r\rConnect the device, or "
              "assign a different COM Port for communication with the Quorvane processor.");
}

TEST(SerialTransport, NewSettingsCloseThePortAndOnlyTheNewHandlesCount) {
    LinkWorld world;
    world.transport.OpenConnection();
    const auto oldCr = world.transport.CrTriggerHandle();
    world.transport.CloseForNewSettings();
    EXPECT_FALSE(world.port.IsOpen());
    EXPECT_EQ(world.tcp.disconnects, 1);
    world.transport.OpenConnection();
    EXPECT_NE(world.transport.CrTriggerHandle(), oldCr);

    // A reply still ends on the (new) CR trigger, and only once.
    world.port.Receive("701 8\r", 5);
    const Reply reply = world.exchange.SendAndWait("701\r");
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 8);
}

TEST(SerialTransport, ExitClosesOnlyTheActiveTransport) {
    LinkWorld world;
    world.transport.OpenConnection();
    world.transport.CloseAtExit();
    EXPECT_FALSE(world.port.IsOpen());
    EXPECT_EQ(world.tcp.disconnects, 0);

    world.UseEthernet();
    world.transport.CloseAtExit();
    EXPECT_FALSE(world.tcp.IsConnected());
}

TEST(TcpTransport, ConnectsToTheAddressPartOfTheEntry) {
    const std::tuple<std::string, std::string, std::uint16_t> cases[] = {
        {"10.1.2.3 - Line 4", "10.1.2.3", 2323}, {"10.1.2.3", "10.1.2.3", 2323},
        {"10.1.2.3 - A - B", "10.1.2.3", 2323},  {"10.1.2.3:4001 - Line 3", "10.1.2.3", 4001},
        {"[fe80::1]:4002", "fe80::1", 4002},
    };
    for (const auto& [entry, host, port] : cases) {
        LinkWorld world;
        world.UseEthernet(entry);
        EXPECT_EQ(world.tcp.host, host) << entry;
        EXPECT_EQ(world.tcp.port, port) << entry;
        EXPECT_EQ(world.transport.TcpPort(), port) << entry;
        EXPECT_TRUE(world.tcp.IsConnected());
        EXPECT_FALSE(world.transport.ConnectAttempt().IsRunning());
        world.loop.AdvanceBy(5000);
        EXPECT_TRUE(world.prompts.shown.empty());
    }
}

TEST(TcpTransport, EmptyEntryAsksForAnAddressAndMakesNoAttempt) {
    LinkWorld world;
    world.UseEthernet("");
    EXPECT_EQ(world.tcp.connects, 0);
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{
                  "beep:warning", "error:Please assign an IP Address for Ethernet communication "
                                  "with the Quorvane processor."}));
}

TEST(TcpTransport, EntryWithABadPortIsRefusedAndMakesNoAttempt) {
    LinkWorld world;
    world.UseEthernet("10.1.2.3:70000 - Line 3");
    EXPECT_EQ(world.tcp.connects, 0);
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{
                  "beep:warning",
                  "error:\"10.1.2.3:70000\" is not a valid IP Address. Give the address, "
                  "followed by :port (1 to 65535) when the processor does not listen on port "
                  "2323."}));
}

TEST(TcpTransport, WatchdogAbandonsASilentHostAfter2000ms) {
    LinkWorld world;
    world.tcp.SetAttempt(fake::FakeTcpClient::Attempt::NeverAnswers);
    EXPECT_THROW(world.UseEthernet("192.0.2.7 - Line 1"), TcpError);
    EXPECT_EQ(world.loop.Now(), 2000);
    EXPECT_FALSE(world.tcp.IsConnected());
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{"beep:warning",
                                        "error:Unable to connect to 192.0.2.7 port 2323."}));
}

TEST(TcpTransport, RefusedAttemptPropagatesAndTheWatchdogStillReports) {
    LinkWorld world;
    world.tcp.SetAttempt(fake::FakeTcpClient::Attempt::Refused, 5);
    EXPECT_THROW(world.UseEthernet("127.0.0.1"), TcpError);
    EXPECT_TRUE(world.transport.ConnectAttempt().IsRunning());
    world.loop.AdvanceBy(2000);
    EXPECT_EQ(world.prompts.shown.back(), "error:Unable to connect to 127.0.0.1 port 2323.");
}

TEST(TcpTransport, FailedAttemptNamesThePortOfTheEntry) {
    LinkWorld world;
    world.tcp.SetAttempt(fake::FakeTcpClient::Attempt::Refused, 5);
    EXPECT_THROW(world.UseEthernet("127.0.0.1:4001 - Sim"), TcpError);
    world.loop.AdvanceBy(2000);
    EXPECT_EQ(world.prompts.shown.back(), "error:Unable to connect to 127.0.0.1 port 4001.");
}

// A processor that restarts closes the connection; the next exchange connects again.
TEST(TcpTransport, LostConnectionIsMadeAgainByTheNextExchange) {
    LinkWorld world;
    world.UseEthernet("127.0.0.1 - Line 2");
    world.AnswerTcp([](const std::string&) { return "701 7\r\n"s; });
    world.tcp.CloseFromPeer();
    world.loop.AdvanceBy(10);
    ASSERT_FALSE(world.tcp.IsConnected());

    const Reply reply = world.exchange.QueryLibrary();
    EXPECT_EQ(world.tcp.connects, 2);
    EXPECT_EQ(world.tcp.sent, "701\r");
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 7);
    EXPECT_FALSE(world.transport.ConnectAttempt().IsRunning());
    world.loop.AdvanceBy(5000);
    EXPECT_TRUE(world.prompts.shown.empty());
}

TEST(TcpTransport, ProcessorStillAwayFailsTheExchangeAfterOneAttempt) {
    struct Case {
        fake::FakeTcpClient::Attempt attempt;
        std::int64_t failsAtMs; // after the exchange began
    };
    for (const Case c : {Case{fake::FakeTcpClient::Attempt::NeverAnswers, 2000},
                         Case{fake::FakeTcpClient::Attempt::Refused, 5}}) {
        LinkWorld world;
        world.UseEthernet("127.0.0.1 - Line 2");
        world.tcp.Disconnect();
        world.tcp.SetAttempt(c.attempt, 5);
        const auto start = world.loop.Now();
        EXPECT_THROW(world.exchange.QueryLibrary(), TcpError);
        EXPECT_EQ(world.loop.Now() - start, c.failsAtMs);
        EXPECT_EQ(world.tcp.connects, 2);
        EXPECT_EQ(world.tcp.sent, "");
        EXPECT_FALSE(world.exchange.Busy());
        // The watchdog tells which address did not answer, as when the connection is first made.
        world.loop.AdvanceBy(2000);
        EXPECT_EQ(world.prompts.shown,
                  (std::vector<std::string>{"beep:warning",
                                            "error:Unable to connect to 127.0.0.1 port 2323."}));
    }
}

TEST(TcpTransport, WithoutAUsableAddressNoAttemptIsMade) {
    for (const std::string entry : {"", "10.1.2.3:70000 - Line 3"}) {
        LinkWorld world;
        world.hostEntry = entry;
        world.transport.SetConnectionType(ConnectionType::Ethernet); // never connected
        EXPECT_THROW(world.exchange.QueryLibrary(), TcpError) << entry;
        EXPECT_EQ(world.tcp.connects, 0) << entry;
        EXPECT_TRUE(world.prompts.shown.empty()) << entry;
    }
}

TEST(TcpTransport, AbortWhileConnectingAgainSendsNothing) {
    LinkWorld world;
    world.UseEthernet();
    world.tcp.Disconnect();
    world.tcp.SetAttempt(fake::FakeTcpClient::Attempt::Connects, 300);
    world.loop.Schedule(100, [&] { world.exchange.Abort(); });
    const Reply reply = world.exchange.QueryLibrary();
    EXPECT_EQ(reply.status, ReplyStatus::Aborted);
    EXPECT_TRUE(world.tcp.IsConnected());
    EXPECT_EQ(world.tcp.sent, "");
}

TEST(TcpLines, OverLongLineIsDroppedWithItsErrorAndTheNextLineIsRead) {
    const std::string tooLong(MaxTcpLineLength + 1, 'x');
    const std::vector<std::vector<std::string>> arrivals = {
        {tooLong + "\r\nnext\r\n"},   // its LF already there
        {tooLong, "yy", "y\nnext\n"}, // its rest still arriving
    };
    for (const auto& pieces : arrivals) {
        LineBuffer lines;
        lines.Append(pieces.front());
        EXPECT_THROW(lines.TakeLine(), TcpError);
        for (std::size_t i = 1; i < pieces.size(); ++i)
            lines.Append(pieces[i]);
        EXPECT_EQ(lines.TakeLine(), "next") << pieces.size();
    }
}

} // namespace
