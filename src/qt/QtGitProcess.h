#pragma once

#include "backup/GitRepository.h"

namespace setfolio {

// Runs the git found on PATH, as a child process with no standard input, and waits for it (at
// most ten minutes, which a push over a slow line may need).
GitOutcome RunGitProcess(const std::string& folder, const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment);

} // namespace setfolio
