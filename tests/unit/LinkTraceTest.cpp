#include "link/LinkTrace.h"
#include "LinkWorld.h"
#include "TempFolder.h"
#include "core/AtomicFile.h"

#include <gtest/gtest.h>

#include <vector>

using namespace setfolio;
using setfolio::testing::LinkWorld;
using setfolio::testing::TempFolder;
using namespace std::string_literals;

namespace {

struct MemorySink : TraceSink {
    std::vector<std::string>* lines;
    explicit MemorySink(std::vector<std::string>& into) : lines(&into) {}
    void WriteLine(std::string_view line) override { lines->emplace_back(line); }
};

TEST(LinkTrace, EscapesControlAndNonAsciiBytes) {
    EXPECT_EQ(EscapeLinkBytes("701 12\r\n"), "701 12\\r\\n");
    EXPECT_EQ(EscapeLinkBytes("a\\b"s + '\0' + "\x06\x7F\xE9 ~"), "a\\\\b\\x00\\x06\\x7F\\xE9 ~");
}

// Every command, reply and time-out of a serial exchange, with the times of the fake clock.
TEST(LinkTrace, TracesTheSerialLinkFromOpeningToClosing) {
    std::vector<std::string> lines;
    {
        LinkWorld world(0);
        LinkTrace trace(std::make_unique<MemorySink>(lines), [&] { return world.loop.NowMs(); });
        world.transport.SetTrace(&trace);
        world.transport.OpenConnection();
        world.AnswerSerial([](const std::string&) { return "701 12\r"s; }, 40);
        world.exchange.QueryLibrary();
        world.port.SetPeer({});
        world.exchange.QueryLibrary(); // no answer
        world.transport.CloseAtExit();
    }
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].rfind("# trace begun ", 0), 0u);
    EXPECT_EQ(lines[1], "0 open COM1 baud 9600 parity none data 8 stop 2");
    EXPECT_EQ(lines[2], "0 sent 701\\r");
    EXPECT_EQ(lines[3], "40 received 701 12 +40ms");
    EXPECT_EQ(lines[4], "40 sent 701\\r");
    EXPECT_EQ(lines[5], "2540 timed-out +2500ms");
    EXPECT_EQ(lines[6], "2540 close COM1 baud 9600 parity none data 8 stop 2");
}

TEST(LinkTrace, TracesTcpRepliesAndTimeOuts) {
    std::vector<std::string> lines;
    LinkWorld world(0);
    LinkTrace trace(std::make_unique<MemorySink>(lines), [&] { return world.loop.NowMs(); });
    world.transport.SetTrace(&trace);
    world.UseEthernet("127.0.0.1:2323");
    world.AnswerTcp([](const std::string&) { return "701 12\r\n"s; });
    world.exchange.QueryLibrary();
    world.tcp.SetPeer({});
    world.exchange.QueryLibrary();
    world.transport.SetTrace(nullptr); // the trace ends before the link
    ASSERT_GE(lines.size(), 6u);
    EXPECT_NE(lines[1].find(" open 127.0.0.1:2323"), std::string::npos);
    EXPECT_NE(lines[2].find(" sent 701\\r"), std::string::npos);
    EXPECT_NE(lines[3].find(" received 701 12 +"), std::string::npos);
    EXPECT_NE(lines[4].find(" sent 701\\r"), std::string::npos);
    EXPECT_NE(lines[5].find(" timed-out +"), std::string::npos);
}

// Past the cap the older half goes; what stays is the newest lines, whole and in order.
TEST(FileTraceSink, DropsTheOlderHalfPastItsCap) {
    TempFolder folder;
    const std::string path = folder.Path() + "/trace.txt";
    {
        FileTraceSink sink(path, 100);
        for (int i = 0; i < 30; ++i)
            sink.WriteLine("line " + std::to_string(i)); // 7 or 8 bytes with the line end
    }
    const std::string kept = *ReadWholeFile(path);
    EXPECT_LE(kept.size(), 100u);
    EXPECT_GE(kept.size(), 40u);
    EXPECT_EQ(kept.substr(kept.size() - 8), "line 29\n");
    // The lines kept follow each other without a gap.
    std::size_t pos = 0;
    int previous = -1;
    while (pos < kept.size()) {
        const std::size_t end = kept.find('\n', pos);
        const int number = std::stoi(kept.substr(pos + 5, end - pos - 5));
        if (previous >= 0) {
            EXPECT_EQ(number, previous + 1);
        }
        previous = number;
        pos = end + 1;
    }
}

} // namespace
