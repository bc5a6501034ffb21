#include "transfer/UploadFrame.h"

#include "core/AtomicFile.h"
#include "core/MessageLog.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"

#include <optional>

namespace setfolio {

void UploadFrom(const TransferContext& context, const UploadState& state, int library,
                const std::string& path, const std::function<void(const std::string&)>& body) {
    Exchange& exchange = context.exchange;
    try {
        const auto content = FileExists(path) ? ReadWholeFile(path) : std::nullopt;
        if (!content)
            exchange.Fail(ReplyStatus::FileError);
        else
            body(*content);
    } catch (const TcpError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    } catch (const PortError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    }
    ReportUploadResult(context, state, library, path);
}

void ReportUploadResult(const TransferContext& context, const UploadState& state, int library,
                        const std::string& path) {
    const MessageTexts& texts = context.texts;
    const ReplyStatus status = context.exchange.replyStatus();
    if (status == ReplyStatus::Ok) {
        context.log.AddMessageLine(texts.Text(MsgId::MsgUploadOf) + " " + path + " " +
                                   texts.Text(MsgId::MsgToLibrary) + " " + std::to_string(library) +
                                   " " + texts.Text(MsgId::MsgComplete));
        return;
    }
    context.prompts.WarningBeep();
    const std::string failed = texts.Text(MsgId::MsgUploadFailed) + " - ";
    switch (status) {
    case ReplyStatus::TransactionError:
        context.log.AddMessageLine(
            failed + texts.Text(MsgId::MsgTransactionError) +
            (state.lastParameterName.empty() ? "" : "  ..." + state.lastParameterName));
        return;
    case ReplyStatus::FileError:
        context.log.AddMessageLine(failed + path + " " + texts.Text(MsgId::MsgDoesNotExist));
        return;
    case ReplyStatus::Aborted:
        context.log.AddMessageLine(texts.Text(MsgId::MsgUploadAborted));
        return;
    case ReplyStatus::ValueError:
        return;
    default:
        if (const auto text = texts.StatusText(status); !text.empty())
            context.log.AddMessageLine(failed + text);
        return;
    }
}

} // namespace setfolio
