#include "SimProcessor.h"
#include "LinkWorld.h"

#include <gtest/gtest.h>

using namespace setfolio;
using namespace setfolio::sim;
using setfolio::testing::LinkWorld;

namespace {

std::string Bytes(const std::vector<sim::Reply>& replies) {
    std::string all;
    for (const auto& reply : replies)
        all += reply.bytes;
    return all;
}

// The program's own exchange, on the fake serial port, talking to a simulated processor.
struct WiredToSimulator : LinkWorld {
    std::unique_ptr<SimProcessor> processor;
    explicit WiredToSimulator(std::int32_t modelType)
        : LinkWorld(modelType), processor(MakeProcessor(modelType)) {
        port.SetPeer([this](const std::string& sent) {
            for (const auto& reply : processor->Receive(sent))
                port.Receive(reply.bytes, reply.delayMs + 2);
        });
        transport.OpenConnection();
    }
};

TEST(SimProcessor, AnswersLibraryQueryAndSelectInEachFamily) {
    for (const std::int32_t model : {0, 6, 5}) { // C-12, M-01, B-01
        WiredToSimulator world(model);
        world.processor->activeLibrary = 12;
        const auto before = world.exchange.QueryLibrary();
        EXPECT_EQ(before.status, ReplyStatus::Ok) << model;
        EXPECT_EQ(before.library, 12) << model;
        EXPECT_EQ(world.exchange.SelectLibrary(7).status, ReplyStatus::Ok) << model;
        EXPECT_EQ(world.exchange.QueryLibrary().library, 7) << model;
    }
}

TEST(SimProcessor, LineEndsFollowTheFamilyAndTheTransport) {
    auto coded = MakeProcessor(0);
    EXPECT_EQ(Bytes(coded->Receive("701\r")), "701 000\r");
    EXPECT_EQ(Bytes(coded->Receive("701\r", true)), "701 000\r\n");
    auto menu = MakeProcessor(6);
    EXPECT_EQ(Bytes(menu->Receive("3.1 ?\r")), "0\r\n0\r\n");
    EXPECT_EQ(Bytes(menu->Receive("9.9 1\r")), "1\r\n");
    auto bench = MakeProcessor(5);
    EXPECT_EQ(Bytes(bench->Receive("SYST.LIBRARY.SELECT:4\r")), "\x06\r\n");
    EXPECT_EQ(Bytes(bench->Receive("SYST.NOTHING\r")), "\x15\r\n");
    // A command split over two reads is answered once it is complete.
    EXPECT_TRUE(coded->Receive("70").empty());
    EXPECT_EQ(Bytes(coded->Receive("1\r")), "701 000\r");
}

TEST(SimProcessor, FaultRulesRefuseSilenceSlowDownAndDrop) {
    const auto rules = ParseFaultRules("# faults\n"
                                       "refuse 700 N12\n"
                                       "silent 4AB\n"
                                       "garbage 3XY\n"
                                       "slow-switch 2.5\n"
                                       "drop-after 5\n");
    auto coded = MakeProcessor(0);
    coded->SetFaults(rules);
    EXPECT_EQ(Bytes(coded->Receive("700 003\r")), "700 N12\r");
    EXPECT_TRUE(coded->Receive("4AB\r").empty());
    const auto garbage = Bytes(coded->Receive("3XY\r"));
    EXPECT_EQ(garbage.back(), '\r');
    EXPECT_NE(garbage.substr(0, 3), "3XY");
    EXPECT_EQ(coded->activeLibrary, 0);

    coded->SetFaults(ParseFaultRules("slow-switch 2.5"));
    coded->Receive("700 004\r");
    const auto replies = coded->Receive("701\r");
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].delayMs, 2500);
    EXPECT_EQ(coded->Receive("701\r")[0].delayMs, 0) << "only the first query after a switch";

    auto menu = MakeProcessor(6);
    menu->SetFaults(rules);
    EXPECT_EQ(Bytes(menu->Receive("3.1 ?\r3.1 ?\r3.1 ?\r3.1 ?\r3.1 ?\r3.1 ?\r")).size(), 30u);
    EXPECT_TRUE(menu->Dropped());
    EXPECT_TRUE(menu->Receive("3.1 ?\r").empty());
    EXPECT_FALSE(menu->Gone()) << "a new connection is taken";
    menu->Reconnect();
    EXPECT_FALSE(menu->Receive("3.1 ?\r").empty());
    menu->SetFaults(ParseFaultRules("gone-after 1"));
    menu->Receive("3.1 ?\r");
    EXPECT_TRUE(menu->Gone());
}

TEST(SimProcessor, BadFaultRulesNameTheirLine) {
    for (const char* text : {"refuse 700", "slow-switch soon", "drop-after 0", "explode"}) {
        try {
            ParseFaultRules(std::string("# ok\n") + text);
            ADD_FAILURE() << text;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find("fault rule 2"), std::string::npos);
        }
    }
}

TEST(SimProcessor, RefusalsReachTheProgramAsTheirStatus) {
    struct Case {
        std::int32_t model;
        const char* rule;
        ReplyStatus status;
    };
    const Case cases[] = {
        {0, "refuse 700 N12", ReplyStatus::RunMode},
        {0, "refuse 700 N00", ReplyStatus::TransactionError},
        {6, "refuse 3.1 4", ReplyStatus::InvalidAction},
        {5, "refuse SYST.LIBRARY.SELECT: NAK", ReplyStatus::CommandFailed},
    };
    for (const auto& c : cases) {
        WiredToSimulator world(c.model);
        world.processor->SetFaults(ParseFaultRules(c.rule));
        world.exchange.SelectLibrary(9);
        EXPECT_EQ(world.exchange.replyStatus(), c.status) << c.rule;
    }
}

} // namespace
