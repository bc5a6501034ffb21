#pragma once

#include "backup/GitRepository.h"
#include "backup/Inventory.h"
#include "backup/Manifest.h"
#include "backup/RunLock.h"
#include "backup/RunRecord.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

// How a plant's backup is made, beside what its workers read.
struct BackupSettings {
    std::string destination;
    bool git = false;   // commit the backup's own files
    bool push = false;  // with git: push the branch afterwards
    std::string remote; // with push: where to; empty: the branch's upstream
    // Only some processors or libraries are read: the manifest keeps what it said of the others.
    // A run of the whole inventory leaves out what the inventory no longer has.
    bool partial = false;
};

// Everything a backup does besides reading the libraries, shared by the command line and the
// desktop: checks before any processor is contacted (the destination, the lock, the
// repository, every file writable), the removal of a killed run's unfinished writes, and after
// the run the manifest, the commit, the push and the run record. The lock is held while the
// object lives.
class BackupRun {
public:
    BackupRun(const Inventory& inventory, BackupSettings settings, GitRunner git);
    ~BackupRun();
    BackupRun(const BackupRun&) = delete;
    BackupRun& operator=(const BackupRun&) = delete;

    // Makes the destination, takes its lock, checks the repository and the files. Empty when the
    // run may start; otherwise each problem, one a line (usage trouble: nothing was sent).
    std::vector<std::string> Prepare();

    // What became of the run's own files.
    struct Outcome {
        RunRecord record;
        BackupCounts counts;
        std::string commitMessage; // with git, unless stopped: the message (committed or not)
        bool committed = false;    // a commit was made
        bool nothingToCommit = false;
        std::string commitWarning;
        std::size_t commitWarningAt = 0; // how many failures came before the warning
        bool pushed = false;
        // Each is also in record.failures: the manifest not written, the commit, the push.
        std::vector<std::string> failures;
        std::string recordText;     // what the record file holds (--json prints it)
        bool recordWritten = false; // false: the failure is not in record.failures
        std::string recordFile;
    };
    // After the runner's last event: `results` are PlantBackup::Results(), `start` when the run
    // began, `signal` the signal that stopped it (0: none), `now` the time as ISO 8601 UTC
    // (asked for the manifest's changes and the record's end).
    Outcome Finish(const std::vector<ProcessorBackup>& results, const std::string& start,
                   int signal, const std::function<std::string()>& now);

    const std::string& Branch() const;

private:
    const Inventory& m_inventory;
    BackupSettings m_settings;
    GitRunner m_git;
    std::unique_ptr<RunLock> m_lock;
    std::optional<GitRepository> m_repository;
};

// DIR/.setfolio/last-run.json of a backup folder.
std::string RunRecordFileOf(const std::string& destination);

// The run record a file holds (RunRecordJson); nothing when it is not one. Of each library only
// its number, status, file, changed and failure are read back; a status "NotRead" reads as
// Pending, an unknown one as Fail.
std::optional<RunRecord> ReadRunRecord(std::string_view json);

// One commit of a file's history in a git folder, newest first.
struct GitVersion {
    std::string commit;
    std::string date; // the commit's date, ISO 8601
    std::string subject;
    std::vector<std::string> files; // those of the asked paths it changed, relative to the folder
};

// The commits that changed `path` (a file or folder relative to `folder`; "." for all of it),
// newest first, through `git log`. Nothing when the folder is in no git work tree or git failed.
std::vector<GitVersion> GitHistory(const std::string& folder, const std::string& path,
                                   const GitRunner& git);

} // namespace setfolio
