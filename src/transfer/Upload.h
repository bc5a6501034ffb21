#pragma once

#include "transfer/TransferContext.h"

#include <string>

namespace setfolio {

class MessageTexts;
class TransferView;
struct UnsendableValue;
struct UploadState;

// Why a value of a file cannot be sent, in a sentence.
std::string UnsendableText(const MessageTexts& texts, const UnsendableValue& value);

// What the user asked for in the upload dialog.
struct UploadRequest {
    int first = 0;
    bool block = false; // the "to" box
    int last = 0;
    std::string fileName;
    bool includeCalibration = false; // bench family: the "Include Cal data" box
};

// One library with the engine of the current model's family, as RunUpload runs each, once every
// value of the file is known to be sendable: no question (the bench family's calibration data is
// replaced when `includeCalibration` says so), no pause, no report of the processor's library
// afterwards. The menu family's global values go with `globals`. The outcome is the exchange's
// reply status; `state.libraryTouched` says whether a failed library was left partly written.
void UploadLibrary(const TransferContext& context, TransferView& view, UploadState& state,
                   int library, const std::string& path, bool globals, bool includeCalibration);

// Runs the engine of the current model's family once per library; a block stops at the first
// library that does not end Ok. The outcome is the exchange's reply status.
void RunUpload(const TransferContext& context, TransferView& view, UploadState& state,
               const UploadRequest& request);

} // namespace setfolio
