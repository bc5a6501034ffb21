#include "i18n/Messages.h"

#include "core/TextFormat.h"

namespace setfolio {

namespace {

// clang-format off
constexpr std::array<std::array<std::string_view, LanguageCount>, CatalogueLineCount> Lines{{
    {"{MsgCurrentLibraryIs} {}.", "{MsgCurrentLibraryIs} {}.", "{MsgCurrentLibraryIs} {}."},
    {"{MsgCurrentLibraryIs} ??? - {}", "{MsgCurrentLibraryIs} ??? - {}",
     "{MsgCurrentLibraryIs} ??? - {}"},
    {"{MsgDownloadOfLibrary} {} {MsgTo} {} {MsgComplete}",
     "{MsgDownloadOfLibrary} {} {MsgTo} {} {MsgComplete}",
     "{MsgDownloadOfLibrary} {} {MsgTo} {} {MsgComplete}"},
    {"{MsgDownloadFailed} - {}", "{MsgDownloadFailed} - {}", "{MsgDownloadFailed} - {}"},
    {"{MsgUploadOf} {} {MsgToLibrary} {} {MsgComplete}",
     "{MsgUploadOf} {} {MsgToLibrary} {} {MsgComplete}",
     "{MsgUploadOf} {} {MsgToLibrary} {} {MsgComplete}"},
    {"{MsgUploadFailed} - {}", "{MsgUploadFailed} - {}", "{MsgUploadFailed} - {}"},
    {"{MsgUploadFailed} - {MsgTransactionError}  ...{}",
     "{MsgUploadFailed} - {MsgTransactionError}  ...{}",
     "{MsgUploadFailed} - {MsgTransactionError}  ...{}"},
    {"{MsgUploadFailed} - {} {MsgDoesNotExist}", "{MsgUploadFailed} - {} {MsgDoesNotExist}",
     "{MsgUploadFailed} - {} {MsgDoesNotExist}"},
    {"{MsgCalibrationWarning} {MsgConfirmProceed}", "{MsgCalibrationWarning} {MsgConfirmProceed}",
     "{MsgCalibrationWarning} {MsgConfirmProceed}"},
}};
// clang-format on

} // namespace

std::string_view CatalogueLinePattern(CatalogueLine id, Language language) {
    return Lines[static_cast<std::size_t>(id)][static_cast<std::size_t>(language)];
}

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
    return FormatText(OwnText(id, m_language), arguments);
}

std::string MessageTexts::Format(OwnMsg id, std::span<const std::string_view> arguments) const {
    return FormatText(OwnText(id, m_language), arguments);
}

std::string MessageTexts::Format(CatalogueLine id,
                                 std::initializer_list<std::string_view> values) const {
    const auto message = [this](std::string_view name) -> std::optional<std::string> {
        const auto catalogue = TextCatalogue();
        for (std::size_t i = 0; i < MessageCount; ++i) {
            if (catalogue[i].target == name)
                return m_texts[i];
        }
        return std::nullopt;
    };
    return FormatText(CatalogueLinePattern(id, m_language), values, message);
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
