#include "transfer/UploadFrame.h"

#include "core/AtomicFile.h"
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "transfer/DownloadFrame.h"

#include <optional>

namespace setfolio {

namespace {

// Why a file is not uploaded into the current model's processor: its tables would be empty (or
// another family's), and only the library select would go out, switching the processor's
// library for nothing. A file of another model of the same family is uploaded.
std::optional<std::string> Refusal(const TransferContext& context, const std::string& content,
                                   const std::string& path) {
    const auto stored = profile::FindValue(content, "SystemSettings", "ModelNo");
    const auto modelType = stored ? profile::ParseInteger(*stored) : std::nullopt;
    if (!modelType)
        return context.texts.Format(OwnMsg::FileHasNoModelNumber, {path});
    if (FamilyOf(*modelType) == context.model.Family())
        return std::nullopt;
    const std::string fileModel =
        EntryOf(*modelType) ? std::string(EntryOf(*modelType)->entry) : std::to_string(*modelType);
    const auto* processor = EntryOf(context.model.ModelType());
    const std::string processorModel =
        processor ? std::string(processor->entry) : std::to_string(context.model.ModelType());
    return context.texts.Format(OwnMsg::FileHoldsOtherModel, {path, fileModel, processorModel});
}

} // namespace

void UploadFrom(const TransferContext& context, UploadState& state, int library,
                const std::string& path, const std::function<void(const std::string&)>& body) {
    Exchange& exchange = context.exchange;
    state.libraryTouched = false;
    const int selectsBefore = exchange.SelectsForTransfer();
    try {
        const auto content = state.content      ? std::optional<std::string>(*state.content)
                             : FileExists(path) ? ReadWholeFile(path)
                                                : std::nullopt;
        if (!content) {
            exchange.Fail(ReplyStatus::FileError);
        } else if (const auto refusal = Refusal(context, *content, path)) {
            exchange.Fail(ReplyStatus::FileError);
            context.prompts.WarningBeep();
            context.log.AddMessageLine(
                context.texts.Format(CatalogueLine::UploadFailed, {*refusal}));
            return;
        } else {
            body(*content);
        }
    } catch (const TcpError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    } catch (const PortError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    }
    ReportUploadResult(context, state, ReportedLibrary(exchange, selectsBefore, library), path);
}

void ReportUploadResult(const TransferContext& context, const UploadState& state, int library,
                        const std::string& path) {
    const MessageTexts& texts = context.texts;
    const ReplyStatus status = context.exchange.replyStatus();
    if (status == ReplyStatus::Ok) {
        context.log.AddMessageLine(
            texts.Format(CatalogueLine::UploadComplete, {path, std::to_string(library)}));
        return;
    }
    context.prompts.WarningBeep();
    switch (status) {
    case ReplyStatus::TransactionError:
        context.log.AddMessageLine(
            state.lastParameterName.empty()
                ? texts.Format(CatalogueLine::UploadFailed,
                               {texts.StatusText(ReplyStatus::TransactionError)})
                : texts.Format(CatalogueLine::UploadFailedAt, {state.lastParameterName}));
        break;
    case ReplyStatus::FileError:
        context.log.AddMessageLine(texts.Format(CatalogueLine::UploadFileMissing, {path}));
        break;
    case ReplyStatus::Aborted:
        context.log.AddMessageLine(texts.Text(MsgId::MsgUploadAborted));
        break;
    case ReplyStatus::ValueError:
        break;
    default:
        if (const auto text = texts.StatusText(status); !text.empty())
            context.log.AddMessageLine(texts.Format(CatalogueLine::UploadFailed, {text}));
        break;
    }
    // The processor now holds a mix of the file's values and its own.
    if (state.libraryTouched)
        context.log.AddMessageLine(
            texts.Format(OwnMsg::LibraryPartlyWritten, {std::to_string(library)}));
}

} // namespace setfolio
