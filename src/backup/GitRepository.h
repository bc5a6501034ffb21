#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace setfolio {

// What a run of git gave back. exitCode is -1 when git could not be started or did not end.
struct GitOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `git arguments...` in `folder`, with `environment` added to the program's own.
using GitRunner =
    std::function<GitOutcome(const std::string& folder, const std::vector<std::string>& arguments,
                             const std::vector<std::pair<std::string, std::string>>& environment)>;

// The git work tree a backup's destination lies in. The backup commits only its own files, each
// named by path and staged in an index of its own, so whatever the user has staged or changed
// elsewhere stays as it was, and no hook of the repository runs.
class GitRepository {
public:
    GitRepository(std::string folder, GitRunner run);

    // Whether the backup may commit here; empty when it may, otherwise why not: the folder is not
    // in a git work tree, the repository is bare, a merge, rebase, cherry-pick, revert or bisect
    // is in progress, or HEAD is detached. Learns what the other calls need; call it first.
    std::string Check();
    // With Check: whether there is somewhere to push to. `remote` empty: the branch's upstream.
    std::string CheckPush(const std::string& remote);

    // Makes git ignore what the backup keeps for itself in the folder (.setfolio/: the run record
    // and the lock) and the temporary files of unfinished writes, through info/exclude, which
    // is never committed. False when it could not be written.
    bool IgnoreOwnFiles();

    struct Commit {
        bool ok = false;     // false: `problem` says why
        std::string hash;    // empty when the files held nothing new
        std::string problem; // what went wrong
        std::string warning; // the commit was made, but the user's index could not follow
    };
    // Commits the given files (relative to the folder), as they are in the work tree, on top of
    // HEAD, when any differs from HEAD. The user's index is brought up to date for these files
    // only.
    Commit CommitFiles(const std::vector<std::string>& files, const std::string& message);

    // Pushes the branch to the remote CheckPush settled on: empty on success, otherwise git's
    // own words.
    std::string Push();

    // The branch HEAD is on (e.g. "main"), once Check has passed.
    const std::string& Branch() const { return m_branch; }

private:
    GitOutcome Git(const std::vector<std::string>& arguments,
                   const std::vector<std::pair<std::string, std::string>>& environment = {}) const;
    std::string Problem(const std::string& doing, const GitOutcome& outcome) const;

    std::string m_folder;
    GitRunner m_run;
    std::string m_prefix;  // the folder's path inside the work tree, with a trailing slash
    std::string m_exclude; // the repository's info/exclude file
    std::string m_indexFile;
    std::string m_branch;
    std::string m_pushRemote;
    std::string m_pushRef; // the branch on the remote
};

} // namespace setfolio
