#include "LinkWorld.h"
#include "transfer/ChangeLibrary.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::LinkWorld;
using namespace std::string_literals;

namespace {

constexpr std::int32_t C12 = 0;
constexpr std::int32_t B01 = 5;
constexpr std::int32_t M01 = 6;

// A serial link on COM1 with the triggers registered.
struct SerialLink : LinkWorld {
    explicit SerialLink(std::int32_t modelType) : LinkWorld(modelType) {
        transport.OpenConnection();
    }
};

TEST(SerialExchange, QueriesTheLibraryOfEachFamily) {
    struct Case {
        std::int32_t model;
        std::string command;
        std::string reply;
    };
    const Case cases[] = {
        {C12, "701\r", "701 12\r"},
        {B01, "SYST.LIBRARY.SELECT?\r", "12\x06\r\n"},
        {M01, "3.1 ?\r", "0\r\n12\r\n"},
    };
    for (const auto& c : cases) {
        SerialLink link(c.model);
        link.AnswerSerial([&](const std::string&) { return c.reply; });
        link.port.Receive("stale", 0); // bytes of an earlier reply that never ended
        link.loop.AdvanceBy(1);
        ASSERT_EQ(link.exchange.receiveBuffer(), "stale");
        link.exchange.QueryLibrary();
        EXPECT_EQ(link.port.sent, c.command);
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok) << c.command;
        EXPECT_EQ(link.exchange.currentLibrary(), 12) << c.command;
        EXPECT_EQ(link.exchange.receiveBuffer(), "");
        EXPECT_FALSE(link.exchange.TimeOutTimer().IsRunning());
    }
}

TEST(SerialExchange, SelectsLibrarySevenInEachFamily) {
    {
        SerialLink link(C12);
        link.AnswerSerial([](const std::string&) { return "700 Y  \r"s; });
        link.exchange.SelectLibrary(7);
        EXPECT_EQ(link.port.sent, "700 007\r");
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
    }
    {
        SerialLink link(M01);
        link.AnswerSerial([](const std::string&) { return "0\r\n"s; });
        link.exchange.SelectLibrary(7);
        EXPECT_EQ(link.port.sent, "3.1 7\r");
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
    }
    {
        // The bench processor takes its time: it may answer up to 10 s later.
        SerialLink link(B01);
        link.AnswerSerial([](const std::string&) { return "OK\x06\r\n"s; }, 9000);
        link.exchange.SelectLibrary(7);
        EXPECT_EQ(link.port.sent, "SYST.LIBRARY.SELECT:7\r");
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
        EXPECT_EQ(link.exchange.TimeOutTimer().Interval(), 2500);
    }
    {
        SerialLink link(B01);
        link.exchange.SelectLibrary(7);
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::NoConnection);
        EXPECT_EQ(link.loop.Now(), 10000);
        EXPECT_EQ(link.exchange.TimeOutTimer().Interval(), 2500);
        EXPECT_EQ(link.exchange.exchangeStep(), ExchangeStep::StepNone);
    }
}

TEST(SerialExchange, CodedRepliesDropNulAndLineFeeds) {
    SerialLink link(C12);
    link.AnswerSerial([](const std::string&) {
        return "\n701 1\0"s
               "2\r"s;
    });
    link.exchange.QueryLibrary();
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(link.exchange.currentLibrary(), 12);
    EXPECT_EQ(link.exchange.lastReply(), "701 12");
}

TEST(SerialExchange, MenuAndBenchKeepNulAndWaitForCrLf) {
    SerialLink link(M01);
    link.port.Receive("0\r", 5); // a lone CR does not end a menu line
    link.port.Receive("\n+1\0002\r\n"s, 10);
    link.exchange.SendAndWait("2.2.4 ?\r", ExchangeStep::StepQueryAcknowledge);
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(link.exchange.menuValue(), "1\0002"s);
}

TEST(SerialExchange, TimesOutAfter2500msAndDropsThePartialReply) {
    SerialLink link(C12);
    link.port.Receive("70", 100);
    link.exchange.QueryLibrary();
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::NoConnection);
    EXPECT_EQ(link.loop.Now(), 2500);
    EXPECT_EQ(link.exchange.receiveBuffer(), "");
}

// A reply that comes after its exchange has timed out answers no command: neither the one it was
// for nor the next one, which gets its own answer.
TEST(Exchange, LateReplyChangesNothingAndTheNextCommandGetsItsOwnAnswer) {
    for (const bool tcp : {false, true}) {
        LinkWorld world(C12);
        tcp ? world.UseEthernet() : world.transport.OpenConnection();
        int queries = 0;
        const auto processor = [&](const std::string&) {
            const bool first = ++queries == 1;
            const std::string reply = first ? "701 44\r\n" : "701 45\r\n";
            tcp ? world.tcp.Receive(reply, first ? 3000 : 5)
                : world.port.Receive(reply, first ? 3000 : 5);
        };
        world.port.SetPeer(processor);
        world.tcp.SetPeer(processor);
        world.exchange.QueryLibrary();
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::NoConnection) << tcp;
        world.loop.AdvanceBy(2000);
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::NoConnection) << tcp;
        EXPECT_EQ(world.exchange.currentLibrary(), 0) << tcp;
        world.exchange.QueryLibrary();
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::Ok) << tcp;
        EXPECT_EQ(world.exchange.currentLibrary(), 45) << tcp;
    }
}

TEST(SerialExchange, OverLongLineIsDroppedWithoutBeingHeld) {
    SerialLink link(C12);
    link.port.SetPeer([&](const std::string&) {
        link.port.Receive(std::string(1 << 20, 'X'), 5);
        link.port.Receive("\r701 12\r", 10);
    });
    std::size_t held = 0;
    link.loop.Schedule(7, [&] { held = link.exchange.receiveBuffer().size(); });
    link.exchange.QueryLibrary();
    EXPECT_LE(held, MaxTcpLineLength);
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(link.exchange.currentLibrary(), 12);
}

TEST(SerialExchange, AbortEndsTheWaitAndTheReplyOnlyReachesLastReply) {
    SerialLink link(C12);
    link.loop.Schedule(100, [&] { link.exchange.Abort(); });
    link.AnswerSerial([](const std::string&) { return "701 44\r"s; }, 200);
    link.exchange.QueryLibrary();
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Aborted);
    EXPECT_EQ(link.loop.Now(), 100);
    link.loop.AdvanceBy(500);
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Aborted);
    EXPECT_EQ(link.exchange.lastReply(), "701 44");
    EXPECT_EQ(link.exchange.currentLibrary(), 0);
}

TEST(SerialExchange, PortOffOrFailedSendsNothingAndDoesNotWait) {
    {
        LinkWorld world(C12);
        world.serial.port = 0;
        world.transport.OpenConnection();
        world.exchange.QueryLibrary();
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::PortOff);
        EXPECT_EQ(world.port.sent, "");
        EXPECT_EQ(world.loop.Now(), 0);
    }
    {
        LinkWorld world(C12);
        world.port.FailNextOpen(PortErrorKind::AlreadyOpen);
        world.transport.OpenConnection();
        world.exchange.QueryLibrary();
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::PortOff);
        EXPECT_EQ(world.port.sent, "");
    }
}

TEST(SerialExchange, PortThatCannotReopenEndsWithPortOff) {
    SerialLink link(C12);
    link.port.Close(); // as the bench transfer does to resize its queues
    link.port.FailNextOpen(PortErrorKind::DoesNotExist);
    link.exchange.QueryLibrary();
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::PortOff);
    EXPECT_TRUE(link.transport.PortFailed());
    EXPECT_FALSE(link.exchange.TimeOutTimer().IsRunning());
}

TEST(SerialExchange, TriggersSurviveACloseAndReopen) {
    SerialLink link(C12);
    link.AnswerSerial([](const std::string&) { return "701 9\r"s; });
    link.port.Close();
    link.exchange.QueryLibrary();
    EXPECT_EQ(link.port.opens, 2);
    EXPECT_EQ(link.exchange.currentLibrary(), 9);
}

TEST(SerialExchange, SecondExchangeDuringAWaitIsRefused) {
    SerialLink link(C12);
    link.AnswerSerial([](const std::string&) { return "701 3\r"s; }, 50);
    link.loop.Schedule(10, [&] { link.exchange.SelectLibrary(5); });
    link.exchange.QueryLibrary();
    EXPECT_EQ(link.port.sent, "701\r");
    EXPECT_EQ(link.prompts.shown, std::vector<std::string>{"beep:default"});
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(link.exchange.currentLibrary(), 3);
    EXPECT_FALSE(link.exchange.Busy());
}

TEST(SerialExchange, RunningTimeOutIsNotRestartedBySend) {
    SerialLink link(C12);
    link.exchange.TimeOutTimer().Start(); // e.g. started by a stored bench line
    link.loop.AdvanceBy(2000);
    link.exchange.SendAndWait("701\r");
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::NoConnection);
    EXPECT_EQ(link.loop.Now(), 2500);
}

class FailingWriter : public CaptureWriter {
public:
    void WriteCapturedLine(const std::string&, std::string_view, int, const std::string&) override {
        throw std::runtime_error("Unable to write to lib.lvf");
    }
};

TEST(SerialExchange, CaptureWriteFailureReachesTheCallerAfterTheWait) {
    SerialLink link(B01);
    FailingWriter writer;
    link.exchange.SetCaptureWriter(&writer);
    link.AnswerSerial([](const std::string&) { return "COMMON 100\r\n"s; });
    link.exchange.BeginCapture(ExchangeStep::StepCaptureCommon, "lib.lvf");
    EXPECT_THROW(link.exchange.SendAndWait("SYST.LIBRARY.COMMON?\r"), std::runtime_error);
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::FileError);
    EXPECT_FALSE(link.exchange.Busy());
}

TEST(EthernetExchange, MenuQueryReadsTwoLines) {
    LinkWorld world(M01);
    world.UseEthernet();
    world.AnswerTcp([](const std::string&) { return "0\r\n17\r\n"s; });
    const auto start = world.loop.Now();
    world.exchange.QueryLibrary();
    EXPECT_LT(world.loop.Now() - start, 250) << "a complete reply is read without the full pause";
    EXPECT_EQ(world.tcp.sent, "3.1 ?\r");
    EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(world.exchange.currentLibrary(), 17);
    EXPECT_EQ(world.exchange.lastReply(), "17");
}

TEST(EthernetExchange, EarlyFirstLineLeavesTheSecondItsFullWindow) {
    LinkWorld world(M01);
    world.UseEthernet();
    world.tcp.SetPeer([&](const std::string&) {
        world.tcp.Receive("0\r\n", 5);
        world.tcp.Receive("17\r\n", 1200); // the pause, then a line's window
    });
    world.exchange.QueryLibrary();
    EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(world.exchange.currentLibrary(), 17);
}

TEST(EthernetExchange, WaitsTheDelayThenTimesOutWithoutALine) {
    LinkWorld world(C12);
    world.UseEthernet();
    world.AnswerTcp([](const std::string&) { return "701 12\r"s; }); // CR alone ends no line
    const auto start = world.loop.Now();
    world.exchange.QueryLibrary();
    EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::NoConnection);
    EXPECT_EQ(world.loop.Now() - start, 1250);
    EXPECT_EQ(world.exchange.receiveBuffer(), "");
}

TEST(EthernetExchange, BenchDumpIsReadToItsClosingLine) {
    LinkWorld bench(B01);
    bench.UseEthernet();
    bench.AnswerTcp([](const std::string&) { return "USER 200\r\nA\r\nB\r\nC\r\nEND\x06\r\n"s; });
    SimpleProgress progress;
    bench.exchange.SetCaptureProgress(&progress);
    bench.exchange.BeginCapture(ExchangeStep::StepCaptureUser, "lib.lvf");
    bench.exchange.SendAndWait("SYST.LIBRARY.USER?\r");
    EXPECT_EQ(bench.exchange.replyStatus(), ReplyStatus::Ok);
    EXPECT_EQ(bench.exchange.captureLineNumber(), 5);
}

TEST(EthernetExchange, ErrorsOfTheTcpLayerPropagate) {
    LinkWorld world(C12);
    world.transport.SetConnectionType(ConnectionType::Ethernet); // never connected
    EXPECT_THROW(world.exchange.QueryLibrary(), TcpError);
    EXPECT_FALSE(world.exchange.Busy());

    world.UseEthernet();
    world.tcp.CloseFromPeer(100);
    EXPECT_THROW(world.exchange.QueryLibrary(), TcpError);
}

TEST(Exchange, UndefinedModelSendsNothing) {
    SerialLink link(47);
    link.exchange.Accept();
    link.exchange.QueryLibrary();
    link.exchange.SelectLibrary(3);
    EXPECT_EQ(link.port.sent, "");
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
}

} // namespace

namespace change {

TEST(ChangeLibrary, SameLibrarySendsNothing) {
    SerialLink link(C12);
    ChangeLibrary(link.exchange, link.model, 4, 4, {});
    EXPECT_EQ(link.port.sent, "");
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
}

TEST(ChangeLibrary, SlowSwitchWaitsUpTo30sForTheRequery) {
    constexpr std::int32_t C19 = 4;
    for (const bool tcp : {false, true}) {
        LinkWorld link(C19);
        tcp ? link.UseEthernet() : link.transport.OpenConnection();
        std::string& sent = tcp ? link.tcp.sent : link.port.sent;
        std::vector<bool> enabled;
        // The processor stays silent for 20 s after the switch.
        const auto processor = [&](const std::string& command) {
            const bool select = command.starts_with("700");
            const std::string reply = select ? "700 Y  \r\n" : "701 9\r\n";
            tcp ? link.tcp.Receive(reply, select ? 5 : 20000)
                : link.port.Receive(reply, select ? 5 : 20000);
        };
        link.port.SetPeer(processor);
        link.tcp.SetPeer(processor);
        ChangeLibrary(link.exchange, link.model, 4, 9, [&](bool on) { enabled.push_back(on); });
        EXPECT_EQ(sent, "700 009\r701\r") << tcp;
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok) << tcp;
        EXPECT_EQ(link.exchange.currentLibrary(), 9) << tcp;
        EXPECT_EQ(enabled, (std::vector<bool>{false, true})) << tcp;
        EXPECT_EQ(link.exchange.TimeOutTimer().Interval(), 2000) << tcp;

        // After switching to a model without the slow switch there is no re-query.
        link.UseModel(C12);
        sent.clear();
        ChangeLibrary(link.exchange, link.model, 9, 10, {});
        EXPECT_EQ(sent, "700 010\r") << tcp;
    }
}

} // namespace change
