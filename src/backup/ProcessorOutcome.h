#pragma once

#include "library/LibraryComparison.h"
#include "link/ReplyStatus.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

// What became of one library of a backup.
struct LibraryBackup {
    int library = 0;
    // Pending: not read (the link was gone, or the run was stopped first)
    ReplyStatus status = ReplyStatus::Pending;
    std::string file; // relative to the destination
    std::size_t bytes = 0;
    std::string sha256;
    bool changed = false; // the file was written; otherwise it holds these bytes already
    double seconds = 0;
    std::string failure; // the lines the failure was reported with
    // A restore's (Restore.h): the parameters the library read back differs in from its file
    // (for a dry run, what a restore would change), what was read back, and whether a write that
    // failed had already sent part of the library.
    std::vector<ParameterDifference> differences;
    std::string readBack;
    bool partlyWritten = false;
};

// What became of one processor.
struct ProcessorBackup {
    std::string name;
    std::int32_t modelType = -1;
    std::string link;
    std::optional<int> activeBefore;
    std::optional<int> activeAfter;
    std::string failure; // the link could not be made, or the processor did not answer
    // The run was stopped before every library of this processor was read.
    bool interrupted = false;
    // Why the processor could not be put back on the library it was running: "left on library
    // 1, was 9: no answer". Empty when it is back, or was never moved.
    std::string notPutBack;
    std::vector<LibraryBackup> libraries;

    bool AllOk() const;
};

// Hears each library of a processor as it ends (its index among the processor's libraries,
// and it).
using LibraryProgress = std::function<void(std::size_t index, const LibraryBackup& library)>;

// How often a running backup or restore looks whether it has been stopped.
inline constexpr int RunStopWatchMs = 100;

} // namespace setfolio
