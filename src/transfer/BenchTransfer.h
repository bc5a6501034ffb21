#pragma once

#include "transfer/TransferContext.h"
#include "transfer/UploadFrame.h"

#include <optional>
#include <string>

namespace setfolio {

class TransferView;

// The pause between the libraries of a block.
inline constexpr int BenchBlockPauseMs = 2000;
// Waits of the bench upload.
inline constexpr int BenchUploadDelayMs = 500;
inline constexpr int UpdateProgressTickMs = 500;
inline constexpr int BenchAcknowledgeTimeOutMs = 8000;
// The acknowledgement time-out starts once no more than this many bytes wait to be sent.
inline constexpr std::size_t BenchDrainedQueueBytes = 100;

// One library of a bench-family processor: its "Common" and "User" dumps into the file.
void DownloadBench(const TransferContext& context, TransferView& view, int library,
                   const std::string& path);

// One library file into library `library` of a bench-family processor: "User" always, "Common"
// (calibration data) only when `includeCalibration`.
void UploadBench(const TransferContext& context, TransferView& view, UploadState& state,
                 int library, const std::string& path, bool includeCalibration);

// The progress range of sending a dump: the ticks of 500 ms its byte count (the second word of
// its first line) takes at `baudRate`, with 30 % added, plus 4. Nothing when the byte count is
// not a whole number of 0 or more.
std::optional<int> EstimateBenchUploadTicks(const std::string& firstLine, int baudRate);

} // namespace setfolio
