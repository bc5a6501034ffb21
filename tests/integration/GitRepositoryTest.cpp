// The backup's commits in real git repositories, made in temporary folders; the user's and the
// system's git configuration take no part.
#include "backup/GitRepository.h"
#include "GitProcess.h"
#include "TempFolder.h"
#include "backup/Restore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace setfolio;
using setfolio::cli::RunGit;
using setfolio::testing::TempFolder;

namespace {

namespace fs = std::filesystem;

// A folder with a repository of its own and a git that knows nothing of this machine.
struct GitWorld {
    TempFolder folder;

    GitWorld() {
        ::setenv("GIT_CONFIG_NOSYSTEM", "1", 1);
        ::setenv("GIT_CONFIG_GLOBAL", "/dev/null", 1);
        ::setenv("GIT_CEILING_DIRECTORIES", fs::path(folder.Path()).parent_path().c_str(), 1);
    }

    std::string Path(const std::string& name) const { return folder.File(name); }

    // git in `where` (relative to the world's folder); the test fails if it does.
    std::string Git(const std::string& where, std::vector<std::string> arguments,
                    bool mustWork = true) const {
        const GitOutcome outcome = RunGit(Path(where), arguments, {});
        if (mustWork) {
            EXPECT_EQ(outcome.exitCode, 0) << arguments[0] << ": " << outcome.err;
        }
        return outcome.out;
    }

    void Write(const std::string& name, const std::string& bytes) const {
        fs::create_directories(fs::path(Path(name)).parent_path());
        folder.Write(name, bytes);
    }

    // A repository at `where` on branch main with one commit holding notes.txt.
    void Repository(const std::string& where) const {
        fs::create_directories(Path(where));
        Git(where, {"init", "--quiet", "--initial-branch=main"});
        Git(where, {"config", "user.name", "Tester"});
        Git(where, {"config", "user.email", "tester@localhost"});
        Write(where + "/notes.txt", "one\n");
        Git(where, {"add", "notes.txt"});
        Git(where, {"commit", "--quiet", "-m", "notes"});
    }

    std::string Check(const std::string& where) const {
        GitRepository repository(Path(where), RunGit);
        return repository.Check();
    }
};

TEST(GitRepository, RefusesARepositoryItCannotCommitIntoCleanly) {
    GitWorld world;
    fs::create_directories(world.Path("plain"));
    EXPECT_NE(world.Check("plain").find("not in a git work tree"), std::string::npos);
    world.Git("", {"init", "--quiet", "--bare", world.Path("bare.git")});
    EXPECT_NE(world.Check("bare.git").find("bare"), std::string::npos);

    world.Repository("repo");
    fs::create_directories(world.Path("repo/sub"));
    EXPECT_EQ(world.Check("repo/sub"), "");
    EXPECT_NE(world.Check("repo/.git").find("not in a git work tree"), std::string::npos);

    // A second branch whose notes conflict with main's.
    world.Git("repo", {"checkout", "--quiet", "-b", "other"});
    world.Write("repo/notes.txt", "other\n");
    world.Git("repo", {"commit", "--quiet", "-am", "other"});
    world.Git("repo", {"checkout", "--quiet", "main"});
    world.Write("repo/notes.txt", "main\n");
    world.Git("repo", {"commit", "--quiet", "-am", "main"});

    const struct {
        std::vector<std::string> start;
        std::vector<std::string> abort;
        std::string said;
    } states[] = {
        {{"merge", "--quiet", "other"}, {"merge", "--abort"}, "a merge is in progress"},
        {{"rebase", "--quiet", "other"}, {"rebase", "--abort"}, "a rebase is in progress"},
        {{"cherry-pick", "other"}, {"cherry-pick", "--abort"}, "a cherry-pick is in progress"},
        {{"bisect", "start"}, {"bisect", "reset"}, "a bisect is in progress"},
        {{"checkout", "--quiet", "--detach"}, {"checkout", "--quiet", "main"}, "HEAD is detached"},
    };
    for (const auto& state : states) {
        world.Git("repo", state.start, false);
        const std::string problem = world.Check("repo/sub");
        EXPECT_NE(problem.find(state.said), std::string::npos) << state.start[0] << ": " << problem;
        world.Git("repo", state.abort, false);
        world.Git("repo", {"reset", "--quiet", "--hard", "main"});
        EXPECT_EQ(world.Check("repo"), "") << state.start[0] << " was not undone";
    }
}

TEST(GitRepository, CommitsOnlyItsOwnFilesAndLeavesTheUsersWorkAsItWas) {
    GitWorld world;
    world.Repository("repo");
    // The backup goes into a subfolder whose name is a pattern to git.
    const std::string dir = "repo/site [1]*";
    world.Write(dir + "/keep.txt", "a file of the user's beside the backup\n");
    world.Git("repo", {"add", "--", "site [1]*/keep.txt"});
    world.Git("repo", {"commit", "--quiet", "-m", "site"});
    // The user's own work: a staged file at the root, a changed tracked file, an untracked file
    // in the backup's folder.
    world.Write("repo/staged.txt", "staged\n");
    world.Git("repo", {"add", "staged.txt"});
    world.Write("repo/notes.txt", "changed, not staged\n");
    world.Write(dir + "/.gitattributes", "* text=auto\n");
    const std::string statusBefore = world.Git("repo", {"status", "--porcelain"});

    GitRepository repository(world.Path(dir), RunGit);
    ASSERT_EQ(repository.Check(), "");
    ASSERT_TRUE(repository.IgnoreOwnFiles());
    ASSERT_TRUE(repository.IgnoreOwnFiles());
    world.Write(dir + "/manifest.json", "{}\n");
    world.Write(dir + "/Line \xC3\xA9/Library 001.lvf", "library\n");
    world.Write(dir + "/Line \xC3\xA9/Library 001.lvf.tmp-Ab12Cd", "half\n");
    world.Write(dir + "/.setfolio/last-run.json", "{}\n");
    const std::vector<std::string> files{"manifest.json", "Line \xC3\xA9/Library 001.lvf"};

    const auto commit = repository.CommitFiles(files, "Backup: 1 changed");
    ASSERT_TRUE(commit.ok) << commit.problem;
    EXPECT_EQ(commit.warning, "");
    ASSERT_FALSE(commit.hash.empty());
    EXPECT_EQ(world.Git("repo", {"rev-parse", "HEAD"}), commit.hash + "\n");
    EXPECT_EQ(world.Git("repo", {"-c", "core.quotePath=false", "show", "--name-only",
                                 "--format=%an %s", "HEAD"}),
              "setfolio-cli Backup: 1 changed\n\n"
              "site [1]*/Line \xC3\xA9/Library 001.lvf\nsite [1]*/manifest.json\n");
    // Everything of the user's is as it was; the backup's run record and its unfinished write
    // are ignored.
    EXPECT_EQ(world.Git("repo", {"status", "--porcelain"}), statusBefore);
    EXPECT_EQ(world.Git("repo", {"diff", "--cached", "--name-only"}), "staged.txt\n");
    EXPECT_EQ(world.folder.Read("repo/notes.txt"), "changed, not staged\n");
    std::ifstream exclude(world.Path("repo/.git/info/exclude"));
    const std::string excluded{std::istreambuf_iterator<char>(exclude), {}};
    EXPECT_NE(excluded.find("\n/site \\[1]\\*/.setfolio/\n"), std::string::npos) << excluded;
    EXPECT_EQ(excluded.find("setfolio-cli"), excluded.rfind("setfolio-cli")) << "written twice";

    // The same files again: nothing to commit.
    const auto again = repository.CommitFiles(files, "Backup: 0 changed");
    EXPECT_TRUE(again.ok) << again.problem;
    EXPECT_EQ(again.hash, "");
    EXPECT_EQ(world.Git("repo", {"rev-list", "--count", "HEAD"}), "3\n");
}

TEST(GitRepository, AFirstCommitAndAPushToTheUpstreamOrANamedRemote) {
    GitWorld world;
    world.Git("", {"init", "--quiet", "--bare", world.Path("central.git")});
    fs::create_directories(world.Path("site"));
    world.Git("site", {"init", "--quiet", "--initial-branch=main"});
    GitRepository repository(world.Path("site"), RunGit);
    ASSERT_EQ(repository.Check(), "") << "a branch without a commit yet";
    EXPECT_NE(repository.CheckPush("").find("no upstream"), std::string::npos);
    EXPECT_NE(repository.CheckPush("central").find("no remote named central"), std::string::npos);
    world.Write("site/manifest.json", "{}\n");
    const auto first = repository.CommitFiles({"manifest.json"}, "Backup: first");
    ASSERT_TRUE(first.ok) << first.problem;
    ASSERT_FALSE(first.hash.empty());

    // A path is a remote too; then the upstream is used.
    ASSERT_EQ(repository.CheckPush(world.Path("central.git")), "");
    EXPECT_EQ(repository.Push(), "");
    EXPECT_EQ(world.Git("central.git", {"rev-parse", "main"}), first.hash + "\n");
    world.Git("site", {"remote", "add", "origin", world.Path("central.git")});
    world.Git("site", {"fetch", "--quiet", "origin"});
    world.Git("site", {"branch", "--quiet", "--set-upstream-to=origin/main"});
    ASSERT_EQ(repository.CheckPush(""), "");

    world.Write("site/manifest.json", "{\"processors\":[]}\n");
    const auto second = repository.CommitFiles({"manifest.json"}, "Backup: second");
    ASSERT_TRUE(second.ok) << second.problem;
    EXPECT_EQ(repository.Push(), "");
    EXPECT_EQ(world.Git("central.git", {"rev-parse", "main"}), second.hash + "\n");

    // The central repository is gone: the push is named, the local commit stays.
    fs::rename(world.Path("central.git"), world.Path("moved.git"));
    world.Write("site/manifest.json", "{\"processors\":[1]}\n");
    const auto third = repository.CommitFiles({"manifest.json"}, "Backup: third");
    ASSERT_TRUE(third.ok) << third.problem;
    const std::string problem = repository.Push();
    EXPECT_NE(problem.find("could not push main to origin"), std::string::npos) << problem;
    EXPECT_EQ(world.Git("site", {"rev-parse", "HEAD"}), third.hash + "\n");
}

// A restore reads a backup as a revision holds it, byte for byte, from a folder below the top of
// the work tree, and leaves the work tree and the index as they were.
TEST(GitRepository, ARevisionOfABackupIsReadWithoutTouchingTheWorkTree) {
    GitWorld world;
    world.Repository("repo");
    const std::string file = "Line 3/Library 001.lvf";
    const std::string older = "[SystemSettings]\r\nModelNo=0\r\nHeading=caf\xe9\r\n";
    const std::string newer = "[SystemSettings]\r\nModelNo=0\r\nHeading=two\r\n";
    for (const std::string& bytes : {older, newer}) {
        world.Write("repo/backup/" + file, bytes);
        world.Git("repo", {"add", "backup"});
        world.Git("repo", {"commit", "--quiet", "-m", "backup"});
    }
    // The user's own work: a change staged, another one not.
    world.Write("repo/notes.txt", "staged\n");
    world.Git("repo", {"add", "notes.txt"});
    world.Write("repo/backup/" + file, "edited by hand\n");
    const std::string status = world.Git("repo", {"status", "--porcelain"});

    const struct {
        std::string revision;
        std::optional<std::string> bytes;
    } revisions[] = {{"HEAD~1", older}, {"HEAD", newer}, {"main", newer}};
    for (const auto& test : revisions) {
        const GitBackupOpening opening =
            GitRevisionBackup(world.Path("repo/backup"), test.revision, RunGit);
        ASSERT_TRUE(opening.source) << test.revision << ": " << opening.problem;
        EXPECT_EQ(opening.source->Read(file), test.bytes) << test.revision;
        EXPECT_EQ(opening.source->Read("Line 3/Library 002.lvf"), std::nullopt);
        EXPECT_EQ(opening.source->Name(), world.Path("repo/backup") + " at " + test.revision);
    }
    EXPECT_EQ(world.Git("repo", {"status", "--porcelain"}), status);
    EXPECT_EQ(world.folder.Read("repo/backup/" + file), "edited by hand\n");

    const struct {
        std::string folder;
        std::string revision;
        std::string problem;
    } refused[] = {
        {"repo/backup", "HEAD~5", "has no revision 'HEAD~5'"},
        {"repo/backup", "notes.txt", "has no revision 'notes.txt'"}, // a file, no commit
        {"repo/backup", "--all", "'--all' is no revision"},
        {"", "HEAD", "is not in a git work tree"},
    };
    for (const auto& test : refused) {
        const GitBackupOpening opening =
            GitRevisionBackup(world.Path(test.folder), test.revision, RunGit);
        EXPECT_FALSE(opening.source) << test.revision;
        EXPECT_NE(opening.problem.find(test.problem), std::string::npos)
            << test.revision << ": " << opening.problem;
    }
}

} // namespace
