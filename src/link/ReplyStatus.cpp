#include "link/ReplyStatus.h"

#include <array>

namespace setfolio {

std::string_view NameOf(ReplyStatus status) {
    static constexpr std::array<std::string_view, 17> Names{"Pending",
                                                            "Ok",
                                                            "TransactionError",
                                                            "RunMode",
                                                            "CommunicationError",
                                                            "UnknownError",
                                                            "NoConnection",
                                                            "ValueError",
                                                            "Aborted",
                                                            "CommandFailed",
                                                            "InvalidCommand",
                                                            "InvalidSource",
                                                            "InvalidValue",
                                                            "InvalidAction",
                                                            "ControlOrSpcOn",
                                                            "FileError",
                                                            "PortOff"};
    const auto index = static_cast<std::size_t>(status);
    return index < Names.size() ? Names[index] : std::string_view("?");
}

std::string_view NameOf(ExchangeStep step) {
    static constexpr std::array<std::string_view, 9> Names{
        "StepNone",          "StepBenchLibraryQuery", "StepCaptureCommon",    "StepCaptureUser",
        "StepAcknowledge",   "StepMenuLibraryNumber", "StepQueryAcknowledge", "StepQueryValue",
        "StepSetAcknowledge"};
    const auto index = static_cast<std::size_t>(step);
    return index < Names.size() ? Names[index] : std::string_view("?");
}

} // namespace setfolio
