#include "transfer/Download.h"

#include "core/CurrentModel.h"
#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "transfer/BenchTransfer.h"
#include "transfer/CodedTransfer.h"
#include "transfer/DownloadFrame.h"
#include "transfer/MenuTransfer.h"
#include "transfer/TransferRun.h"
#include "transfer/TransferView.h"

namespace setfolio {

namespace {

constexpr std::string_view Placeholder = "*.lvf";

void DownloadLibraries(const TransferContext& context, TransferView& view,
                       const DownloadRequest& request) {
    if (request.fileName.empty() || request.fileName == Placeholder) {
        // No file chosen: refused before anything is sent.
        ReportFileError(context, view);
        return;
    }
    const auto engine = [&](int library, const std::string& path) {
        DownloadLibrary(context, view, library, path);
    };
    if (!request.block) {
        engine(request.first, request.fileName);
        return;
    }
    for (int library = request.first; library <= request.last; ++library) {
        engine(library, InsertLibraryNumber(request.fileName, library));
        if (context.exchange.replyStatus() != ReplyStatus::Ok)
            return;
        if (context.model.Family() == ModelFamily::BenchFamily)
            view.Pause(BenchBlockPauseMs);
    }
}

} // namespace

void DownloadLibrary(const TransferContext& context, TransferView& view, int library,
                     const std::string& path) {
    switch (context.model.Family()) {
    case ModelFamily::CodedFamily:
        DownloadCoded(context, view, library, path);
        break;
    case ModelFamily::MenuFamily:
        DownloadMenu(context, view, library, path);
        break;
    case ModelFamily::BenchFamily:
        DownloadBench(context, view, library, path);
        break;
    case ModelFamily::NoFamily:
        break;
    }
}

void RunDownload(const TransferContext& context, TransferView& view,
                 const DownloadRequest& request) {
    RunTransfer(context, view, AfterTransfer::ReturnToActive,
                [&] { DownloadLibraries(context, view, request); });
}

} // namespace setfolio
