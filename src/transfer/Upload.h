#pragma once

#include "transfer/TransferContext.h"

#include <string>

namespace setfolio {

class TransferView;
struct UploadState;

// What the user asked for in the upload dialog.
struct UploadRequest {
    int first = 0;
    bool block = false; // the "to" box
    int last = 0;
    std::string fileName;
    bool includeCalibration = false; // bench family: the "Include Cal data" box
};

// Runs the engine of the current model's family once per library; a block stops at the first
// library that does not end Ok. The outcome is the exchange's reply status.
void RunUpload(const TransferContext& context, TransferView& view, UploadState& state,
               const UploadRequest& request);

} // namespace setfolio
