#include "transfer/CurrentLibraryLine.h"

#include "i18n/Messages.h"

namespace setfolio {

std::optional<std::string> CurrentLibraryLine(ReplyStatus status, int library,
                                              const MessageTexts& texts) {
    const std::string& currentLibraryIs = texts.Text(MsgId::MsgCurrentLibraryIs);
    switch (status) {
    case ReplyStatus::Ok:
        return currentLibraryIs + " " + std::to_string(library) + ".";
    case ReplyStatus::PortOff:
        return "Please select a valid COM port!";
    case ReplyStatus::Pending:
    case ReplyStatus::Aborted:
    case ReplyStatus::FileError:
        return std::nullopt;
    default:
        return currentLibraryIs + " ??? - " + texts.StatusText(status);
    }
}

} // namespace setfolio
