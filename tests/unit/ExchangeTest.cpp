#include "LinkWorld.h"
#include "transfer/ChangeLibrary.h"

#include <gtest/gtest.h>

#include <functional>

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
        const Reply reply = link.exchange.QueryLibrary();
        EXPECT_EQ(link.port.sent, c.command);
        EXPECT_EQ(reply.status, ReplyStatus::Ok) << c.command;
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok) << c.command;
        EXPECT_EQ(reply.library, 12) << c.command;
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
    const Reply reply = link.exchange.QueryLibrary();
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 12);
    EXPECT_EQ(reply.line, "701 12");
    EXPECT_EQ(link.exchange.lastLineReceived(), "701 12");
}

TEST(SerialExchange, MenuAndBenchKeepNulAndWaitForCrLf) {
    SerialLink link(M01);
    link.port.Receive("0\r", 5); // a lone CR does not end a menu line
    link.port.Receive("\n+1\0002\r\n"s, 10);
    const Reply reply = link.exchange.SendAndWait("2.2.4 ?\r", ExchangeStep::StepQueryAcknowledge);
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.menu, "1\0002"s);
    EXPECT_EQ(reply.line, "+1\0002"s);
}

// Each exchange returns the value its own reply carried, in the field of its kind; nothing of an
// earlier reply is carried over to one that carried no value.
TEST(SerialExchange, ReplyCarriesOnlyItsOwnValue) {
    SerialLink link(C12);
    std::string answer;
    link.AnswerSerial([&](const std::string&) { return answer + "\r"; });
    const auto exchange = [&](const std::string& reply) {
        answer = reply;
        return link.exchange.SendAndWait("4AB\r");
    };
    const Reply mnemonic = exchange("4AB METRES  ");
    EXPECT_EQ(mnemonic.mnemonic, "METRES  ");
    EXPECT_EQ(mnemonic.numeric, std::nullopt);
    const Reply numeric = exchange("3AB  +12.50 ");
    EXPECT_EQ(numeric.numeric, " +12.50 ");
    EXPECT_EQ(numeric.mnemonic, std::nullopt);
    const Reply header = exchange("603 LINE 4   ");
    EXPECT_EQ(header.header, "LINE 4   ");
    const Reply accepted = exchange("2AB Y  ");
    EXPECT_EQ(accepted.status, ReplyStatus::Ok);
    EXPECT_EQ(accepted.line, "2AB Y  ");
    EXPECT_FALSE(accepted.mnemonic || accepted.numeric || accepted.header || accepted.menu ||
                 accepted.library);
    const Reply refused = exchange("4AB N12");
    EXPECT_EQ(refused.status, ReplyStatus::RunMode);
    EXPECT_EQ(refused.mnemonic, std::nullopt);
}

// A library query the processor answers Ok without naming a library (as if it had been a
// select) did not tell the library: no number is made up for it.
TEST(SerialExchange, LibraryQueryAnsweredWithoutALibraryIsUnknownError) {
    SerialLink link(C12);
    link.AnswerSerial([](const std::string&) { return "700 Y  \r"s; });
    const Reply reply = link.exchange.QueryLibrary();
    EXPECT_EQ(reply.status, ReplyStatus::UnknownError);
    EXPECT_EQ(reply.library, std::nullopt);
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::UnknownError);
}

// Whether a dump line is the first, which announces the dump's size, is the exchange's to know:
// the progress bar only shows how far the dump has come, whatever position it had at the start.
TEST(SerialExchange, DumpFirstLineDoesNotDependOnTheProgressShown) {
    struct Case {
        std::string dump;
        ReplyStatus status;
        int dumpLines;
        int maximum; // set from the announced size: 200 bytes are 200 / 82 + 1 steps
    };
    const Case cases[] = {
        {"COMMON 200\r\nA\r\nB\r\nEND\x06\r\n", ReplyStatus::Ok, 3, 3},
        {"COMMON\r\nA\r\nEND\x06\r\n", ReplyStatus::UnknownError, 0, 0}, // no size
        {"NO\x15\r\n", ReplyStatus::CommandFailed, 0, 0},
        {"USER 200\r\nA\r\nEND\x06\r\n", ReplyStatus::Ok, 2, 3}, // after a failed dump
    };
    for (const int start : {0, 7}) {
        SerialLink link(B01);
        std::string dump;
        link.AnswerSerial([&](const std::string&) { return dump; });
        for (const auto& c : cases) {
            SimpleProgress progress;
            progress.position = start;
            link.exchange.SetCaptureProgress(&progress);
            dump = c.dump;
            link.exchange.BeginCapture(ExchangeStep::StepCaptureCommon, "lib.lvf");
            const Reply reply = link.exchange.SendAndWait("SYST.LIBRARY.COMMON?\r");
            EXPECT_EQ(reply.status, c.status) << start << " " << c.dump;
            EXPECT_EQ(reply.dumpLines, c.dumpLines) << start << " " << c.dump;
            EXPECT_EQ(progress.maximum, c.maximum) << start << " " << c.dump;
            link.exchange.SetCaptureProgress(nullptr);
        }
    }
}

TEST(SerialExchange, TimesOutAfter2500msAndDropsThePartialReply) {
    SerialLink link(C12);
    link.port.Receive("70", 100);
    EXPECT_EQ(link.exchange.QueryLibrary().status, ReplyStatus::NoConnection);
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
        const Reply late = world.exchange.QueryLibrary();
        EXPECT_EQ(late.status, ReplyStatus::NoConnection) << tcp;
        EXPECT_EQ(late.library, std::nullopt) << tcp;
        world.loop.AdvanceBy(2000);
        EXPECT_EQ(world.exchange.replyStatus(), ReplyStatus::NoConnection) << tcp;
        const Reply next = world.exchange.QueryLibrary();
        EXPECT_EQ(next.status, ReplyStatus::Ok) << tcp;
        EXPECT_EQ(next.library, 45) << tcp;
        EXPECT_EQ(next.line, "701 45") << tcp;
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
    const Reply reply = link.exchange.QueryLibrary();
    EXPECT_LE(held, MaxTcpLineLength);
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 12);
}

TEST(SerialExchange, AbortEndsTheWaitAndTheLateReplyIsOnlyTheLastLineReceived) {
    SerialLink link(C12);
    link.loop.Schedule(100, [&] { link.exchange.Abort(); });
    link.AnswerSerial([](const std::string&) { return "701 44\r"s; }, 200);
    const Reply reply = link.exchange.QueryLibrary();
    EXPECT_EQ(reply.status, ReplyStatus::Aborted);
    EXPECT_EQ(reply.library, std::nullopt);
    EXPECT_EQ(link.loop.Now(), 100);
    link.loop.AdvanceBy(500);
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Aborted);
    EXPECT_EQ(link.exchange.lastLineReceived(), "701 44");
}

TEST(SerialExchange, PortOffOrFailedSendsNothingAndDoesNotWait) {
    {
        LinkWorld world(C12);
        world.serial.port = 0;
        world.transport.OpenConnection();
        EXPECT_EQ(world.exchange.QueryLibrary().status, ReplyStatus::PortOff);
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
    const Reply reply = link.exchange.QueryLibrary();
    EXPECT_EQ(link.port.opens, 2);
    EXPECT_EQ(reply.library, 9);
}

// Whatever a user's event tries while an exchange waits (its reply half come), it is refused
// with the beep and changes nothing of the waiting exchange.
TEST(SerialExchange, SecondExchangeDuringAWaitIsRefused) {
    const std::function<Reply(Exchange&)> seconds[] = {
        [](Exchange& exchange) { return exchange.SendAndWait("701\r"); },
        [](Exchange& exchange) { return exchange.QueryLibrary(); },
        [](Exchange& exchange) { return exchange.SelectLibrary(5); },
        [](Exchange& exchange) { return exchange.SelectForTransfer(5); },
    };
    for (std::size_t i = 0; i < std::size(seconds); ++i) {
        SerialLink link(C12);
        link.port.SetPeer([&](const std::string&) {
            link.port.Receive("701", 5);
            link.port.Receive(" 3\r", 50);
        });
        std::optional<Reply> refused;
        std::vector<ReplyStatus> told; // a refused second exchange is none
        const auto watch = link.exchange.exchanged.Subscribe(
            [&](const Reply& ended) { told.push_back(ended.status); });
        link.loop.Schedule(10, [&] { refused = seconds[i](link.exchange); });
        const Reply reply = link.exchange.QueryLibrary();
        EXPECT_EQ(told, std::vector<ReplyStatus>{ReplyStatus::Ok}) << i;
        EXPECT_EQ(link.port.sent, "701\r") << i;
        EXPECT_EQ(link.prompts.shown, std::vector<std::string>{"beep:default"}) << i;
        ASSERT_TRUE(refused) << i;
        EXPECT_EQ(refused->status, ReplyStatus::Pending) << "the waiting step's status";
        EXPECT_EQ(refused->line, "") << i;
        EXPECT_EQ(reply.status, ReplyStatus::Ok) << i;
        EXPECT_EQ(reply.library, 3) << i;
        EXPECT_EQ(link.exchange.SelectsForTransfer(), 0) << i;
        EXPECT_FALSE(link.exchange.Busy()) << i;
    }
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
    const Reply reply = world.exchange.QueryLibrary();
    EXPECT_LT(world.loop.Now() - start, 250) << "a complete reply is read without the full pause";
    EXPECT_EQ(world.tcp.sent, "3.1 ?\r");
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 17);
    EXPECT_EQ(reply.line, "17");
    EXPECT_EQ(world.exchange.lastLineReceived(), "17");
}

TEST(EthernetExchange, EarlyFirstLineLeavesTheSecondItsFullWindow) {
    LinkWorld world(M01);
    world.UseEthernet();
    world.tcp.SetPeer([&](const std::string&) {
        world.tcp.Receive("0\r\n", 5);
        world.tcp.Receive("17\r\n", 1200); // the pause, then a line's window
    });
    const Reply reply = world.exchange.QueryLibrary();
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.library, 17);
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
    const Reply reply = bench.exchange.SendAndWait("SYST.LIBRARY.USER?\r");
    EXPECT_EQ(reply.status, ReplyStatus::Ok);
    EXPECT_EQ(reply.dumpLines, 4);
    EXPECT_EQ(reply.line, "END\x06");
    EXPECT_EQ(bench.exchange.captureLineNumber(), 5);
}

TEST(EthernetExchange, ErrorsOfTheTcpLayerPropagate) {
    LinkWorld world(C12);
    std::vector<ReplyStatus> told; // and whoever shows the link learns that nothing answered
    const auto watch = world.exchange.exchanged.Subscribe(
        [&](const Reply& ended) { told.push_back(ended.status); });
    world.transport.SetConnectionType(ConnectionType::Ethernet); // never connected
    EXPECT_THROW(world.exchange.QueryLibrary(), TcpError);
    EXPECT_FALSE(world.exchange.Busy());

    world.UseEthernet();
    world.tcp.CloseFromPeer(100);
    EXPECT_THROW(world.exchange.QueryLibrary(), TcpError);
    EXPECT_EQ(told, std::vector<ReplyStatus>(2, ReplyStatus::NoConnection));
}

TEST(Exchange, UndefinedModelSendsNothing) {
    SerialLink link(47);
    link.exchange.Accept();
    EXPECT_EQ(link.exchange.QueryLibrary().library, std::nullopt);
    link.exchange.SelectLibrary(3);
    EXPECT_EQ(link.port.sent, "");
    EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok);
}

} // namespace

namespace change {

TEST(ChangeLibrary, SameLibrarySendsNothing) {
    SerialLink link(C12);
    EXPECT_EQ(ChangeLibrary(link.exchange, link.model, 4, 4, {}).status, ReplyStatus::Ok);
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
        const Reply reply =
            ChangeLibrary(link.exchange, link.model, 4, 9, [&](bool on) { enabled.push_back(on); });
        EXPECT_EQ(sent, "700 009\r701\r") << tcp;
        EXPECT_EQ(link.exchange.replyStatus(), ReplyStatus::Ok) << tcp;
        EXPECT_EQ(reply.status, ReplyStatus::Ok) << tcp;
        EXPECT_EQ(reply.library, 9) << tcp;
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
