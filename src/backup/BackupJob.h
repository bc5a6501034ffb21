#pragma once

#include "backup/Inventory.h"
#include "library/LibraryComparison.h"
#include "link/ReplyStatus.h"
#include "transfer/ProcessorSession.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

struct SiteVocabulary;

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

// Where a library of a processor goes, relative to the destination: "<name>/Library NNN.lvf".
std::string LibraryFileOf(const InventoryProcessor& processor, int library);

// What keeps a backup of `inventory` from writing its files into `destination`, found before
// any processor is asked anything: the destination or a processor's folder that cannot be made
// or written into, a library file that is write-protected (as a download refuses it) or is no
// file. Symbolic links are followed, as a download follows them. Makes the folders.
std::vector<std::string> DestinationProblems(const Inventory& inventory,
                                             const std::string& destination);

// Backs up the libraries of one processor into <destination>/<name>/Library NNN.lvf: each is read
// as a download reads it; its file is replaced atomically, and only when its bytes differ from
// what the file holds. The processor's active library is asked for first and, unless `restore`
// is false, selected again at the end, whatever happened: after a failed library, after a lost
// link (over one new connection; no further library is read then) and after a stop. A serial
// processor's device is opened by its path.
class BackupJob {
public:
    using Platform = LinkPlatform;
    // Hears each library as it ends (its index among the processor's libraries, and it).
    using Progress = std::function<void(std::size_t index, const LibraryBackup& library)>;

    BackupJob(const InventoryProcessor& processor, std::string destination, bool restore,
              const SiteVocabulary* texts);

    // Once `stopped` says so (it may be asked from this thread's event loop at any time), the
    // library being read is aborted, no further library is read, and the active library is
    // still selected again.
    // Traces each processor's link to <folder>/<name>.trace (LinkTrace); no trace when empty.
    void SetTraceFolder(std::string folder) { m_traceFolder = std::move(folder); }
    ProcessorBackup Run(const Platform& platform, const Progress& progress,
                        const std::function<bool()>& stopped = {});

    // How often a running backup looks whether it has been stopped.
    static constexpr int StopWatchMs = 100;

private:
    const InventoryProcessor& m_processor;
    std::string m_destination;
    bool m_restore;
    const SiteVocabulary* m_texts;
    std::string m_traceFolder;
};

} // namespace setfolio
