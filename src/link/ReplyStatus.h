#pragma once

#include <string_view>

namespace setfolio {

// The outcome of the last exchange with the processor.
enum class ReplyStatus : int {
    Pending = 0,
    Ok = 1,
    TransactionError = 2,
    RunMode = 3,
    CommunicationError = 4,
    UnknownError = 5,
    NoConnection = 6,
    ValueError = 7,
    Aborted = 8,
    CommandFailed = 9,
    InvalidCommand = 10,
    InvalidSource = 11,
    InvalidValue = 12,
    InvalidAction = 13,
    ControlOrSpcOn = 14,
    FileError = 15,
    PortOff = 16,
};

// What the next reply line of a bench or menu exchange means.
enum class ExchangeStep : int {
    StepNone = 0,
    StepBenchLibraryQuery = 1,
    StepCaptureCommon = 2,
    StepCaptureUser = 3,
    StepAcknowledge = 4,
    StepMenuLibraryNumber = 5,
    StepQueryAcknowledge = 6,
    StepQueryValue = 7,
    StepSetAcknowledge = 8,
};

std::string_view NameOf(ReplyStatus status);
std::string_view NameOf(ExchangeStep step);

} // namespace setfolio
