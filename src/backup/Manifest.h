#pragma once

#include "backup/BackupJob.h"

#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// The record of a backup run, as JSON: {"start", "end", "processors": [{"name", "model",
// "link", "activeBefore", "activeAfter", "failure", "libraries": [{"library", "status", "file",
// "bytes", "sha256", "changed", "seconds", "failure"}]}]}. A library that was never read (the
// link was gone) has the status "NotRead".
std::string ManifestJson(const std::vector<ProcessorBackup>& processors, std::string_view start,
                         std::string_view end);

// How many libraries of a run were written anew, held the same bytes already, or failed.
struct BackupCounts {
    int changed = 0;
    int unchanged = 0;
    int failed = 0;
};
BackupCounts CountLibraries(const std::vector<ProcessorBackup>& processors);

} // namespace setfolio
