#include "LinkWorld.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::LinkWorld;
using namespace std::string_literals;

namespace {

constexpr std::int32_t C12 = 0;
constexpr std::int32_t C18 = 32;
constexpr std::int32_t B01 = 5;
constexpr std::int32_t M01 = 6;

struct CodedCase {
    std::int32_t model;
    std::string reply;
    ReplyStatus status;
    std::string Exchange::*field; // the value the reply must leave behind, if any
    std::string value;
};

TEST(CodedReplies, ClassifyByRefusalCodeThenByClass) {
    using enum ReplyStatus;
    std::string Exchange::*none = nullptr;
    const CodedCase cases[] = {
        {C12, "2AB Y  ", Ok, none, ""},
        {C12, "1AB Y  ", Ok, none, ""},
        {C12, "5AB Y  ", Ok, none, ""},
        {C12, "2AB Y ", UnknownError, none, ""},
        {C12, "2AB Y   ", UnknownError, none, ""},
        {C12, "2AB N12", RunMode, none, ""},
        {C12, "2AB N02", UnknownError, none, ""},
        {C12, "4AB N02", Ok, &Exchange::mnemonicValue, "N02"},
        {C12, "4AB N00", TransactionError, none, ""},
        {C12, "3AB N22", TransactionError, none, ""},
        {C12, "3AB N98", CommunicationError, none, ""},
        {C12, "2AB N14", TransactionError, none, ""},
        {C18, "2AB N14", Ok, none, ""},
        {C18, "4AB N14", Ok, &Exchange::mnemonicValue, "Y  "},
        {C12, "4AB METRES  ", Ok, &Exchange::mnemonicValue, "METRES  "},
        {C12, "3AB  +12.50 ", Ok, &Exchange::numericValue, " +12.50 "},
        {C12, "4AB", Ok, &Exchange::mnemonicValue, ""},
        {C12, "4AB 123456789012345678901234567890XYZ", Ok, &Exchange::mnemonicValue,
         "123456789012345678901234567890"},
        // Header replies: second character 1 or 0 with an odd third character carry the value.
        {C12, "603 LINE 4   ", Ok, &Exchange::headerValue, "LINE 4   "},
        {C12, "619 TITLE", Ok, &Exchange::headerValue, "TITLE"},
        {C12, "604 Y  ", Ok, none, ""},
        {C12, "600 Y  ", Ok, none, ""},
        {C12, "628 Y  ", Ok, none, ""},
        {C12, "628 N  ", UnknownError, none, ""},
        {C12, "601 Y  ", UnknownError, none, ""},
        {C12, "60A Y  ", UnknownError, none, ""},
        {C12, "631 Y  ", UnknownError, none, ""},
        {C12, "700 Y  ", Ok, none, ""},
        {C12, "700 N  ", UnknownError, none, ""},
        {C12, "702 12", UnknownError, none, ""},
        {C12, "", UnknownError, none, ""},
        {C12, "8AB Y  ", UnknownError, none, ""},
        {C12, "9AB Y  ", UnknownError, none, ""},
        {C12, "XAB Y  ", UnknownError, none, ""},
        {C12, "701 12ab", UnknownError, none, ""}, // not a number: no error escapes
    };
    for (const auto& c : cases) {
        LinkWorld world(c.model);
        world.exchange.replyStatus = Pending;
        world.exchange.ParseReply(c.reply);
        EXPECT_EQ(world.exchange.replyStatus, c.status) << "reply '" << c.reply << "'";
        if (c.field) {
            EXPECT_EQ(world.exchange.*c.field, c.value) << "reply '" << c.reply << "'";
        }
    }
}

TEST(CodedReplies, LibraryQueryReadsTheNumber) {
    LinkWorld world(C12);
    world.exchange.ParseReply("701 12");
    EXPECT_EQ(world.exchange.replyStatus, ReplyStatus::Ok);
    EXPECT_EQ(world.exchange.currentLibrary, 12);
    world.exchange.ParseReply("7x1   7"); // position 4 is not examined; blanks lead the number
    EXPECT_EQ(world.exchange.currentLibrary, 7);
}

TEST(BenchReplies, LibraryQueryNeedsTheAcknowledge) {
    LinkWorld world(B01);
    auto& exchange = world.exchange;
    exchange.exchangeStep = ExchangeStep::StepBenchLibraryQuery;
    exchange.ParseReply("12\x06");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::Ok);
    EXPECT_EQ(exchange.currentLibrary, 12);
    exchange.ParseReply("13");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::CommandFailed);
    exchange.ParseReply("LIB\x06");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::CommandFailed);
    EXPECT_EQ(exchange.currentLibrary, 12);

    exchange.exchangeStep = ExchangeStep::StepAcknowledge;
    exchange.TimeOutTimer().SetInterval(10000);
    exchange.ParseReply("SELECTED\x15");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::CommandFailed);
    EXPECT_EQ(exchange.TimeOutTimer().Interval(), 2500);

    exchange.exchangeStep = ExchangeStep::StepNone;
    exchange.ParseReply("12\x06");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::UnknownError);
}

class RecordingWriter : public CaptureWriter {
public:
    void WriteCapturedLine(const std::string& fileName, std::string_view section, int lineNumber,
                           const std::string& line) override {
        if (fail)
            throw std::runtime_error("disk full");
        writes.push_back(fileName + "|" + std::string(section) + "|" + std::to_string(lineNumber) +
                         "|" + line);
    }
    std::vector<std::string> writes;
    bool fail = false;
};

TEST(BenchReplies, CaptureNumbersLinesAndMovesTheProgressBar) {
    LinkWorld world(B01);
    auto& exchange = world.exchange;
    RecordingWriter writer;
    SimpleProgress progress;
    exchange.SetCaptureWriter(&writer);
    exchange.SetCaptureProgress(&progress);
    exchange.captureFileName = "lib.lvf";
    exchange.captureLineNumber = 1;
    exchange.exchangeStep = ExchangeStep::StepCaptureCommon;
    exchange.replyStatus = ReplyStatus::Pending;

    exchange.ParseReply("COMMON 400 BYTES");
    EXPECT_EQ(progress.maximum, 5);
    EXPECT_EQ(progress.position, 1);
    exchange.ParseReply(" CAL 1.0 \x00 2"s);
    EXPECT_EQ(progress.position, 2);
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::Pending);
    EXPECT_EQ(exchange.captureLineNumber, 3);
    exchange.ParseReply("END\x06");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::Ok);
    EXPECT_EQ(progress.position, 0);
    EXPECT_EQ(writer.writes, (std::vector<std::string>{"lib.lvf|Common|1|COMMON 400 BYTES",
                                                       "lib.lvf|Common|2| CAL 1.0 \x00 2"s}));

    // The next section starts its progress from its own first line.
    exchange.exchangeStep = ExchangeStep::StepCaptureUser;
    exchange.captureLineNumber = 1;
    exchange.replyStatus = ReplyStatus::Pending;
    exchange.ParseReply("USER 81");
    EXPECT_EQ(progress.maximum, 1);
    exchange.ParseReply("BAD\x15");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::CommandFailed);
    EXPECT_EQ(writer.writes.back(), "lib.lvf|User|1|USER 81");
}

TEST(BenchReplies, FirstLineWithoutAByteCountEndsTheCapture) {
    LinkWorld world(B01);
    SimpleProgress progress;
    world.exchange.SetCaptureProgress(&progress);
    world.exchange.exchangeStep = ExchangeStep::StepCaptureUser;
    world.exchange.replyStatus = ReplyStatus::Pending;
    world.exchange.ParseReply("USER LIBRARY DUMP");
    EXPECT_EQ(world.exchange.replyStatus, ReplyStatus::UnknownError);
    world.exchange.replyStatus = ReplyStatus::Pending;
    world.exchange.ParseReply("\x15"); // refused before the first line
    EXPECT_EQ(world.exchange.replyStatus, ReplyStatus::CommandFailed);
}

TEST(MenuReplies, StepsMoveOnAcknowledgeAndValues) {
    using enum ExchangeStep;
    LinkWorld world(M01);
    auto& exchange = world.exchange;
    exchange.replyStatus = ReplyStatus::Pending;

    exchange.exchangeStep = StepAcknowledge;
    exchange.ParseReply("0");
    EXPECT_EQ(exchange.exchangeStep, StepMenuLibraryNumber);
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::Pending);
    exchange.ParseReply("17");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::Ok);
    EXPECT_EQ(exchange.currentLibrary, 17);

    exchange.exchangeStep = StepQueryAcknowledge;
    exchange.ParseReply("0");
    EXPECT_EQ(exchange.exchangeStep, StepQueryValue);
    exchange.ParseReply("+12.5");
    EXPECT_EQ(exchange.menuValue, "12.5");
    exchange.ParseReply("-3");
    EXPECT_EQ(exchange.menuValue, "-3");
    exchange.ParseReply("+" + std::string(40, '7'));
    EXPECT_EQ(exchange.menuValue, std::string(30, '7'));
    exchange.ParseReply(" LINE A ");
    EXPECT_EQ(exchange.menuValue, " LINE A ");

    const std::pair<const char*, ReplyStatus> codes[] = {
        {"0", ReplyStatus::Ok},
        {"1", ReplyStatus::InvalidCommand},
        {"2", ReplyStatus::InvalidSource},
        {"3", ReplyStatus::InvalidValue},
        {"4", ReplyStatus::InvalidAction},
        {"5", ReplyStatus::ControlOrSpcOn},
        {"6", ReplyStatus::UnknownError},
        {"0 ", ReplyStatus::UnknownError},
        {"", ReplyStatus::UnknownError},
    };
    for (const auto& [line, status] : codes) {
        exchange.exchangeStep = StepSetAcknowledge;
        exchange.replyStatus = ReplyStatus::Pending;
        exchange.ParseReply(line);
        EXPECT_EQ(exchange.replyStatus, status) << "'" << line << "'";
    }

    exchange.exchangeStep = StepMenuLibraryNumber;
    exchange.ParseReply("seventeen");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::UnknownError);
    exchange.exchangeStep = StepNone;
    exchange.ParseReply("0");
    EXPECT_EQ(exchange.replyStatus, ReplyStatus::UnknownError);
}

TEST(Replies, AbortedHoldsAndUndefinedModelIgnoresReplies) {
    LinkWorld world(C12);
    world.exchange.Abort();
    world.exchange.ParseReply("701 12");
    EXPECT_EQ(world.exchange.replyStatus, ReplyStatus::Aborted);
    EXPECT_EQ(world.exchange.currentLibrary, 0);

    world.UseModel(47);
    world.exchange.replyStatus = ReplyStatus::Pending;
    world.exchange.ParseReply("701 12");
    EXPECT_EQ(world.exchange.replyStatus, ReplyStatus::Pending);
}

TEST(Replies, DecimalFieldsAreStrict) {
    EXPECT_EQ(ParseDecimal("12"), 12);
    EXPECT_EQ(ParseDecimal("  12"), 12);
    EXPECT_EQ(ParseDecimal("-3"), -3);
    EXPECT_EQ(ParseDecimal("12 "), std::nullopt);
    EXPECT_EQ(ParseDecimal(""), std::nullopt);
    EXPECT_EQ(ParseDecimal("0x1"), std::nullopt);
    EXPECT_EQ(ParseDecimal("99999999999"), std::nullopt);
    EXPECT_EQ(ParseDecimal("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

} // namespace
