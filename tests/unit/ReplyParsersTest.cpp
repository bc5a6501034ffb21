#include "link/ReplyParsers.h"
#include "link/Decimal.h"

#include <gtest/gtest.h>

#include <limits>

using namespace setfolio;
using namespace std::string_literals;

namespace {

using enum ReplyStatus;
using enum ExchangeStep;

// The value a reply must leave behind, if any.
enum class Field { None, Mnemonic, Numeric, Header, Library, Menu };

std::optional<std::string> ValueOf(const ParsedReply& parsed, Field field) {
    switch (field) {
    case Field::Mnemonic:
        return parsed.mnemonicValue;
    case Field::Numeric:
        return parsed.numericValue;
    case Field::Header:
        return parsed.headerValue;
    case Field::Menu:
        return parsed.menuValue;
    case Field::Library:
        if (parsed.currentLibrary)
            return std::to_string(*parsed.currentLibrary);
        return std::nullopt;
    case Field::None:
        break;
    }
    return std::nullopt;
}

struct Case {
    ReplyContext context;
    std::string reply;
    std::optional<ReplyStatus> status; // nothing: the exchange keeps waiting
    Field field = Field::None;
    std::string value = {};
    std::optional<ExchangeStep> nextStep = std::nullopt;
};

constexpr ReplyContext Coded{ModelFamily::CodedFamily};
constexpr ReplyContext CodedN14{ModelFamily::CodedFamily, StepNone, true};
constexpr ReplyContext Bench(ExchangeStep step) {
    return {ModelFamily::BenchFamily, step};
}
constexpr ReplyContext Menu(ExchangeStep step) {
    return {ModelFamily::MenuFamily, step};
}

TEST(ReplyParsers, EveryFamilyAndStepAsATable) {
    using F = Field;
    const Case cases[] = {
        // Coded: refusal codes first, then the reply class.
        {Coded, "2AB Y  ", Ok},
        {Coded, "1AB Y  ", Ok},
        {Coded, "5AB Y  ", Ok},
        {Coded, "2AB Y ", UnknownError},
        {Coded, "2AB Y   ", UnknownError},
        {Coded, "2AB N12", RunMode},
        {Coded, "2AB N02", UnknownError},
        {Coded, "4AB N02", Ok, F::Mnemonic, "N02"},
        {Coded, "4AB N00", TransactionError},
        {Coded, "3AB N22", TransactionError},
        {Coded, "3AB N98", CommunicationError},
        {Coded, "2AB N14", TransactionError},
        {CodedN14, "2AB N14", Ok},
        {CodedN14, "4AB N14", Ok, F::Mnemonic, "Y  "},
        {Coded, "4AB METRES  ", Ok, F::Mnemonic, "METRES  "},
        {Coded, "3AB  +12.50 ", Ok, F::Numeric, " +12.50 "},
        {Coded, "4AB", Ok, F::Mnemonic, ""},
        {Coded, "4AB 123456789012345678901234567890XYZ", Ok, F::Mnemonic,
         "123456789012345678901234567890"},
        // Header replies: second character 1, or 0 with an odd third character, carry a value.
        {Coded, "603 LINE 4   ", Ok, F::Header, "LINE 4   "},
        {Coded, "619 TITLE", Ok, F::Header, "TITLE"},
        {Coded, "604 Y  ", Ok},
        {Coded, "600 Y  ", Ok},
        {Coded, "628 Y  ", Ok},
        {Coded, "628 N  ", UnknownError},
        {Coded, "601 Y  ", UnknownError},
        {Coded, "60A Y  ", UnknownError},
        {Coded, "631 Y  ", UnknownError},
        {Coded, "701 12", Ok, F::Library, "12"},
        {Coded, "7x1   7", Ok, F::Library, "7"}, // position 2 is not examined; blanks lead
        {Coded, "701 12ab", UnknownError},
        {Coded, "700 Y  ", Ok},
        {Coded, "700 N  ", UnknownError},
        {Coded, "702 12", UnknownError},
        {Coded, "", UnknownError},
        {Coded, "8AB Y  ", UnknownError},
        {Coded, "9AB Y  ", UnknownError},
        {Coded, "XAB Y  ", UnknownError},
        // Bench: the library query needs its acknowledgement.
        {Bench(StepBenchLibraryQuery), "12\x06", Ok, F::Library, "12"},
        {Bench(StepBenchLibraryQuery), "13", CommandFailed},
        {Bench(StepBenchLibraryQuery), "LIB\x06", CommandFailed},
        {Bench(StepAcknowledge), "SELECTED\x06", Ok},
        {Bench(StepAcknowledge), "SELECTED\x15", CommandFailed},
        {Bench(StepNone), "12\x06", UnknownError},
        // Menu: an acknowledged query moves on to its next line; a refusal names its reason.
        {Menu(StepAcknowledge), "0", std::nullopt, F::None, "", StepMenuLibraryNumber},
        {Menu(StepMenuLibraryNumber), "17", Ok, F::Library, "17"},
        {Menu(StepMenuLibraryNumber), "seventeen", UnknownError},
        {Menu(StepQueryAcknowledge), "0", std::nullopt, F::None, "", StepQueryValue},
        {Menu(StepQueryValue), "+12.5", Ok, F::Menu, "12.5"},
        {Menu(StepQueryValue), "-3", Ok, F::Menu, "-3"},
        {Menu(StepQueryValue), "+" + std::string(40, '7'), Ok, F::Menu, std::string(30, '7')},
        {Menu(StepQueryValue), " LINE A ", Ok, F::Menu, " LINE A "},
        {Menu(StepQueryValue), "1\0002"s, Ok, F::Menu, "1\0002"s},
        {Menu(StepSetAcknowledge), "0", Ok},
        {Menu(StepSetAcknowledge), "1", InvalidCommand},
        {Menu(StepSetAcknowledge), "2", InvalidSource},
        {Menu(StepSetAcknowledge), "3", InvalidValue},
        {Menu(StepSetAcknowledge), "4", InvalidAction},
        {Menu(StepSetAcknowledge), "5", ControlOrSpcOn},
        {Menu(StepSetAcknowledge), "6", UnknownError},
        {Menu(StepSetAcknowledge), "0 ", UnknownError},
        {Menu(StepSetAcknowledge), "", UnknownError},
        {Menu(StepNone), "0", UnknownError},
        // A model without a family reads nothing into any reply.
        {ReplyContext{}, "701 12", std::nullopt},
    };
    for (const auto& c : cases) {
        const ParsedReply parsed = ParseReply(c.context, c.reply);
        const std::string row =
            "reply '" + c.reply + "' in step " + std::string(NameOf(c.context.step));
        EXPECT_EQ(parsed.status, c.status) << row;
        EXPECT_EQ(parsed.nextStep, c.nextStep) << row;
        if (c.field != Field::None) {
            EXPECT_EQ(ValueOf(parsed, c.field), c.value) << row;
        }
        for (const Field other : {F::Mnemonic, F::Numeric, F::Header, F::Library, F::Menu}) {
            if (other != c.field) {
                EXPECT_EQ(ValueOf(parsed, other), std::nullopt) << row;
            }
        }
    }
}

TEST(ReplyParsers, OnlyTheBenchAcknowledgementRestoresTheUsualTimeOut) {
    EXPECT_TRUE(ParseReply(Bench(StepAcknowledge), "X\x15").defaultTimeOut);
    EXPECT_FALSE(ParseReply(Bench(StepBenchLibraryQuery), "1\x06").defaultTimeOut);
    EXPECT_FALSE(ParseReply(Menu(StepSetAcknowledge), "0").defaultTimeOut);
}

TEST(ReplyParsers, DumpLinesAnnounceTheirSizeAreKeptAndEndOnAcknowledge) {
    struct DumpCase {
        bool first;
        std::string line;
        std::optional<ReplyStatus> status;
        std::optional<std::int32_t> bytes;
        bool progress;
        bool store;
        bool ended;
    };
    const DumpCase cases[] = {
        {true, "COMMON 400 BYTES", std::nullopt, 400, false, true, false},
        {true, "USER 81", std::nullopt, 81, false, true, false},
        {false, " CAL 1.0 \x00 2"s, std::nullopt, std::nullopt, true, true, false},
        {false, "END\x06", Ok, std::nullopt, true, false, true},
        {false, "BAD\x15", CommandFailed, std::nullopt, true, false, false},
        {true, "USER 81 \x15", CommandFailed, 81, false, false, false},
        // A first line without a byte count ends the capture; a lone NAK is a refusal.
        {true, "USER LIBRARY DUMP", UnknownError, std::nullopt, false, false, false},
        {true, "\x15", CommandFailed, std::nullopt, false, false, false},
    };
    for (const ExchangeStep step : {StepCaptureCommon, StepCaptureUser}) {
        for (const auto& c : cases) {
            const ParsedReply parsed = ParseBenchReply(c.line, step, c.first);
            EXPECT_EQ(parsed.status, c.status) << c.line;
            EXPECT_EQ(parsed.dumpBytes, c.bytes) << c.line;
            EXPECT_EQ(parsed.dumpProgress, c.progress) << c.line;
            EXPECT_EQ(parsed.storeDumpLine, c.store) << c.line;
            EXPECT_EQ(parsed.dumpEnded, c.ended) << c.line;
        }
    }
}

TEST(ReplyParsers, DecimalFieldsAreStrict) {
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
