#pragma once

#include "backup/BackupJob.h"
#include "backup/GitRepository.h"
#include "backup/Inventory.h"
#include "backup/Manifest.h"
#include "backup/PlantBackup.h"
#include "library/LibraryComparison.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

struct SiteVocabulary;

// Where a restore takes a backup's files from: the folder as it is now, or the folder as a git
// revision holds it, read through git without touching the work tree.
class BackupSource {
public:
    virtual ~BackupSource() = default;
    // The bytes of a file of the backup, named relative to its folder ("manifest.json",
    // "Line 3/Library 009.lvf"); nothing when the backup has no such file.
    virtual std::optional<std::string> Read(const std::string& file) const = 0;
    // How messages name it: the folder, or "<folder> at <revision>".
    virtual std::string Name() const = 0;
};

// The backup folder as it is.
std::unique_ptr<BackupSource> FolderBackup(std::string folder);

// The backup folder as `revision` ("HEAD~3", "main@{last tuesday}", a commit) of the git work
// tree it lies in holds it. `problem` says why it cannot be read (not in a work tree, no such
// revision); then `source` is null.
struct GitBackupOpening {
    std::unique_ptr<BackupSource> source;
    std::string problem;
};
GitBackupOpening GitRevisionBackup(std::string folder, std::string revision, GitRunner run);

// What the user chose to restore.
struct RestoreChoice {
    std::vector<std::string> sections = {};         // none: every processor of the inventory
    std::optional<std::vector<int>> libraries = {}; // nothing: every library the backup holds
    bool dryRun = false;                            // read back and compare only: no value is sent
};

// One library a restore writes: its number, its file (relative to the backup folder), and what
// that file holds.
struct RestoreLibrary {
    int library = 0;
    std::string file;
    std::string content;
};

// What a restore does to one processor.
struct ProcessorRestore {
    InventoryProcessor processor; // its `libraries` are those restored, in order
    std::vector<RestoreLibrary> libraries;
    // The library the backup recorded it running, selected at the end; without one, the library
    // it was running before the restore. A dry run, a stopped run, and a run in which this very
    // library could not be written, leave it on the library it was running before.
    std::optional<int> running;
    // Why nothing is sent to it: a file of another model, a missing file. A processor refused is
    // not contacted.
    std::vector<std::string> refused;
};

// Everything a restore will do, worked out before any processor is contacted.
struct RestorePlan {
    // The processors chosen, in inventory order (refused ones too, each saying why).
    std::vector<ProcessorRestore> processors;
    // What keeps the restore from starting at all: a section the inventory does not have, a
    // backup without a manifest or files. Usage trouble (exit 2).
    std::vector<std::string> problems;

    // The processors to contact, as an inventory for the plant runner (PlantBackup): those not
    // refused, each with the libraries restored.
    Inventory Runnable() const;
};

RestorePlan PlanRestore(const Inventory& inventory, const BackupSource& source,
                        const RestoreChoice& choice);

// The plant runner's job for a restore (or, with `dryRun`, a verify): each library of the
// processor's plan is uploaded (unless `dryRun`), read back and compared with its file (as an
// upload's read-back compares: only what the file sends; a dry run compares every key, as a
// verify does); in the end the processor is put on its library (ProcessorRestore::running), on
// every path, as a backup puts a processor back. A refused processor's job is a failure naming
// why, without contacting it. Files are never written: the upload takes the plan's bytes, and
// the read-back stays in memory. The LibraryBackup of each
// library carries `differences`, `readBack` and `partlyWritten`.
PlantBackup::Job RestoreJob(PlantBackup::PlatformFactory factory, const RestorePlan& plan,
                            bool dryRun, const SiteVocabulary* texts, std::string traceFolder = {});

} // namespace setfolio
