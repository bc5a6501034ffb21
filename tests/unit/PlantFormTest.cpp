#include "forms/PlantForm.h"
#include "backup/BackupRun.h"
#include "backup/RunLock.h"
#include "core/AtomicFile.h"
#include "core/CalendarTime.h"
#include "core/Settings.h"
#include "forms/LibraryViewForm.h"
#include "i18n/Localisation.h"

#include "FakeDialogs.h"
#include "FakePrompts.h"
#include "SimulatedPlatform.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <tuple>

using namespace setfolio;
using setfolio::testing::SimSetup;
using setfolio::testing::SimulatedPlatform;
using setfolio::testing::TempFolder;
using State = PlantForm::LibraryState;

namespace {

const std::string TwoProcessors = "[Line 1]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1-3\n"
                                  "[Line 2]\nModel=C-12\nTcp=10.0.0.2:4001\nLibraries=5,9\n";

// The manifest of an earlier backup: Line 1 ran library 2, Line 2 is not in it yet.
const std::string Manifest1 =
    R"({"processors":[{"name":"Line 1","model":"C-12","link":"serial /dev/ttyUSB0","active":2,)"
    R"("libraries":[)"
    R"({"library":1,"file":"Line 1/Library 001.lvf","bytes":5,"sha256":"a","changed":"2026-12-01T08:00:00.000Z"},)"
    R"({"library":2,"file":"Line 1/Library 002.lvf","bytes":5,"sha256":"b","changed":"2026-12-02T09:30:00.000Z"},)"
    R"({"library":3,"file":"Line 1/Library 003.lvf","bytes":5,"sha256":"c","changed":"2026-12-03T10:00:00.000Z"}]}]})";

// The record of the last run: library 1 changed, 2 the same, 3 failed; Line 2 not reached.
const std::string Record1 =
    R"({"start":"2026-12-09T02:00:00.000Z","end":"2026-12-09T02:05:00.000Z","interrupted":false,)"
    R"("signal":null,"commit":null,"failures":[],"processors":[)"
    R"({"name":"Line 1","model":"C-12","link":"serial /dev/ttyUSB0","activeBefore":2,)"
    R"("activeAfter":2,"interrupted":false,"notPutBack":null,"failure":null,"libraries":[)"
    R"({"library":1,"status":"Ok","file":"Line 1/Library 001.lvf","bytes":5,"sha256":"a","changed":true,"seconds":1.0,"failure":null},)"
    R"({"library":2,"status":"Ok","file":"Line 1/Library 002.lvf","bytes":5,"sha256":"b","changed":false,"seconds":1.0,"failure":null},)"
    R"({"library":3,"status":"RunMode","file":"Line 1/Library 003.lvf","bytes":null,"sha256":null,"changed":false,"seconds":1.0,"failure":null}]},)"
    R"({"name":"Line 2","model":"C-12","link":"tcp 10.0.0.2:4001","activeBefore":null,)"
    R"("activeAfter":null,"interrupted":false,"notPutBack":null,"failure":"cannot connect","libraries":[)"
    R"({"library":5,"status":"NotRead","file":"Line 2/Library 005.lvf","bytes":null,"sha256":null,"changed":false,"seconds":0,"failure":null}]}]})";

// The window's model on fakes, its inventory and backup folder in a temporary folder.
struct WindowWorld {
    TempFolder folder;
    Settings settings{folder.Path()};
    Localisation localisation;
    fake::FakeDialogs dialogs;
    fake::FakePrompts prompts;
    LibraryViewForm viewer{localisation, dialogs, prompts};
    GitRunner git; // none: the folder is in no repository
    std::function<std::unique_ptr<ThreadPlatform>()> platforms = [] {
        return std::make_unique<SimulatedPlatform>([](const std::string&) {}, SimSetup{"", 2});
    };
    std::unique_ptr<PlantForm> form;
    int opened = 0; // links opened to processors, with SilentProcessors

    // Processors that never answer, each link opened counted.
    void SilentProcessors() {
        platforms = [this] {
            ++opened;
            return std::make_unique<SimulatedPlatform>([](const std::string&) {});
        };
    }
    std::mutex mutex;
    std::condition_variable woken;
    int wakeUps = 0;

    WindowWorld() {
        folder.Write("plant.ini", TwoProcessors);
        std::filesystem::create_directories(folder.File("backup/.setfolio"));
    }
    std::string Backup(const std::string& name) const { return folder.File("backup/" + name); }

    PlantForm& Make() {
        form = std::make_unique<PlantForm>(PlantForm::Collaborators{
            settings, localisation, dialogs, prompts, viewer, [this] { return platforms(); },
            [this](const std::string& where, const std::vector<std::string>& arguments,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
                return git ? git(where, arguments, environment) : GitOutcome{};
            },
            nullptr, [] { return std::string("2026-12-10T03:00:00.000Z"); }, 4});
        form->SetWakeUp([this] {
            const std::lock_guard lock(mutex);
            ++wakeUps;
            woken.notify_all();
        });
        return *form;
    }
    // Opens the inventory with the backup folder (asked for the first time).
    PlantForm& Open() {
        Make();
        dialogs.folderToChoose = folder.File("backup");
        EXPECT_TRUE(form->OpenInventory(folder.File("plant.ini")));
        return *form;
    }
    // Takes the events as the window does when it is woken, until the action has ended.
    void RunToTheEnd() {
        while (form->Running()) {
            {
                std::unique_lock lock(mutex);
                ASSERT_TRUE(woken.wait_for(lock, std::chrono::seconds(20), [this] {
                    return wakeUps > 0;
                })) << "no event came";
                wakeUps = 0;
            }
            form->TakeEvents();
        }
    }
    const std::vector<std::string>& Log() const { return form->Log.Lines(); }
    bool Logged(const std::string& line) const {
        return std::find(Log().begin(), Log().end(), line) != Log().end();
    }
};

std::vector<State> States(const PlantForm::ProcessorRow& row) {
    std::vector<State> states;
    for (const auto& library : row.libraries)
        states.push_back(library.state);
    return states;
}

TEST(PlantForm, RowsShowEachProcessorsLastBackupAndItsLibrariesStates) {
    WindowWorld world;
    world.folder.Write("backup/manifest.json", Manifest1);
    world.folder.Write("backup/.setfolio/last-run.json", Record1);
    PlantForm& form = world.Open();

    const auto& rows = form.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].section, "Line 1");
    EXPECT_EQ(rows[0].model, "C-12");
    EXPECT_EQ(rows[0].link, "serial /dev/ttyUSB0 9600 8N2");
    EXPECT_EQ(rows[0].running, "Library 002");
    EXPECT_EQ(rows[0].lastBackup, LocalMinuteText("2026-12-09T02:05:00.000Z"));
    EXPECT_EQ(rows[0].outcome, "1 of 3 libraries failed");
    EXPECT_TRUE(rows[0].failed);
    EXPECT_EQ(States(rows[0]),
              (std::vector<State>{State::Changed, State::Unchanged, State::Failed}));
    EXPECT_EQ(rows[0].libraries[0].stateText, "changed");
    EXPECT_EQ(rows[0].libraries[1].changed, LocalMinuteText("2026-12-02T09:30:00.000Z"));
    EXPECT_EQ(rows[0].libraries[0].file, "Line 1/Library 001.lvf");

    EXPECT_EQ(rows[1].running, "");
    EXPECT_EQ(rows[1].outcome, "not reached: cannot connect");
    // Library 9 was never in a run: nothing is claimed of it.
    EXPECT_EQ(States(rows[1]), (std::vector<State>{State::NotRead, State::Unknown}));
    EXPECT_EQ(rows[1].libraries[1].stateText, "");
    EXPECT_FALSE(form.GitFolder());
    EXPECT_FALSE(form.HistoryBtn.enabled) << "no history without git";

    // The texts follow the language.
    world.localisation.Apply(Language::German);
    EXPECT_EQ(form.Rows()[0].libraries[0].stateText, "geändert");
    EXPECT_EQ(form.Rows()[0].running, "Bibliothek 002");
}

TEST(PlantForm, InAGitFolderEachLibraryChangedWhenItsFileWasLastCommitted) {
    WindowWorld world;
    world.folder.Write("backup/manifest.json", Manifest1);
    std::vector<std::vector<std::string>> asked;
    world.git = [&](const std::string&, const std::vector<std::string>& arguments,
                    const std::vector<std::pair<std::string, std::string>>&) {
        asked.push_back(arguments);
        const std::string out = arguments.back() == "."
                                    ? "\x1e"
                                      "c2\x1f"
                                      "2026-12-08T22:00:00+01:00\x1f"
                                      "Backup: 1 changed\n\n"
                                      "Line 1/Library 001.lvf\nmanifest.json\n"
                                      "\x1e"
                                      "c1\x1f"
                                      "2026-12-01T22:00:00+01:00\x1f"
                                      "Backup: 3 changed\n\n"
                                      "Line 1/Library 001.lvf\nLine 1/Library 002.lvf\n"
                                    : "\x1e"
                                      "c2\x1f"
                                      "2026-12-08T22:00:00+01:00\x1f"
                                      "Backup: 1 changed\n\n"
                                      "Line 1/Library 001.lvf\n"
                                      "\x1e"
                                      "c1\x1f"
                                      "2026-12-01T22:00:00+01:00\x1f"
                                      "Backup: 3 changed\n\n"
                                      "Line 1/Library 001.lvf\n";
        return GitOutcome{0, out, ""};
    };
    PlantForm& form = world.Open();
    ASSERT_TRUE(form.GitFolder());
    EXPECT_EQ(form.FolderLabel.caption, "Backup folder: " + world.folder.File("backup") + " (git)");
    const auto& libraries = form.Rows()[0].libraries;
    EXPECT_EQ(libraries[0].changed, LocalMinuteText("2026-12-08T22:00:00+01:00"))
        << "the newest commit of the file";
    EXPECT_EQ(libraries[1].changed, LocalMinuteText("2026-12-01T22:00:00+01:00"));
    EXPECT_EQ(libraries[2].changed, LocalMinuteText("2026-12-03T10:00:00.000Z"))
        << "never committed: the manifest says";

    // A library's history: its versions, newest first, with their dates.
    form.Select({{0, 1}});
    form.HistoryBtnClick();
    EXPECT_EQ(asked.back().back(), "Line 1/Library 001.lvf");
    EXPECT_EQ(form.Versions.items,
              (std::vector<std::string>{
                  LocalMinuteText("2026-12-08T22:00:00+01:00") + "  c2  Backup: 1 changed",
                  LocalMinuteText("2026-12-01T22:00:00+01:00") + "  c1  Backup: 3 changed"}));
    EXPECT_TRUE(form.CompareVersionsBtn.enabled);
    EXPECT_TRUE(world.Logged("Line 1/Library 001.lvf: 2 versions."));

    // A processor's line alone names no library.
    form.Select({{0, std::nullopt}});
    form.HistoryBtnClick();
    EXPECT_TRUE(world.Logged("Select a library first."));
}

TEST(PlantForm, AnActionTakesTheSelectedProcessorsAndLibrariesOrTheWholePlant) {
    using Selected = PlantForm::Selected;
    using Chosen = PlantForm::Chosen;
    const struct {
        const char* what;
        std::vector<Selected> selected;
        std::vector<Chosen> chosen;
    } cases[] = {
        {"nothing: every processor", {}, {{0, {1, 2, 3}}, {1, {5, 9}}}},
        {"a processor: all its libraries", {{1, std::nullopt}}, {{1, {5, 9}}}},
        {"libraries: those, in inventory order", {{0, 3}, {0, 1}}, {{0, {1, 3}}}},
        {"a processor and a library of another",
         {{1, std::nullopt}, {0, 2}},
         {{0, {2}}, {1, {5, 9}}}},
        {"a processor and one of its libraries", {{0, 2}, {0, std::nullopt}}, {{0, {1, 2, 3}}}},
    };
    WindowWorld world;
    PlantForm& form = world.Open();
    for (const auto& test : cases) {
        form.Select(test.selected);
        EXPECT_EQ(form.ChosenNow(), test.chosen) << test.what;
    }
}

TEST(PlantForm, ARestoreAsksFirstNamingProcessorsAndLibrariesAndNoSendsNothing) {
    WindowWorld world;
    world.SilentProcessors();
    PlantForm& form = world.Open();
    form.Select({{0, 1}, {0, 3}, {1, std::nullopt}});
    const std::string question = form.RestoreQuestion();
    EXPECT_EQ(question, "Restore these libraries from " + world.folder.File("backup") +
                            "? What the processors hold in them now is overwritten.\n\n"
                            "Line 1: libraries 1, 3\nLine 2: libraries 5, 9");
    world.prompts.answer = false;
    EXPECT_FALSE(form.RestoreBtnClick());
    EXPECT_EQ(world.prompts.shown.back(), "question:" + question);
    EXPECT_FALSE(form.Running());
    EXPECT_EQ(world.opened, 0) << "a processor was contacted";
}

TEST(PlantForm, TheBackupFolderIsChosenOnceForAnInventoryAndRemembered) {
    WindowWorld world;
    world.Open();
    EXPECT_EQ(world.dialogs.shown.back().substr(0, 14), "choose folder:");
    EXPECT_EQ(world.form->Folder(), world.folder.File("backup"));

    // The next time (another start of the program): no question, the same folder, and the
    // window opens the inventory by itself.
    world.dialogs.shown.clear();
    PlantForm& again = world.Make();
    again.FormShow();
    EXPECT_TRUE(again.Open());
    EXPECT_EQ(again.Folder(), world.folder.File("backup"));
    EXPECT_TRUE(world.dialogs.shown.empty());

    // Cancelled: the inventory is not opened.
    PlantForm& other = world.Make();
    world.folder.Write("other.ini", TwoProcessors);
    world.dialogs.folderToChoose.reset();
    EXPECT_FALSE(other.OpenInventory(world.folder.File("other.ini")));
    EXPECT_FALSE(other.Open());
    EXPECT_FALSE(other.BackupBtn.enabled);
}

TEST(PlantForm, AnInventoryWithProblemsIsRefusedNamingThem) {
    WindowWorld world;
    world.folder.Write("bad.ini", "[Line 1]\nModel=C-99\nSerial=/dev/ttyUSB0\nLibraries=1\n");
    PlantForm& form = world.Make();
    EXPECT_FALSE(form.OpenInventory(world.folder.File("bad.ini")));
    ASSERT_FALSE(world.prompts.shown.empty());
    EXPECT_EQ(world.prompts.shown.back().substr(0, 6 + world.folder.File("bad.ini").size()),
              "error:" + world.folder.File("bad.ini"));
    EXPECT_FALSE(form.Open());
}

TEST(PlantForm, BackUpNowReadsTheSelectedProcessorOnTheWorkersAndKeepsTheOthersInTheManifest) {
    WindowWorld world;
    world.folder.Write(
        "backup/manifest.json",
        R"({"processors":[{"name":"Line 2","model":"C-12","link":"tcp 10.0.0.2:4001","active":9,"libraries":[)"
        R"({"library":5,"file":"Line 2/Library 005.lvf","bytes":5,"sha256":"e","changed":"2026-12-01T08:00:00.000Z"}]}]})");
    PlantForm& form = world.Open();
    form.Select({{0, std::nullopt}});
    form.BackupBtnClick();
    ASSERT_TRUE(form.Running());
    EXPECT_FALSE(form.BackupBtn.enabled) << "one action at a time";
    EXPECT_TRUE(form.StopBtn.enabled);
    EXPECT_EQ(form.Progress.maximum, 3);
    world.RunToTheEnd();

    EXPECT_EQ(form.Progress.value, 3);
    EXPECT_TRUE(world.Logged("Line 1: library 1 backed up (changed).")) << world.Log().front();
    EXPECT_TRUE(world.Logged("Backup finished: 3 changed, 0 unchanged, 0 failed."));
    EXPECT_TRUE(FileExists(world.Backup("Line 1/Library 003.lvf")));
    const auto manifest = ReadManifest(*ReadWholeFile(world.Backup("manifest.json")));
    ASSERT_TRUE(manifest);
    ASSERT_EQ(manifest->processors.size(), 2u) << "Line 2 was not backed up and stays";
    EXPECT_EQ(manifest->processors[0].name, "Line 2");
    EXPECT_EQ(manifest->processors[1].libraries.size(), 3u);
    EXPECT_EQ(manifest->processors[1].active, 2);
    // The rows show the new run at once.
    EXPECT_EQ(form.Rows()[0].running, "Library 002");
    EXPECT_EQ(form.Rows()[0].lastBackup, LocalMinuteText("2026-12-10T03:00:00.000Z"));
    EXPECT_EQ(States(form.Rows()[0]),
              (std::vector<State>{State::Changed, State::Changed, State::Changed}));
    EXPECT_TRUE(form.BackupBtn.enabled);
    EXPECT_FALSE(form.StopBtn.enabled);
}

TEST(PlantForm, StopEndsTheActionAndSaysSo) {
    WindowWorld world;
    PlantForm& form = world.Open();
    form.Select({{0, std::nullopt}});
    form.BackupBtnClick();
    form.StopBtnClick();
    EXPECT_FALSE(form.StopBtn.enabled) << "stopped once";
    world.RunToTheEnd();
    EXPECT_EQ(world.Log().back(), "Stopped: no further library was started.");
    EXPECT_FALSE(form.Running());
    // Whatever was not read is not claimed as read.
    const auto record = ReadRunRecord(*ReadWholeFile(RunRecordFileOf(world.folder.File("backup"))));
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->interrupted || record->processors[0].libraries.size() < 3 ||
                record->processors[0].libraries.back().status != ReplyStatus::Ok);
}

TEST(PlantForm, NoActionStartsOnAFolderAnotherRunHolds) {
    WindowWorld world;
    world.SilentProcessors();
    PlantForm& form = world.Open();
    const RunLock other(form.Folder());
    for (const auto& action : {std::function<void()>([&] { form.BackupBtnClick(); }),
                               std::function<void()>([&] { form.VerifyBtnClick(); }),
                               std::function<void()>([&] { form.RestoreBtnClick(); })}) {
        world.form->Log.Clear();
        action();
        EXPECT_FALSE(form.Running());
        EXPECT_EQ(world.opened, 0);
        ASSERT_FALSE(world.Log().empty());
        EXPECT_EQ(world.Log().front().substr(0, 14), "another backup");
    }
}

// A processor backed up through the window, its libraries changed: a verify lists them without
// sending a value and shows each beside what the processor holds; a restore, once confirmed,
// writes them back and leaves the processor on the library the backup recorded.
TEST(PlantForm, VerifyListsWhatDiffersAndARestorePutsTheLibrariesBack) {
    WindowWorld world;
    world.folder.Write("plant.ini", "[Line 1]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1,2\n");
    const auto processor = sim::MakeProcessor(0);
    processor->activeLibrary = 2;
    world.platforms = [&processor] {
        SimSetup setup;
        setup.processor = processor.get();
        return std::make_unique<SimulatedPlatform>([](const std::string&) {}, setup);
    };
    PlantForm& form = world.Open();
    form.BackupBtnClick();
    world.RunToTheEnd();
    const auto library1 = processor->libraries.at(1).parameters;
    const auto library2 = processor->libraries.at(2).parameters;
    ASSERT_NE(library1, library2);
    std::swap(processor->libraries[1].parameters, processor->libraries[2].parameters);
    processor->activeLibrary = 1;

    form.VerifyBtnClick();
    ASSERT_TRUE(form.Running());
    world.RunToTheEnd();
    EXPECT_EQ(processor->libraries.at(1).parameters, library2) << "a verify sent a value";
    EXPECT_EQ(processor->activeLibrary, 1) << "a verify leaves the processor where it was";
    ASSERT_EQ(form.Differences.items.size(), 2u) << world.Log().back();
    EXPECT_TRUE(world.Log().back().starts_with("Verify finished: 0 as backed up, 2 differ"));
    EXPECT_TRUE(form.ShowDifferenceBtn.enabled);
    form.ShowDifferenceBtnClick();
    EXPECT_EQ(world.dialogs.shown.back(), "library viewer");
    ASSERT_TRUE(world.viewer.Comparing());
    EXPECT_TRUE(world.viewer.FileA.caption.starts_with(
        JoinPath(world.folder.File("backup"), "Line 1/Library 001.lvf")));
    EXPECT_TRUE(world.viewer.FileB.caption.starts_with("Library 001, read back from Line 1"));
    EXPECT_FALSE(world.viewer.Rows().empty()) << "the viewer shows what differs";

    world.prompts.answer = true;
    EXPECT_TRUE(form.RestoreBtnClick());
    world.RunToTheEnd();
    EXPECT_EQ(world.Log().back(), "Restore finished: 2 read back equal, 0 differ, 0 failed.");
    EXPECT_TRUE(world.Logged("Line 1: library 1 restored and read back equal."));
    EXPECT_EQ(processor->libraries.at(1).parameters, library1);
    EXPECT_EQ(processor->libraries.at(2).parameters, library2);
    EXPECT_EQ(processor->activeLibrary, 2) << "the library the backup recorded runs";
}

// What the run record file holds reads back as it was written.
TEST(BackupRun, TheRunRecordReadsBackAsWritten) {
    RunRecord record;
    record.start = "2026-12-10T01:00:00.000Z";
    record.end = "2026-12-10T01:02:00.000Z";
    record.signal = 15;
    record.interrupted = true;
    record.commit = "abc";
    record.failures = {"cannot write x"};
    ProcessorBackup processor;
    processor.name = "Line \"3\"";
    processor.modelType = 0;
    processor.link = "tcp h:1";
    processor.activeBefore = 7;
    processor.notPutBack = "left on library 1, was 7: no answer";
    using enum ReplyStatus;
    for (const auto& [number, status, changed] :
         {std::tuple{1, Ok, true}, {2, Ok, false}, {3, RunMode, false}, {4, Pending, false}}) {
        LibraryBackup library;
        library.library = number;
        library.status = status;
        library.changed = changed;
        library.file = "Line 3/Library 00" + std::to_string(number) + ".lvf";
        processor.libraries.push_back(library);
    }
    record.processors = {processor};
    const auto read = ReadRunRecord(RunRecordJson(record));
    ASSERT_TRUE(read);
    EXPECT_EQ(RunRecordJson(*read), RunRecordJson(record));
    EXPECT_FALSE(ReadRunRecord("{\"start\":1}"));
    EXPECT_FALSE(ReadRunRecord("not json"));
}

TEST(BackupRun, GitHistoryReadsEachCommitAndItsFilesAndNothingWhenGitFails) {
    std::vector<std::string> asked;
    const GitRunner git = [&](const std::string& folder, const std::vector<std::string>& arguments,
                              const std::vector<std::pair<std::string, std::string>>&) {
        asked = arguments;
        if (folder == "nowhere")
            return GitOutcome{128, "", "fatal: not a git repository"};
        return GitOutcome{0,
                          "\x1e"
                          "c2\x1f"
                          "2026-12-08T22:00:00+01:00\x1f"
                          "Subject: with \x1f colon\n\n"
                          "Line 1/Library 001.lvf\n"
                          "\x1e"
                          "c1\x1f"
                          "2026-12-01T22:00:00+01:00\x1f"
                          "First\n\n"
                          "Line 1/Library 001.lvf\nmanifest.json\n",
                          ""};
    };
    const auto history = GitHistory("site", "Line 1/Library 001.lvf", git);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].commit, "c2");
    EXPECT_EQ(history[0].date, "2026-12-08T22:00:00+01:00");
    EXPECT_EQ(history[0].subject, "Subject: with \x1f colon");
    EXPECT_EQ(history[1].files,
              (std::vector<std::string>{"Line 1/Library 001.lvf", "manifest.json"}));
    EXPECT_EQ(asked.back(), "Line 1/Library 001.lvf");
    EXPECT_TRUE(GitHistory("nowhere", ".", git).empty());
}

// A run of some processors keeps what the manifest said of the others; a run of the whole
// inventory (the command line's) leaves out what the inventory no longer has.
TEST(BackupRun, APartialRunKeepsTheManifestsOtherEntries) {
    for (const bool partial : {true, false}) {
        TempFolder folder;
        folder.Write("manifest.json", Manifest1);
        const Inventory inventory = ParseInventory("[Line 2]\nModel=C-12\nTcp=h\nLibraries=5\n");
        BackupRun run(inventory, {folder.Path(), false, false, "", partial}, {});
        ASSERT_TRUE(run.Prepare().empty());
        ProcessorBackup result;
        result.name = "Line 2";
        result.modelType = 0;
        LibraryBackup library;
        library.library = 5;
        library.status = ReplyStatus::Ok;
        library.file = "Line 2/Library 005.lvf";
        library.sha256 = "f";
        result.libraries = {library};
        const auto outcome =
            run.Finish({result}, "2026-12-10T01:00:00Z", 0, [] { return std::string("end"); });
        EXPECT_TRUE(outcome.failures.empty());
        EXPECT_TRUE(outcome.recordWritten);
        const auto manifest = ReadManifest(folder.Read("manifest.json"));
        ASSERT_TRUE(manifest);
        std::vector<std::string> names;
        for (const auto& processor : manifest->processors)
            names.push_back(processor.name);
        const std::vector<std::string> expected = partial
                                                      ? std::vector<std::string>{"Line 1", "Line 2"}
                                                      : std::vector<std::string>{"Line 2"};
        EXPECT_EQ(names, expected);
        if (partial) {
            EXPECT_EQ(manifest->processors[0].libraries.size(), 3u);
        }
    }
}

} // namespace
