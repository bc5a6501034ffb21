// The three reply parsers: how a complete reply line of each family becomes a ReplyStatus and,
// where it carries one, a value.
#include "core/CurrentModel.h"
#include "link/Exchange.h"
#include "platform/Timer.h"

#include <array>
#include <utility>

namespace setfolio {

namespace {

constexpr char Ack = '\x06';
constexpr char Nak = '\x15';
constexpr std::string_view Accepted = "Y  ";
constexpr std::int32_t ModelC18 = 32;

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

} // namespace

void Exchange::ParseReply(const std::string& reply) {
    if (replyStatus == ReplyStatus::Aborted)
        return;
    switch (m_model.Family()) {
    case ModelFamily::CodedFamily:
        ParseCodedReply(reply);
        break;
    case ModelFamily::BenchFamily:
        ParseBenchReply(reply);
        break;
    case ModelFamily::MenuFamily:
        ParseMenuReply(reply);
        break;
    case ModelFamily::NoFamily:
        break;
    }
}

void Exchange::ParseCodedReply(const std::string& reply) {
    const std::string_view text = reply;
    const char replyClass = text.empty() ? '\0' : text[0];
    std::string result = text.size() >= 5 ? std::string(text.substr(4, 30)) : std::string();

    if (m_model.ModelType() == ModelC18 && result == "N14")
        result = Accepted;

    if (IsOneOf(result, {"N00", "N01", "N10", "N11", "N13", "N14", "N15", "N16", "N17", "N22"})) {
        replyStatus = ReplyStatus::TransactionError;
        return;
    }
    if (result == "N12") {
        replyStatus = ReplyStatus::RunMode;
        return;
    }
    if (IsOneOf(result, {"N97", "N98", "N99"})) {
        replyStatus = ReplyStatus::CommunicationError;
        return;
    }
    switch (replyClass) {
    case '1':
    case '2':
    case '5':
        replyStatus = AcceptedOr(result);
        return;
    case '4':
        mnemonicValue = result;
        replyStatus = ReplyStatus::Ok;
        return;
    case '3':
        numericValue = result;
        replyStatus = ReplyStatus::Ok;
        return;
    case '6': {
        char d = text.size() >= 2 ? text[1] : '\0';
        if (d == '0') {
            const char c = text.size() >= 3 ? text[2] : '\0';
            if (c == '3' || c == '5' || c == '7' || c == '9')
                d = '1';
            else if (c == '4' || c == '6' || c == '8' || c == '0')
                d = '2';
            else
                d = '?';
        }
        if (d == '1') {
            headerValue = result;
            replyStatus = ReplyStatus::Ok;
        } else if (d == '2') {
            replyStatus = AcceptedOr(result);
        } else {
            replyStatus = ReplyStatus::UnknownError;
        }
        return;
    }
    case '7': {
        const char c = text.size() >= 3 ? text[2] : '\0';
        if (c == '1') {
            const auto number = ParseDecimal(result);
            if (!number) {
                replyStatus = ReplyStatus::UnknownError;
                return;
            }
            currentLibrary = *number;
            replyStatus = ReplyStatus::Ok;
        } else if (c == '0') {
            replyStatus = AcceptedOr(result);
        } else {
            replyStatus = ReplyStatus::UnknownError;
        }
        return;
    }
    default:
        replyStatus = ReplyStatus::UnknownError;
        return;
    }
}

void Exchange::ParseBenchReply(const std::string& reply) {
    const char last = reply.empty() ? '\0' : reply.back();
    switch (exchangeStep) {
    case ExchangeStep::StepBenchLibraryQuery: {
        if (last != Ack) {
            replyStatus = ReplyStatus::CommandFailed;
            return;
        }
        const auto number = ParseDecimal(std::string_view(reply).substr(0, reply.size() - 1));
        if (!number) {
            replyStatus = ReplyStatus::CommandFailed;
            return;
        }
        currentLibrary = *number;
        replyStatus = ReplyStatus::Ok;
        return;
    }
    case ExchangeStep::StepCaptureCommon:
    case ExchangeStep::StepCaptureUser:
        CaptureLine(reply);
        return;
    case ExchangeStep::StepAcknowledge:
        replyStatus = last == Ack ? ReplyStatus::Ok : ReplyStatus::CommandFailed;
        m_timeOutTimer->SetInterval(DefaultReplyTimeOutMs);
        return;
    default:
        replyStatus = ReplyStatus::UnknownError;
        return;
    }
}

void Exchange::CaptureLine(const std::string& reply) {
    const char last = reply.empty() ? '\0' : reply.back();
    if (m_progress->Position() == 0) {
        // The section's first line carries its size in bytes as the second word.
        const auto bytes = ParseDecimal(SecondWord(reply));
        if (!bytes) {
            // A processor that refuses the dump at once says so with a NAK.
            replyStatus = last == Nak ? ReplyStatus::CommandFailed : ReplyStatus::UnknownError;
            return;
        }
        m_progress->SetMaximum(*bytes / 82 + 1);
        m_progress->SetPosition(1);
    } else {
        m_progress->SetPosition(m_progress->Position() + 1);
    }
    if (last == Nak) {
        replyStatus = ReplyStatus::CommandFailed;
        return;
    }
    if (last == Ack) {
        replyStatus = ReplyStatus::Ok;
        m_progress->SetPosition(0);
        return;
    }
    const std::string_view section =
        exchangeStep == ExchangeStep::StepCaptureCommon ? "Common" : "User";
    if (m_captureWriter) {
        try {
            m_captureWriter->WriteCapturedLine(captureFileName, section, captureLineNumber, reply);
        } catch (...) {
            // Not thrown through the event loop: the wait ends and the error is raised again
            // in the code that waited.
            m_captureError = std::current_exception();
            replyStatus = ReplyStatus::FileError;
            return;
        }
    }
    ++captureLineNumber;
    m_timeOutTimer->Stop();
    m_timeOutTimer->Start();
}

void Exchange::RethrowCaptureError() {
    if (auto error = std::exchange(m_captureError, nullptr))
        std::rethrow_exception(error);
}

void Exchange::ParseMenuReply(const std::string& reply) {
    switch (exchangeStep) {
    case ExchangeStep::StepAcknowledge:
    case ExchangeStep::StepQueryAcknowledge:
    case ExchangeStep::StepSetAcknowledge: {
        static constexpr std::array<ReplyStatus, 5> Refusals{
            ReplyStatus::InvalidCommand, ReplyStatus::InvalidSource, ReplyStatus::InvalidValue,
            ReplyStatus::InvalidAction, ReplyStatus::ControlOrSpcOn};
        if (reply == "0") {
            if (exchangeStep == ExchangeStep::StepAcknowledge)
                exchangeStep = ExchangeStep::StepMenuLibraryNumber;
            else if (exchangeStep == ExchangeStep::StepQueryAcknowledge)
                exchangeStep = ExchangeStep::StepQueryValue;
            else
                replyStatus = ReplyStatus::Ok;
        } else if (reply.size() == 1 && reply[0] >= '1' && reply[0] <= '5') {
            replyStatus = Refusals[static_cast<std::size_t>(reply[0] - '1')];
        } else {
            replyStatus = ReplyStatus::UnknownError;
        }
        return;
    }
    case ExchangeStep::StepMenuLibraryNumber: {
        const auto number = ParseDecimal(reply);
        if (!number) {
            replyStatus = ReplyStatus::UnknownError;
            return;
        }
        currentLibrary = *number;
        replyStatus = ReplyStatus::Ok;
        return;
    }
    case ExchangeStep::StepQueryValue:
        menuValue = !reply.empty() && reply[0] == '+' ? reply.substr(1, 30) : reply;
        replyStatus = ReplyStatus::Ok;
        return;
    default:
        replyStatus = ReplyStatus::UnknownError;
        return;
    }
}

} // namespace setfolio
