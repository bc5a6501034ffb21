#include "i18n/Messages.h"

namespace setfolio {

std::string_view CatalogueText(MsgId id, Language language) {
    return TextCatalogue()[static_cast<std::size_t>(id)].texts[static_cast<std::size_t>(language)];
}

MessageTexts::MessageTexts() {
    Apply(Language::English);
}

void MessageTexts::Apply(Language language) {
    m_language = language;
    for (std::size_t i = 0; i < MessageCount; ++i)
        m_texts[i] = std::string(CatalogueText(static_cast<MsgId>(i), language));
}

std::string MessageTexts::Format(OwnMsg id,
                                 std::initializer_list<std::string_view> arguments) const {
    const std::string_view pattern = OwnText(id, m_language);
    std::string text;
    auto argument = arguments.begin();
    std::size_t from = 0;
    for (auto mark = pattern.find("{}");
         mark != std::string_view::npos && argument != arguments.end();
         mark = pattern.find("{}", from)) {
        text.append(pattern.substr(from, mark - from)).append(*argument++);
        from = mark + 2;
    }
    return text.append(pattern.substr(from));
}

std::string MessageTexts::StatusText(ReplyStatus status) const {
    switch (status) {
    case ReplyStatus::TransactionError:
        return Text(MsgId::MsgTransactionError);
    case ReplyStatus::RunMode:
        return Text(MsgId::MsgRunMode);
    case ReplyStatus::CommunicationError:
        return Text(MsgId::MsgCommunicationError);
    case ReplyStatus::UnknownError:
        return Text(MsgId::MsgUnknownError);
    case ReplyStatus::NoConnection:
        return Text(MsgId::MsgNoConnection);
    case ReplyStatus::ValueError:
        return Text(MsgId::MsgValueError);
    case ReplyStatus::CommandFailed:
        return Text(MsgId::MsgCommandFailed);
    case ReplyStatus::InvalidCommand:
        return Text(MsgId::MsgInvalidCommand);
    case ReplyStatus::InvalidSource:
        return Text(MsgId::MsgInvalidSource);
    case ReplyStatus::InvalidValue:
        return Text(MsgId::MsgInvalidValue);
    case ReplyStatus::InvalidAction:
        return Text(MsgId::MsgInvalidAction);
    case ReplyStatus::ControlOrSpcOn:
        return Text(MsgId::MsgControlOrSpcOn);
    default:
        return {};
    }
}

} // namespace setfolio
