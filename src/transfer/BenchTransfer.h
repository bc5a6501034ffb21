#pragma once

#include "transfer/TransferContext.h"
#include "transfer/Upload.h"

#include <string>

namespace setfolio {

class TransferView;

// One library of a bench-family processor: its "Common" and "User" dumps into the file.
void DownloadBench(const TransferContext& context, TransferView& view, int library,
                   const std::string& path);

// One library file into library `library` of a bench-family processor: "User" always, "Common"
// (calibration data) only when `includeCalibration`.
void UploadBench(const TransferContext& context, TransferView& view, UploadState& state,
                 int library, const std::string& path, bool includeCalibration);

} // namespace setfolio
