#pragma once

#include "transfer/TransferContext.h"

#include <functional>
#include <string>

namespace setfolio {

class Exchange;
class LibraryFileDraft;
class TransferView;
class WriteError;

inline constexpr int ReportPauseMs = 1000;

// The frame of every download engine: `body` fills a working copy of the file at `path` (its
// model number already written) with library `library`; afterwards the copy replaces the file when
// the library ended Ok (a download that only reads gets a copy in memory that knows the file's
// earlier values). A lost connection ends the library as NoConnection, a file that cannot be
// made or written is reported with ReportFileError.
void DownloadInto(const TransferContext& context, TransferView& view, int library,
                  const std::string& path, const std::function<void(LibraryFileDraft&)>& body);

// The library a result line names: the processor's library as it stands after the library
// asked for was selected (the select's number, or what a later library query heard), or
// `library` when nothing was selected since `selectsBefore`.
int ReportedLibrary(const Exchange& exchange, int selectsBefore, int library);

// The closing step of every download engine: keeps the file and reports "complete" for
// `reportedLibrary`, or leaves the earlier file as it was and reports the failure. A download
// that only reads hands the content over as library `library`.
void ReportDownloadResult(const TransferContext& context, TransferView& view, int library,
                          LibraryFileDraft& file, int reportedLibrary);

// The error guard of the engines: a file that cannot be written is reported with an error box
// (that names a write-protected file as such), the dialog stays open and the transfer ends with
// FileError.
void ReportFileError(const TransferContext& context, TransferView& view,
                     const WriteError* error = nullptr);

} // namespace setfolio
