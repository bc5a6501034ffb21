#pragma once

#include "transfer/TransferContext.h"

#include <string>

namespace setfolio {

class TransferView;
struct UploadState;

// One library of a coded-family processor into the file at `path`.
void DownloadCoded(const TransferContext& context, TransferView& view, int library,
                   const std::string& path);

// One library file into library `library` of a coded-family processor.
void UploadCoded(const TransferContext& context, TransferView& view, UploadState& state,
                 int library, const std::string& path);

} // namespace setfolio
