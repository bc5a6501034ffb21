#include "transfer/DownloadFrame.h"

#include "core/AtomicFile.h"
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "i18n/Messages.h"
#include "library/LibraryFile.h"
#include "link/Exchange.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/TcpClient.h"
#include "transfer/TransferView.h"

#include <optional>

namespace setfolio {

void ReportFileError(const TransferContext& context, TransferView& view, const WriteError* error) {
    std::string text = context.texts.Text(MsgId::MsgEnterValidFilename);
    if (error && error->Why() == WriteRefusal::WriteProtected)
        text = context.texts.Format(OwnMsg::FileIsWriteProtected, {error->Path()}) + " " + text;
    context.prompts.WarningBeep();
    context.prompts.ErrorBox(text);
    view.KeepOpen();
    context.exchange.Fail(ReplyStatus::FileError);
}

void DownloadInto(const TransferContext& context, TransferView& view, int library,
                  const std::string& path, const std::function<void(LibraryFileDraft&)>& body) {
    Exchange& exchange = context.exchange;
    const int selectsBefore = exchange.SelectsForTransfer();
    std::optional<LibraryFileDraft> file;
    try {
        if (context.readInto)
            // Of choices with the same text, the read keeps the number the file has.
            file.emplace(LibraryFileDraft::InMemory(
                context.readFrom ? *context.readFrom
                                 : ReadWholeFile(path).value_or(std::string())));
        else
            file.emplace(path);
        file->WriteInteger("SystemSettings", "ModelNo", context.model.ModelType());
        body(*file);
    } catch (const TcpError&) {
        // The connection went away: an ordinary failure of this library.
        exchange.Fail(ReplyStatus::NoConnection);
    } catch (const PortError&) {
        exchange.Fail(ReplyStatus::NoConnection);
    } catch (const WriteError& error) {
        // Anything else is no fault of the file the user chose: it goes on, with its own text,
        // to the handler that shows errors.
        ReportFileError(context, view, &error);
        return;
    }
    try {
        ReportDownloadResult(context, view, library, *file,
                             ReportedLibrary(exchange, selectsBefore, library));
    } catch (const WriteError& error) {
        ReportFileError(context, view, &error);
    }
}

int ReportedLibrary(const Exchange& exchange, int selectsBefore, int library) {
    return exchange.SelectsForTransfer() != selectsBefore ? exchange.TransferLibrary() : library;
}

void ReportDownloadResult(const TransferContext& context, TransferView& view, int library,
                          LibraryFileDraft& file, int reportedLibrary) {
    const Exchange& exchange = context.exchange;
    const MessageTexts& texts = context.texts;
    const ReplyStatus status = exchange.replyStatus();
    if (status == ReplyStatus::Ok && context.readInto) {
        context.readInto(library, file.Content());
        return;
    }
    if (status == ReplyStatus::Ok) {
        file.Commit();
        context.log.AddMessageLine(texts.Format(CatalogueLine::DownloadComplete,
                                                {std::to_string(reportedLibrary), file.Path()}));
        return;
    }
    // The working copy is dropped: an earlier file stays as it was.
    view.Pause(ReportPauseMs);
    context.prompts.WarningBeep();
    if (const auto statusText = texts.StatusText(status); !statusText.empty())
        context.log.AddMessageLine(texts.Format(CatalogueLine::DownloadFailed, {statusText}));
    else if (status == ReplyStatus::Aborted)
        context.log.AddMessageLine(texts.Text(MsgId::MsgDownloadAborted));
    if (context.model.Family() == ModelFamily::CodedFamily)
        context.log.AddMessageLine(exchange.lastLineReceived());
}

} // namespace setfolio
