#pragma once

#include "backup/Inventory.h"
#include "backup/ProcessorOutcome.h"
#include "transfer/ProcessorSession.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

struct SiteVocabulary;

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
    using Progress = LibraryProgress;

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
    static constexpr int StopWatchMs = RunStopWatchMs;

private:
    const InventoryProcessor& m_processor;
    std::string m_destination;
    bool m_restore;
    const SiteVocabulary* m_texts;
    std::string m_traceFolder;
};

} // namespace setfolio
