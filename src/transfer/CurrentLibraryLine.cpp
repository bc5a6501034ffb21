#include "transfer/CurrentLibraryLine.h"

#include "core/MessageLog.h"
#include "i18n/Messages.h"
#include "platform/Prompts.h"

namespace setfolio {

std::optional<std::string> CurrentLibraryLine(ReplyStatus status, int library,
                                              const MessageTexts& texts) {
    switch (status) {
    case ReplyStatus::Ok:
        return texts.Format(CatalogueLine::CurrentLibrary, {std::to_string(library)});
    case ReplyStatus::PortOff:
        return texts.Text(OwnMsg::SelectValidComPort);
    case ReplyStatus::Pending:
    case ReplyStatus::Aborted:
    case ReplyStatus::FileError:
        return std::nullopt;
    default:
        return texts.Format(CatalogueLine::CurrentLibraryUnknown, {texts.StatusText(status)});
    }
}

void ShowCurrentLibrary(int library, ReplyStatus status, const MessageTexts& texts,
                        Prompts& prompts, MessageLog& log) {
    if (status != ReplyStatus::Ok)
        prompts.WarningBeep();
    if (const auto line = CurrentLibraryLine(status, library, texts))
        log.AddMessageLine(*line);
}

} // namespace setfolio
