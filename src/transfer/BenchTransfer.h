#pragma once

#include "transfer/TransferContext.h"
#include "transfer/UploadFrame.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// A dump is cut off once its lines (two bytes of line end counted for each) pass twice the size
// its first line announced plus the slack, and in any case past the largest size: far more than
// a real library holds, yet little enough to keep in memory.
inline constexpr std::int64_t DumpSlackBytes = 64 * 1024;
inline constexpr std::int64_t MaxDumpBytes = 16 * 1024 * 1024;

// The size a dump's first line announces (its second word); 0 when it names none.
std::int64_t AnnouncedDumpBytes(std::string_view firstLine);
// How many bytes a dump that announced `announced` may run to.
std::int64_t AllowedDumpBytes(std::int64_t announced);

// One library of a bench-family processor: its "Common" and "User" dumps into the file. A dump
// that goes on past the size it may run to ends the library as CommandFailed, with a line that
// says why after the failure line.
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
