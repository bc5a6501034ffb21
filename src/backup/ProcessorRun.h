#pragma once

#include "backup/Inventory.h"
#include "backup/ProcessorOutcome.h"
#include "transfer/ProcessorSession.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

class TransferView;
struct TransferContext;

// The frame a backup and a restore share for one processor: one session over its link (traced
// into a folder when asked), its active library asked for first, each library worked on in turn
// (no further one after a stop or a lost link), and in the end the processor put on the library
// it should run, over one new connection when the link was lost.
struct ProcessorRunOptions {
    const SiteVocabulary* texts = nullptr;
    std::string traceFolder; // <folder>/<name>.trace; none when empty
    // The library the processor is put on in the end, from the library it was running before
    // and what became of its libraries; nothing: it is left where the work left it.
    std::function<std::optional<int>(std::optional<int> activeBefore,
                                     const ProcessorBackup& result)>
        finalLibrary;
    // A library's failure when a stop ended it and no line said why.
    std::string stoppedFailure = "stopped while it was read";
};

// What the work on one library has at hand.
struct LibraryWork {
    ProcessorSession& session;
    TransferContext& context;
    TransferView& view;
    // The lines the library's failure is reported with (those of the message log and the error
    // boxes go here too); the frame joins them into `failure` when the library did not end Ok.
    std::vector<std::string>& lines;
    // What a download of the library read, when it read it whole.
    std::string& read;
    // Runs an exchange with the processor that a stop aborts.
    std::function<void(const std::function<void()>&)> abortable;
};

// Runs one processor: `work` sets each library's status (and what else it tells). The entries
// of `libraries` are those the result starts with.
ProcessorBackup RunProcessor(const LinkPlatform& platform, const InventoryProcessor& processor,
                             std::vector<LibraryBackup> libraries,
                             const ProcessorRunOptions& options, const LibraryProgress& progress,
                             const std::function<bool()>& stopped,
                             const std::function<void(LibraryWork&, LibraryBackup&)>& work);

// Lines joined as a failure shows them: "a / b".
std::string JoinedLines(const std::vector<std::string>& lines);

} // namespace setfolio
