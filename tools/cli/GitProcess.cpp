#include "GitProcess.h"

#include "qt/QtGitProcess.h"

namespace setfolio::cli {

GitOutcome RunGit(const std::string& folder, const std::vector<std::string>& arguments,
                  const std::vector<std::pair<std::string, std::string>>& environment) {
    return RunGitProcess(folder, arguments, environment);
}

} // namespace setfolio::cli
