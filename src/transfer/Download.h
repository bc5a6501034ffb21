#pragma once

#include "transfer/TransferContext.h"

#include <functional>
#include <string>

namespace setfolio {

class LibraryFileDraft;
class TransferView;

inline constexpr int ReportPauseMs = 1000;
inline constexpr int BenchBlockPauseMs = 2000;

// What the user asked for in the download dialog.
struct DownloadRequest {
    int first = 0;
    bool block = false; // the "to" box
    int last = 0;
    std::string fileName;
};

// Runs the engine of the current model's family once per library; a block stops at the first
// library that does not end Ok. The outcome is the exchange's reply status.
void RunDownload(const TransferContext& context, TransferView& view,
                 const DownloadRequest& request);

// One library of a coded-family processor into the file at `path`.
void DownloadCoded(const TransferContext& context, TransferView& view, int library,
                   const std::string& path);

// The frame of every download engine: `body` fills a working copy of the file at `path` (its
// model number already written); afterwards the copy replaces the file when the library ended
// Ok. A lost connection ends the library as NoConnection, a file that cannot be made or written
// is reported with ReportFileError.
void DownloadInto(const TransferContext& context, TransferView& view, const std::string& path,
                  const std::function<void(LibraryFileDraft&)>& body);

// The closing step of every download engine: keeps the file and reports "complete", or leaves
// the earlier file as it was and reports the failure.
void ReportDownloadResult(const TransferContext& context, TransferView& view, int library,
                          LibraryFileDraft& file);

// The error guard of the engines: a file that cannot be written is reported with an error box,
// the dialog stays open and the transfer ends with FileError.
void ReportFileError(const TransferContext& context, TransferView& view);

} // namespace setfolio
