#pragma once

#include "backup/BackupJob.h"

#include <string>
#include <vector>

namespace setfolio {

// What one backup run did, for DIR/.setfolio/last-run.json and --json: it changes with every
// run, so it is kept out of the manifest and out of the repository.
struct RunRecord {
    std::string start; // UTC, ISO 8601
    std::string end;
    // The run was cut short (a signal, or a fault that ended it): libraries not read say so.
    bool interrupted = false;
    int signal = 0; // the signal that stopped it, 0 for none
    // Each processor: its libraries' outcomes, the library it was running before and after, and
    // why it failed.
    std::vector<ProcessorBackup> processors;
    // What went wrong beyond the processors: a file not written, the commit, the push.
    std::vector<std::string> failures;
    std::string commit; // the commit made by this run, if any
};

// {"start", "end", "interrupted", "signal", "commit", "failures": [...], "processors": [{"name",
// "model", "link", "activeBefore", "activeAfter", "interrupted", "notPutBack", "failure",
// "libraries": [{"library", "status", "file", "bytes", "sha256", "changed", "seconds",
// "failure"}]}]}. A library that was never read (the link was gone, or the run was stopped first)
// has the status "NotRead".
std::string RunRecordJson(const RunRecord& record);

} // namespace setfolio
