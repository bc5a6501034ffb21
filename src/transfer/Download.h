#pragma once

#include "transfer/TransferContext.h"

#include <string>

namespace setfolio {

class TransferView;

// What the user asked for in the download dialog.
struct DownloadRequest {
    int first = 0;
    bool block = false; // the "to" box
    int last = 0;
    std::string fileName;
};

// One library with the engine of the current model's family, as RunDownload runs each: no
// pause, no report of the processor's library afterwards.
void DownloadLibrary(const TransferContext& context, TransferView& view, int library,
                     const std::string& path);

// Runs the engine of the current model's family once per library; a block stops at the first
// library that does not end Ok. Whatever the end, a download that selected a library puts the
// processor back on the library it was running (`activeLibrary` of the context) and reports it.
// The outcome is the exchange's reply status.
void RunDownload(const TransferContext& context, TransferView& view,
                 const DownloadRequest& request);

} // namespace setfolio
