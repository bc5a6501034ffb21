#include "backup/BackupJob.h"
#include "backup/RunLock.h"
#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include "PosixOnly.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <unistd.h>
#ifndef _WIN32
#include <sys/wait.h>
#endif

using namespace setfolio;
using setfolio::testing::TempFolder;

namespace {

std::string Pid(pid_t pid) {
    return std::to_string(pid);
}

TEST(RunLock, OneRunAtATimeAndTheHolderIsNamed) {
    TempFolder folder;
    {
        const RunLock first(folder.Path());
        ASSERT_EQ(first.State(), RunLock::Outcome::Held) << first.Problem();
        EXPECT_EQ(folder.Read(".setfolio/lock"), Pid(::getpid()) + "\n");
        EXPECT_EQ(folder.Read(".setfolio/.gitignore"), "*\n") << "kept out of git's sight";
        // A second open of the lock is another run, even in this process.
        const RunLock second(folder.Path());
        EXPECT_EQ(second.State(), RunLock::Outcome::Taken);
        EXPECT_EQ(second.Holder(), Pid(::getpid()));
    }
    // Released with its holder; a number left in the file stands in nobody's way.
    folder.Write(".setfolio/lock", "999999\n");
    const RunLock again(folder.Path());
    EXPECT_EQ(again.State(), RunLock::Outcome::Held);
    EXPECT_EQ(folder.Read(".setfolio/lock"), Pid(::getpid()) + "\n");
}

TEST(RunLock, TheLockOfAKilledRunIsGoneWithIt) {
#ifdef _WIN32
    SETFOLIO_POSIX_ONLY("the run that is killed is a child made with fork(2)");
#else
    TempFolder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const RunLock lock(folder.Path());
        const char held = lock.State() == RunLock::Outcome::Held ? 'y' : 'n';
        [[maybe_unused]] const auto written = ::write(ready[1], &held, 1);
        for (;;)
            ::pause();
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(held, 'y');
    {
        const RunLock second(folder.Path());
        EXPECT_EQ(second.State(), RunLock::Outcome::Taken);
        EXPECT_EQ(second.Holder(), Pid(child));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const RunLock after(folder.Path());
    EXPECT_EQ(after.State(), RunLock::Outcome::Held);
#endif
}

TEST(BackupDestination, FoldersAndFilesThatCannotBeWrittenAreFoundBeforeTheRun) {
    namespace fs = std::filesystem;
    const Inventory inventory = ParseInventory("[A]\nModel=C-12\nTcp=h\nLibraries=1,2\n"
                                               "[B]\nModel=C-12\nTcp=h\nLibraries=3\n");
    ASSERT_TRUE(inventory.problems.empty());
    const struct {
        const char* what;
        std::function<void(const TempFolder&)> prepare;
        std::string problem; // relative to the destination
    } cases[] = {
        {"all fine", [](const TempFolder&) {}, ""},
        {"a write-protected library file",
         [](const TempFolder& folder) {
             fs::create_directories(folder.File("dest/A"));
             folder.Write("dest/A/Library 002.lvf", "old");
             fs::permissions(folder.File("dest/A/Library 002.lvf"), fs::perms::owner_read);
         },
         "A/Library 002.lvf is write-protected"},
        {"a file where a folder goes",
         [](const TempFolder& folder) {
             fs::create_directories(folder.File("dest"));
             folder.Write("dest/B", "");
         },
         "cannot make the folder {}B"},
        {"a folder where a library file goes",
         [](const TempFolder& folder) {
             fs::create_directories(folder.File("dest/B/Library 003.lvf"));
         },
         "B/Library 003.lvf is not a file"},
    // Symbolic links are made by the standard library on POSIX only.
#ifndef _WIN32
        {"a link to a writable file",
         [](const TempFolder& folder) {
             fs::create_directories(folder.File("dest/A"));
             folder.Write("elsewhere.lvf", "old");
             fs::create_symlink(folder.File("elsewhere.lvf"),
                                folder.File("dest/A/Library 001.lvf"));
         },
         ""},
        {"a link to a write-protected file",
         [](const TempFolder& folder) {
             fs::create_directories(folder.File("dest/A"));
             folder.Write("elsewhere.lvf", "old");
             fs::permissions(folder.File("elsewhere.lvf"), fs::perms::owner_read);
             fs::create_symlink(folder.File("elsewhere.lvf"),
                                folder.File("dest/A/Library 001.lvf"));
         },
         "A/Library 001.lvf is write-protected"},
#endif
    };
    for (const auto& test : cases) {
        TempFolder folder;
        test.prepare(folder);
        const std::string destination = folder.File("dest");
        const auto problems = DestinationProblems(inventory, destination);
        if (test.problem.empty()) {
            EXPECT_TRUE(problems.empty()) << test.what << ": " << problems[0];
            EXPECT_TRUE(fs::is_directory(folder.File("dest/A"))) << test.what;
            EXPECT_TRUE(fs::is_directory(folder.File("dest/B"))) << test.what;
            std::vector<std::string> left;
            for (const auto& entry : fs::directory_iterator(destination))
                left.push_back(entry.path().filename().string());
            std::sort(left.begin(), left.end());
            EXPECT_EQ(left, (std::vector<std::string>{"A", "B"})) << test.what;
            continue;
        }
        std::string expected = test.problem;
        if (const auto at = expected.find("{}"); at != std::string::npos)
            expected.replace(at, 2, JoinPath(destination, ""));
        else
            expected = JoinPath(destination, expected);
        ASSERT_EQ(problems.size(), 1u) << test.what;
        EXPECT_EQ(problems[0], expected) << test.what;
    }
}

} // namespace
