#include "library/NumberedNames.h"
#include "link/LibraryNumber.h"
#include "link/LineBuffer.h"
#include "link/TriggerMatcher.h"
#include "platform/TcpClient.h"

#include <gtest/gtest.h>

using namespace setfolio;
using Event = TriggerMatcher::Event;
using Kind = TriggerMatcher::Event::Kind;

namespace {

TEST(TriggerMatcher, AnnouncesBytesBeforeEachMatchAcrossChunks) {
    TriggerMatcher matcher;
    const auto cr = matcher.Add("\r");
    const auto crLf = matcher.Add("\r\n");

    EXPECT_EQ(matcher.Feed("ab\r\ncd"), (std::vector<Event>{{Kind::Bytes, 3},
                                                            {Kind::Trigger, cr},
                                                            {Kind::Bytes, 1},
                                                            {Kind::Trigger, crLf},
                                                            {Kind::Bytes, 2}}));
    // CR LF split over two chunks still matches.
    EXPECT_EQ(matcher.Feed("x\r"), (std::vector<Event>{{Kind::Bytes, 2}, {Kind::Trigger, cr}}));
    EXPECT_EQ(matcher.Feed("\n"), (std::vector<Event>{{Kind::Bytes, 1}, {Kind::Trigger, crLf}}));

    matcher.Remove(cr);
    EXPECT_EQ(matcher.Feed("\r"), (std::vector<Event>{{Kind::Bytes, 1}}));
    matcher.ResetStream();
    EXPECT_EQ(matcher.Feed("\n"), (std::vector<Event>{{Kind::Bytes, 1}}));
}

TEST(TriggerMatcher, SplitsCountsAbove16Bits) {
    TriggerMatcher matcher;
    const auto events = matcher.Feed(std::string(70000, 'x'));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].value + events[1].value, 70000);
}

TEST(LineBuffer, SplitsLinesAndKeepsIncompleteOnes) {
    LineBuffer buffer;
    buffer.Append("one\r\ntwo\nthree\r");
    EXPECT_EQ(buffer.TakeLine(), "one");
    EXPECT_EQ(buffer.TakeLine(), "two");
    EXPECT_EQ(buffer.TakeLine(), std::nullopt);
    buffer.Append("\n");
    EXPECT_EQ(buffer.TakeLine(), "three");
    buffer.Append("a\rb\n");
    EXPECT_EQ(buffer.TakeLine(), "a\rb");
}

TEST(LineBuffer, RefusesLinesOverTheLimit) {
    LineBuffer ok;
    ok.Append(std::string(16384, 'x') + "\r\n");
    EXPECT_EQ(ok.TakeLine()->size(), 16384u);

    LineBuffer tooLong;
    tooLong.Append(std::string(16385, 'x'));
    EXPECT_THROW(tooLong.TakeLine(), TcpError);
}

TEST(NumberedNames, FormatsLibraryNumbersAndValueIndexes) {
    const std::pair<int, const char*> libraries[] = {
        {0, "000"}, {9, "009"}, {10, "010"}, {99, "099"}, {100, "100"}, {500, "500"}, {1000, ""}};
    for (const auto& [number, text] : libraries)
        EXPECT_EQ(FormatLibraryNumber(number), text);
    const std::pair<int, const char*> indexes[] = {{0, "00"}, {9, "09"}, {10, "10"}, {123, "123"}};
    for (const auto& [index, text] : indexes)
        EXPECT_EQ(FormatValueIndex(index), text);
}

} // namespace
