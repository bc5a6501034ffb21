#include "transfer/Upload.h"

#include "core/CurrentModel.h"
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

namespace setfolio {

namespace {

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
        switch (family) {
        case ModelFamily::CodedFamily:
            UploadCoded(context, view, state, library, path);
            break;
        case ModelFamily::MenuFamily:
            UploadMenu(context, view, state, library, path, library == request.first);
            break;
        case ModelFamily::BenchFamily:
            UploadBench(context, view, state, library, path, request.includeCalibration);
            break;
        case ModelFamily::NoFamily:
            break;
        }
    };
    if (!request.block) {
        if (confirmed())
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

void RunUpload(const TransferContext& context, TransferView& view, UploadState& state,
               const UploadRequest& request) {
    RunTransfer(context, view, AfterTransfer::ReportLibrary,
                [&] { UploadLibraries(context, view, state, request); });
}

} // namespace setfolio
