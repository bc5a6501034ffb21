#pragma once

#include "transfer/TransferContext.h"

#include <functional>
#include <string>

namespace setfolio {

class LibraryFileDraft;
class TransferView;
class WriteError;

inline constexpr int ReportPauseMs = 1000;

// The frame of every download engine: `body` fills a working copy of the file at `path` (its
// model number already written) with library `library`; afterwards the copy replaces the file when
// the library ended Ok. A lost connection ends the library as NoConnection, a file that cannot be
// made or written is reported with ReportFileError.
void DownloadInto(const TransferContext& context, TransferView& view, int library,
                  const std::string& path, const std::function<void(LibraryFileDraft&)>& body);

// The closing step of every download engine: keeps the file and reports "complete", or leaves
// the earlier file as it was and reports the failure.
void ReportDownloadResult(const TransferContext& context, TransferView& view, int library,
                          LibraryFileDraft& file);

// The error guard of the engines: a file that cannot be written is reported with an error box
// (that names a write-protected file as such), the dialog stays open and the transfer ends with
// FileError.
void ReportFileError(const TransferContext& context, TransferView& view,
                     const WriteError* error = nullptr);

} // namespace setfolio
