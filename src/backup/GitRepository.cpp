#include "backup/GitRepository.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

#include <unistd.h>

namespace setfolio {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, stop - start));
        start = stop + 1;
    }
    return lines;
}

std::string FirstLine(const std::string& text) {
    const auto lines = Lines(text);
    return lines.empty() ? std::string() : lines.front();
}

// A path inside the work tree as a pattern of info/exclude that matches only itself.
std::string Literal(const std::string& path) {
    std::string pattern;
    for (const char c : path) {
        if (c == '*' || c == '?' || c == '[' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

constexpr const char* BackupIdentity[] = {"-c", "user.name=setfolio-cli", "-c",
                                          "user.email=setfolio-cli@localhost"};

} // namespace

GitRepository::GitRepository(std::string folder, GitRunner run)
    : m_folder(std::move(folder)), m_run(std::move(run)) {}

GitOutcome
GitRepository::Git(const std::vector<std::string>& arguments,
                   const std::vector<std::pair<std::string, std::string>>& environment) const {
    return m_run(m_folder, arguments, environment);
}

std::string GitRepository::Problem(const std::string& doing, const GitOutcome& outcome) const {
    if (outcome.exitCode < 0)
        return "git could not be run to " + doing;
    std::string said;
    for (const auto& line : Lines(outcome.err)) {
        if (!line.empty())
            said += (said.empty() ? "" : " ") + line;
    }
    return "git could not " + doing + (said.empty() ? "" : ": " + said);
}

std::string GitRepository::Check() {
    namespace fs = std::filesystem;
    const GitOutcome where = Git({"rev-parse", "--is-bare-repository", "--is-inside-work-tree"});
    if (where.exitCode < 0)
        return "git could not be run";
    const auto answers = Lines(where.out);
    if (where.exitCode != 0 || answers.size() != 2)
        return m_folder + " is not in a git work tree";
    if (answers[0] == "true")
        return m_folder + " is in a bare git repository, which has no work tree";
    if (answers[1] != "true")
        return m_folder + " is not in a git work tree";

    const GitOutcome paths =
        Git({"rev-parse", "--show-prefix", "--git-path", "MERGE_HEAD", "--git-path", "rebase-merge",
             "--git-path", "rebase-apply", "--git-path", "CHERRY_PICK_HEAD", "--git-path",
             "REVERT_HEAD", "--git-path", "BISECT_LOG", "--git-path", "info/exclude", "--git-path",
             "setfolio-index"});
    // --show-prefix prints an empty line at the top of the work tree.
    std::vector<std::string> lines = Lines(paths.out);
    if (paths.exitCode != 0 || lines.size() != 9)
        return Problem("read the repository of " + m_folder, paths);
    const auto inFolder = [this](const std::string& path) {
        return PathOf(path).is_absolute() ? path : JoinPath(m_folder, path);
    };
    static constexpr const char* Operations[] = {"a merge",       "a rebase", "a rebase",
                                                 "a cherry-pick", "a revert", "a bisect"};
    for (std::size_t i = 0; i < std::size(Operations); ++i) {
        std::error_code error;
        if (fs::exists(PathOf(inFolder(lines[1 + i])), error))
            return std::string(Operations[i]) + " is in progress in the git repository of " +
                   m_folder + "; finish or abort it first";
    }
    m_prefix = lines[0];
    m_exclude = inFolder(lines[7]);
    m_indexFile =
        Utf8Of(fs::absolute(PathOf(inFolder(lines[8])))) + "." + std::to_string(::getpid());

    const GitOutcome head = Git({"symbolic-ref", "-q", "HEAD"});
    const std::string ref = FirstLine(head.out);
    if (head.exitCode != 0 || !ref.starts_with("refs/heads/"))
        return "HEAD is detached in the git repository of " + m_folder +
               "; check out a branch first";
    m_branch = ref.substr(std::string("refs/heads/").size());
    return {};
}

std::string GitRepository::CheckPush(const std::string& remote) {
    if (remote.empty()) {
        const GitOutcome name = Git({"config", "--get", "branch." + m_branch + ".remote"});
        const GitOutcome ref = Git({"config", "--get", "branch." + m_branch + ".merge"});
        if (name.exitCode != 0 || ref.exitCode != 0 || FirstLine(name.out).empty())
            return "the branch " + m_branch + " of " + m_folder +
                   " has no upstream to push to; set one (git branch --set-upstream-to) or "
                   "name a remote with --remote";
        m_pushRemote = FirstLine(name.out);
        m_pushRef = FirstLine(ref.out);
        return {};
    }
    // A remote's name, or a URL or path git can push to directly.
    const bool address =
        remote.find('/') != std::string::npos || remote.find(':') != std::string::npos;
    if (!address && Git({"remote", "get-url", "--", remote}).exitCode != 0)
        return "the git repository of " + m_folder + " has no remote named " + remote;
    m_pushRemote = remote;
    m_pushRef = "refs/heads/" + m_branch;
    return {};
}

bool GitRepository::IgnoreOwnFiles() {
    namespace fs = std::filesystem;
    const std::string folder = "/" + Literal(m_prefix);
    const std::string wanted[] = {
        "# setfolio-cli backup: its run record and lock, and unfinished writes",
        folder + ".setfolio/",
        folder + "**/*.tmp-??????",
    };
    std::string content = ReadWholeFile(m_exclude).value_or("");
    const auto lines = Lines(content);
    bool added = false;
    for (const auto& line : wanted) {
        if (std::find(lines.begin(), lines.end(), line) != lines.end())
            continue;
        if (!content.empty() && content.back() != '\n')
            content += '\n';
        content += line + "\n";
        added = true;
    }
    if (!added)
        return true;
    std::error_code error;
    fs::create_directories(PathOf(m_exclude).parent_path(), error);
    return WriteFileAtomically(m_exclude, content);
}

GitRepository::Commit GitRepository::CommitFiles(const std::vector<std::string>& files,
                                                 const std::string& message) {
    Commit commit;
    const GitOutcome head = Git({"rev-parse", "-q", "--verify", "HEAD^{commit}"});
    const std::string parent = head.exitCode == 0 ? FirstLine(head.out) : std::string();

    // The backup's files go into an index of its own, made from HEAD: the user's index and
    // everything else in the work tree take no part.
    const std::vector<std::pair<std::string, std::string>> ownIndex{
        {"GIT_INDEX_FILE", m_indexFile}};
    std::vector<std::string> add{"update-index", "--add", "--remove", "--"};
    add.insert(add.end(), files.begin(), files.end());
    std::string tree;
    if (const GitOutcome read =
            Git(parent.empty() ? std::vector<std::string>{"read-tree", "--empty"}
                               : std::vector<std::string>{"read-tree", parent},
                ownIndex);
        read.exitCode != 0) {
        commit.problem = Problem("read HEAD", read);
    } else if (const GitOutcome added = Git(add, ownIndex); added.exitCode != 0) {
        commit.problem = Problem("stage the backup's files", added);
    } else if (const GitOutcome written = Git({"write-tree"}, ownIndex); written.exitCode != 0) {
        commit.problem = Problem("write the tree", written);
    } else {
        tree = FirstLine(written.out);
    }
    DeleteFile(m_indexFile);
    if (!commit.problem.empty())
        return commit;
    if (!parent.empty()) {
        const GitOutcome before = Git({"rev-parse", parent + "^{tree}"});
        if (before.exitCode == 0 && FirstLine(before.out) == tree) {
            commit.ok = true;
            return commit;
        }
    }

    std::vector<std::string> make(std::begin(BackupIdentity), std::end(BackupIdentity));
    make.insert(make.end(), {"commit-tree", tree, "-m", message});
    if (!parent.empty())
        make.insert(make.end(), {"-p", parent});
    const GitOutcome made = Git(make);
    if (made.exitCode != 0) {
        commit.problem = Problem("commit", made);
        return commit;
    }
    const std::string hash = FirstLine(made.out);
    // Moves the branch only if nobody else moved it meanwhile.
    const GitOutcome moved =
        Git({"update-ref", "-m", "setfolio-cli backup: " + message, "HEAD", hash, parent});
    if (moved.exitCode != 0) {
        commit.problem = Problem("move " + m_branch + " to the new commit", moved);
        return commit;
    }
    commit.ok = true;
    commit.hash = hash;
    // The user's index follows for these files only, so that git status shows them unchanged.
    std::vector<std::string> follow{"update-index", "--add", "--remove", "--"};
    follow.insert(follow.end(), files.begin(), files.end());
    if (const GitOutcome followed = Git(follow); followed.exitCode != 0)
        commit.warning = Problem("bring the index up to date with the commit", followed);
    return commit;
}

std::string GitRepository::Push() {
    const GitOutcome pushed = Git({"push", "--quiet", "--", m_pushRemote, "HEAD:" + m_pushRef},
                                  {{"GIT_TERMINAL_PROMPT", "0"}});
    if (pushed.exitCode == 0)
        return {};
    return Problem("push " + m_branch + " to " + m_pushRemote, pushed);
}

} // namespace setfolio
