#include "transfer/Upload.h"

#include "core/AtomicFile.h"
#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "i18n/Messages.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "platform/Prompts.h"
#include "transfer/BenchTransfer.h"
#include "transfer/CodedTransfer.h"
#include "transfer/MenuTransfer.h"
#include "transfer/TransferRun.h"
#include "transfer/TransferView.h"
#include "transfer/UploadFrame.h"
#include "transfer/UploadedValues.h"

#include <vector>

namespace setfolio {

std::string UnsendableText(const MessageTexts& texts, const UnsendableValue& value) {
    switch (value.why) {
    case UnsendableValue::Why::NotAChoiceNumber:
        return texts.Format(OwnMsg::UnsendableNotANumber, {value.section, value.name});
    case UnsendableValue::Why::ControlByte:
        return texts.Format(OwnMsg::UnsendableControlByte, {value.section, value.name});
    case UnsendableValue::Why::TooLong:
        break;
    }
    return texts.Format(OwnMsg::UnsendableTooLong,
                        {value.section, value.name, std::to_string(MaxProfileValueLength)});
}

namespace {

// Every file of the run is read through before the first library is selected: a value that
// cannot go out as a command would leave a library half written. Each file that holds such
// values gets a line naming all of them; then nothing is sent.
bool AllSendable(const TransferContext& context, const UploadState& state,
                 const std::vector<std::string>& files, bool includeCalibration,
                 bool firstHasGlobals = true) {
    bool sendable = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto content =
            state.content ? std::optional<std::string>(*state.content) : ReadWholeFile(files[i]);
        if (!content)
            continue; // the upload of that library says the file is missing
        const auto unsendable =
            UnsendableValues(*content, state.fileModelType, context.model.Family(),
                             i == 0 && firstHasGlobals, includeCalibration);
        if (unsendable.empty())
            continue;
        std::string list;
        for (const auto& value : unsendable)
            list += (list.empty() ? "" : "; ") + UnsendableText(context.texts, value);
        if (sendable)
            context.prompts.WarningBeep();
        sendable = false;
        context.log.AddMessageLine(context.texts.Format(
            CatalogueLine::UploadFailed,
            {context.texts.Format(OwnMsg::UploadUnsendable, {files[i], list})}));
    }
    if (!sendable)
        context.exchange.Fail(ReplyStatus::FileError);
    return sendable;
}

void RunEngine(const TransferContext& context, TransferView& view, UploadState& state, int library,
               const std::string& path, bool globals, bool includeCalibration) {
    switch (context.model.Family()) {
    case ModelFamily::CodedFamily:
        UploadCoded(context, view, state, library, path);
        break;
    case ModelFamily::MenuFamily:
        UploadMenu(context, view, state, library, path, globals);
        break;
    case ModelFamily::BenchFamily:
        UploadBench(context, view, state, library, path, includeCalibration);
        break;
    case ModelFamily::NoFamily:
        break;
    }
}

void UploadLibraries(const TransferContext& context, TransferView& view, UploadState& state,
                     const UploadRequest& request) {
    const MessageTexts& texts = context.texts;
    if (request.fileName.empty() || request.fileName == "*.lvf") {
        context.prompts.WarningBeep();
        context.prompts.ErrorBox(texts.Text(MsgId::MsgSelectFileToLoad));
        view.KeepOpen();
        return;
    }
    const ModelFamily family = context.model.Family();
    // The bench question: calibration data is replaced only when the user says so.
    const auto confirmed = [&] {
        if (family != ModelFamily::BenchFamily || !request.includeCalibration)
            return true;
        context.prompts.WarningBeep();
        if (context.prompts.WarningYesNo(texts.Format(CatalogueLine::CalibrationQuestion, {})))
            return true;
        view.KeepOpen();
        return false;
    };
    const auto engine = [&](int library, const std::string& path) {
        RunEngine(context, view, state, library, path, library == request.first,
                  request.includeCalibration);
    };
    if (!request.block) {
        if (AllSendable(context, state, {request.fileName}, request.includeCalibration) &&
            confirmed())
            engine(request.first, request.fileName);
        return;
    }
    const auto series = ParseBlockFileName(request.fileName);
    if (!series) {
        context.prompts.WarningBeep();
        context.prompts.ErrorBox(texts.Text(MsgId::MsgInvalidBlockFilename));
        view.KeepOpen();
        return;
    }
    std::vector<std::string> files;
    for (int library = request.first; library <= request.last; ++library)
        files.push_back(series->FileFor(library - request.first));
    if (!AllSendable(context, state, files, request.includeCalibration))
        return;
    for (int library = request.first; library <= request.last; ++library) {
        if (library == request.first && !confirmed())
            return;
        engine(library, series->FileFor(library - request.first));
        if (context.exchange.replyStatus() != ReplyStatus::Ok)
            return;
        if (family == ModelFamily::BenchFamily)
            view.Pause(BenchBlockPauseMs);
    }
}

} // namespace

void UploadLibrary(const TransferContext& context, TransferView& view, UploadState& state,
                   int library, const std::string& path, bool globals, bool includeCalibration) {
    state.libraryTouched = false;
    if (AllSendable(context, state, {path}, includeCalibration, globals))
        RunEngine(context, view, state, library, path, globals, includeCalibration);
}

void RunUpload(const TransferContext& context, TransferView& view, UploadState& state,
               const UploadRequest& request) {
    RunTransfer(context, view, AfterTransfer::ReportLibrary,
                [&] { UploadLibraries(context, view, state, request); });
}

} // namespace setfolio
