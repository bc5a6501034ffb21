// How a complete reply line of each family becomes a ReplyStatus and, where it carries one, a
// value. Pure functions: the exchange applies what they find.
#include "link/ReplyParsers.h"

#include "link/Decimal.h"

#include <array>
#include <initializer_list>

namespace setfolio {

namespace {

constexpr char Ack = '\x06';
constexpr char Nak = '\x15';
constexpr std::string_view Accepted = "Y  ";

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> codes) {
    for (const auto code : codes) {
        if (text == code)
            return true;
    }
    return false;
}

ReplyStatus AcceptedOr(std::string_view result) {
    return result == Accepted ? ReplyStatus::Ok : ReplyStatus::UnknownError;
}

// The text between a line's first and second blank (to the end without a second blank; the
// whole line without any blank).
std::string_view SecondWord(std::string_view line) {
    const auto first = line.find(' ');
    if (first == std::string_view::npos)
        return line;
    const auto rest = line.substr(first + 1);
    return rest.substr(0, rest.find(' '));
}

char LastOf(std::string_view reply) {
    return reply.empty() ? '\0' : reply.back();
}

ParsedReply WithStatus(ReplyStatus status) {
    ParsedReply parsed;
    parsed.status = status;
    return parsed;
}

// A header reply: the second character says whether it carries a value (1) or accepts a set
// (2); 0 leaves it to the parity of the third.
ParsedReply CodedHeaderReply(std::string_view text, const std::string& result) {
    char kind = text.size() >= 2 ? text[1] : '\0';
    if (kind == '0') {
        const char c = text.size() >= 3 ? text[2] : '\0';
        if (c == '3' || c == '5' || c == '7' || c == '9')
            kind = '1';
        else if (c == '4' || c == '6' || c == '8' || c == '0')
            kind = '2';
        else
            kind = '?';
    }
    if (kind == '1') {
        ParsedReply parsed = WithStatus(ReplyStatus::Ok);
        parsed.headerValue = result;
        return parsed;
    }
    if (kind == '2')
        return WithStatus(AcceptedOr(result));
    return WithStatus(ReplyStatus::UnknownError);
}

ParsedReply CodedLibraryReply(std::string_view text, const std::string& result) {
    const char c = text.size() >= 3 ? text[2] : '\0';
    if (c == '1') {
        const auto number = ParseDecimal(result);
        if (!number)
            return WithStatus(ReplyStatus::UnknownError);
        ParsedReply parsed = WithStatus(ReplyStatus::Ok);
        parsed.currentLibrary = *number;
        return parsed;
    }
    if (c == '0')
        return WithStatus(AcceptedOr(result));
    return WithStatus(ReplyStatus::UnknownError);
}

ParsedReply DumpLine(std::string_view reply, bool firstDumpLine) {
    ParsedReply parsed;
    const char last = LastOf(reply);
    if (firstDumpLine) {
        // The section's first line carries its size in bytes as the second word.
        const auto bytes = ParseDecimal(SecondWord(reply));
        if (!bytes) {
            // A processor that refuses the dump at once says so with a NAK.
            parsed.status = last == Nak ? ReplyStatus::CommandFailed : ReplyStatus::UnknownError;
            return parsed;
        }
        parsed.dumpBytes = *bytes;
    } else {
        parsed.dumpProgress = true;
    }
    if (last == Nak) {
        parsed.status = ReplyStatus::CommandFailed;
    } else if (last == Ack) {
        parsed.status = ReplyStatus::Ok;
        parsed.dumpEnded = true;
    } else {
        parsed.storeDumpLine = true;
    }
    return parsed;
}

} // namespace

ParsedReply ParseCodedReply(std::string_view text, bool acceptsWithN14) {
    const char replyClass = text.empty() ? '\0' : text[0];
    std::string result = text.size() >= 5 ? std::string(text.substr(4, 30)) : std::string();

    if (acceptsWithN14 && result == "N14")
        result = Accepted;

    if (IsOneOf(result, {"N00", "N01", "N10", "N11", "N13", "N14", "N15", "N16", "N17", "N22"}))
        return WithStatus(ReplyStatus::TransactionError);
    if (result == "N12")
        return WithStatus(ReplyStatus::RunMode);
    if (IsOneOf(result, {"N97", "N98", "N99"}))
        return WithStatus(ReplyStatus::CommunicationError);

    ParsedReply parsed;
    switch (replyClass) {
    case '1':
    case '2':
    case '5':
        return WithStatus(AcceptedOr(result));
    case '4':
        parsed.status = ReplyStatus::Ok;
        parsed.mnemonicValue = std::move(result);
        return parsed;
    case '3':
        parsed.status = ReplyStatus::Ok;
        parsed.numericValue = std::move(result);
        return parsed;
    case '6':
        return CodedHeaderReply(text, result);
    case '7':
        return CodedLibraryReply(text, result);
    default:
        return WithStatus(ReplyStatus::UnknownError);
    }
}

ParsedReply ParseBenchReply(std::string_view reply, ExchangeStep step, bool firstDumpLine) {
    const char last = LastOf(reply);
    switch (step) {
    case ExchangeStep::StepBenchLibraryQuery: {
        if (last != Ack)
            return WithStatus(ReplyStatus::CommandFailed);
        const auto number = ParseDecimal(reply.substr(0, reply.size() - 1));
        if (!number)
            return WithStatus(ReplyStatus::CommandFailed);
        ParsedReply parsed = WithStatus(ReplyStatus::Ok);
        parsed.currentLibrary = *number;
        return parsed;
    }
    case ExchangeStep::StepCaptureCommon:
    case ExchangeStep::StepCaptureUser:
        return DumpLine(reply, firstDumpLine);
    case ExchangeStep::StepAcknowledge: {
        ParsedReply parsed = WithStatus(last == Ack ? ReplyStatus::Ok : ReplyStatus::CommandFailed);
        parsed.defaultTimeOut = true;
        return parsed;
    }
    default:
        return WithStatus(ReplyStatus::UnknownError);
    }
}

ParsedReply ParseMenuReply(std::string_view reply, ExchangeStep step) {
    switch (step) {
    case ExchangeStep::StepAcknowledge:
    case ExchangeStep::StepQueryAcknowledge:
    case ExchangeStep::StepSetAcknowledge: {
        static constexpr std::array<ReplyStatus, 5> Refusals{
            ReplyStatus::InvalidCommand, ReplyStatus::InvalidSource, ReplyStatus::InvalidValue,
            ReplyStatus::InvalidAction, ReplyStatus::ControlOrSpcOn};
        if (reply == "0") {
            // An acknowledged query goes on with its value line; an acknowledged set is done.
            ParsedReply parsed;
            if (step == ExchangeStep::StepAcknowledge)
                parsed.nextStep = ExchangeStep::StepMenuLibraryNumber;
            else if (step == ExchangeStep::StepQueryAcknowledge)
                parsed.nextStep = ExchangeStep::StepQueryValue;
            else
                parsed.status = ReplyStatus::Ok;
            return parsed;
        }
        if (reply.size() == 1 && reply[0] >= '1' && reply[0] <= '5')
            return WithStatus(Refusals[static_cast<std::size_t>(reply[0] - '1')]);
        return WithStatus(ReplyStatus::UnknownError);
    }
    case ExchangeStep::StepMenuLibraryNumber: {
        const auto number = ParseDecimal(reply);
        if (!number)
            return WithStatus(ReplyStatus::UnknownError);
        ParsedReply parsed = WithStatus(ReplyStatus::Ok);
        parsed.currentLibrary = *number;
        return parsed;
    }
    case ExchangeStep::StepQueryValue: {
        ParsedReply parsed = WithStatus(ReplyStatus::Ok);
        parsed.menuValue = !reply.empty() && reply[0] == '+' ? std::string(reply.substr(1, 30))
                                                             : std::string(reply);
        return parsed;
    }
    default:
        return WithStatus(ReplyStatus::UnknownError);
    }
}

ParsedReply ParseReply(const ReplyContext& context, std::string_view reply) {
    switch (context.family) {
    case ModelFamily::CodedFamily:
        return ParseCodedReply(reply, context.acceptsWithN14);
    case ModelFamily::BenchFamily:
        return ParseBenchReply(reply, context.step, context.firstDumpLine);
    case ModelFamily::MenuFamily:
        return ParseMenuReply(reply, context.step);
    case ModelFamily::NoFamily:
        break;
    }
    return {};
}

} // namespace setfolio
