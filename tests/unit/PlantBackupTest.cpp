#include "backup/PlantBackup.h"
#include "core/AtomicFile.h"
#include "core/ProfileFile.h"
#include "transfer/ProcessorSession.h"

#include "FakeEventLoop.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "SimulatedPlatform.h"
#include "TempFolder.h"

#include "PosixOnly.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace setfolio;
using setfolio::testing::TempFolder;
using Kind = PlantEvent::Kind;
using setfolio::testing::SimSetup;
using setfolio::testing::SimulatedPlatform;

namespace {

Inventory ReadInventory(const std::string& text) {
    Inventory inventory = ParseInventory(text);
    EXPECT_TRUE(inventory.problems.empty()) << inventory.problems[0].text;
    return inventory;
}

// Every event of a run, taken as a front end takes them, up to RunFinished.
std::vector<PlantEvent> RunToTheEnd(PlantBackup& plant) {
    plant.Start();
    std::vector<PlantEvent> events;
    do
        events.push_back(plant.NextEvent());
    while (events.back().kind != Kind::RunFinished);
    return events;
}

// A stand-in for the real backup: each library takes a moment; it notes who runs at once.
struct Recorder {
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::string, int> runningOnLine;
    int running = 0;
    int mostOnOneLine = 0;
    int mostAtOnce = 0;
    std::vector<std::string> called;

    PlantBackup::Job Job() {
        return [this](const InventoryProcessor& processor, const BackupJob::Progress& progress,
                      const std::function<bool()>& stopped) {
            const std::string line = PlantBackup::LineKey(processor);
            {
                std::unique_lock lock(mutex);
                called.push_back(processor.name);
                mostOnOneLine = std::max(mostOnOneLine, ++runningOnLine[line]);
                mostAtOnce = std::max(mostAtOnce, ++running);
                changed.notify_all();
                // Until two ran at once, other lines get the chance to run beside this one.
                changed.wait_for(lock, std::chrono::milliseconds(300),
                                 [this] { return mostAtOnce > 1; });
            }
            ProcessorBackup result;
            result.name = processor.name;
            for (std::size_t i = 0; i < processor.libraries.size() && !stopped(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                LibraryBackup library;
                library.library = processor.libraries[i];
                library.status = ReplyStatus::Ok;
                result.libraries.push_back(library);
                progress(i, library);
            }
            const std::lock_guard lock(mutex);
            --runningOnLine[line];
            --running;
            return result;
        };
    }
};

TEST(PlantBackup, ProcessorsOnOneLineTakeTurnsAndOtherLinesRunBesideThem) {
    SETFOLIO_POSIX_ONLY("one line reached by two names needs a symbolic link");
    TempFolder folder;
    WriteFileAtomically(folder.File("ttyUSB0"), "");
    std::filesystem::create_symlink(folder.File("ttyUSB0"), folder.File("adapter"));
    const Inventory inventory = ReadInventory("[A]\nModel=C-12\nSerial=" + folder.File("ttyUSB0") +
                                              "\nLibraries=1-3\n"
                                              "[B]\nModel=C-12\nTcp=10.0.0.1:4001\nLibraries=1\n"
                                              // the same device under another name
                                              "[C]\nModel=C-12\nSerial=" +
                                              folder.File("adapter") +
                                              "\nLibraries=4,5\n"
                                              "[D]\nModel=C-12\nTcp=10.0.0.1:4001\nLibraries=2\n"
                                              "[E]\nModel=C-12\nTcp=10.0.0.2\nLibraries=3\n");
    Recorder recorder;
    PlantBackup plant(inventory, 8, recorder.Job());
    const auto events = RunToTheEnd(plant);

    EXPECT_EQ(recorder.mostOnOneLine, 1) << "two processors of one line ran at once";
    EXPECT_GE(recorder.mostAtOnce, 2) << "the lines ran one after the other";
    const auto& results = plant.Results();
    ASSERT_EQ(results.size(), 5u);
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_EQ(results[i].name, inventory.processors[i].name) << "results in inventory order";
    // A line's processors in inventory order.
    const auto position = [&](const std::string& name) {
        return std::find(recorder.called.begin(), recorder.called.end(), name) -
               recorder.called.begin();
    };
    EXPECT_LT(position("A"), position("C"));
    EXPECT_LT(position("B"), position("D"));

    // Each processor: started, its libraries in order, finished; the run's end comes last.
    std::map<std::size_t, std::vector<PlantEvent>> byProcessor;
    for (std::size_t i = 0; i + 1 < events.size(); ++i) {
        ASSERT_NE(events[i].kind, Kind::RunFinished) << "the run ended before event " << i;
        byProcessor[events[i].processor].push_back(events[i]);
    }
    ASSERT_EQ(byProcessor.size(), 5u);
    for (const auto& [index, seen] : byProcessor) {
        const auto& processor = inventory.processors[index];
        ASSERT_EQ(seen.size(), processor.libraries.size() + 2) << processor.name;
        EXPECT_EQ(seen.front().kind, Kind::ProcessorStarted);
        EXPECT_EQ(seen.front().libraryCount, processor.libraries.size());
        for (std::size_t i = 0; i < processor.libraries.size(); ++i) {
            EXPECT_EQ(seen[i + 1].kind, Kind::LibraryFinished);
            EXPECT_EQ(seen[i + 1].libraryIndex, i);
            EXPECT_EQ(seen[i + 1].library.library, processor.libraries[i]);
            EXPECT_EQ(seen[i + 1].name, processor.name);
        }
        EXPECT_EQ(seen.back().kind, Kind::ProcessorFinished);
    }
    EXPECT_EQ(plant.NextEvent().kind, Kind::RunFinished) << "asked again, the end again";
}

TEST(PlantBackup, AStoppedRunStartsNothingNewAndTheRunningProcessorStopsReading) {
    const Inventory inventory = ReadInventory("[A]\nModel=C-12\nTcp=10.0.0.1\nLibraries=1-3\n"
                                              "[B]\nModel=C-12\nTcp=10.0.0.2\nLibraries=1\n"
                                              "[C]\nModel=C-12\nTcp=10.0.0.3\nLibraries=1\n");
    std::vector<std::string> called;
    PlantBackup* running = nullptr;
    PlantBackup plant(inventory, 1,
                      [&](const InventoryProcessor& processor, const BackupJob::Progress& progress,
                          const std::function<bool()>& stopped) {
                          called.push_back(processor.name);
                          ProcessorBackup result;
                          result.name = processor.name;
                          for (std::size_t i = 0; i < processor.libraries.size() && !stopped();
                               ++i) {
                              progress(i, LibraryBackup{});
                              running->Stop(); // as the user's Ctrl+C would, from anywhere
                          }
                          return result;
                      });
    running = &plant;
    const auto events = RunToTheEnd(plant);

    EXPECT_EQ(called, std::vector<std::string>{"A"});
    std::vector<std::pair<Kind, std::string>> seen;
    for (const auto& event : events)
        seen.emplace_back(event.kind, event.name);
    EXPECT_EQ(seen, (std::vector<std::pair<Kind, std::string>>{{Kind::ProcessorStarted, "A"},
                                                               {Kind::LibraryFinished, "A"},
                                                               {Kind::ProcessorFinished, "A"},
                                                               {Kind::ProcessorFailed, "B"},
                                                               {Kind::ProcessorFailed, "C"},
                                                               {Kind::RunFinished, ""}}));
    const auto& results = plant.Results();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].failure.empty());
    for (const std::size_t i : {1u, 2u}) {
        EXPECT_EQ(results[i].name, inventory.processors[i].name);
        EXPECT_FALSE(results[i].AllOk()) << "a processor never read is no success";
        EXPECT_TRUE(results[i].interrupted);
        ASSERT_EQ(results[i].libraries.size(), 1u);
        EXPECT_EQ(results[i].libraries[0].status, ReplyStatus::Pending);
    }
}

TEST(PlantBackup, AFaultOfOneProcessorIsItsFailureAndTheOthersGoOn) {
    const Inventory inventory = ReadInventory("[A]\nModel=C-12\nTcp=10.0.0.1\nLibraries=1\n"
                                              "[B]\nModel=C-12\nTcp=10.0.0.1\nLibraries=2\n");
    PlantBackup plant(inventory, 2,
                      [](const InventoryProcessor& processor, const BackupJob::Progress&,
                         const std::function<bool()>&) {
                          if (processor.name == "A")
                              throw std::runtime_error("disk full");
                          ProcessorBackup result;
                          result.name = processor.name;
                          return result;
                      });
    const auto events = RunToTheEnd(plant);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[1].kind, Kind::ProcessorFailed);
    EXPECT_EQ(events[1].failure, "disk full");
    EXPECT_EQ(events[3].kind, Kind::ProcessorFinished);
    EXPECT_EQ(plant.Results()[0].failure, "disk full");
}

TEST(PlantBackup, AnEmptyInventoryEndsAtOnce) {
    const Inventory inventory;
    PlantBackup plant(inventory, 4, nullptr);
    const auto events = RunToTheEnd(plant);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(plant.Results().empty());
}

// As the desktop takes them: woken by the hook, never waiting in its own thread.
TEST(PlantBackup, AFrontEndThatMustNotWaitIsToldOfEveryEventAndTakesThemAsTheyCome) {
    const Inventory inventory = ReadInventory("[A]\nModel=C-12\nTcp=10.0.0.1\nLibraries=1,2\n"
                                              "[B]\nModel=C-12\nTcp=10.0.0.2\nLibraries=3\n");
    Recorder recorder;
    std::mutex mutex;
    std::condition_variable woken;
    int queued = 0;
    PlantBackup plant(inventory, 2, recorder.Job());
    plant.SetOnEventQueued([&] {
        const std::lock_guard lock(mutex);
        ++queued;
        woken.notify_one();
    });
    EXPECT_FALSE(plant.TryNextEvent()) << "nothing before the start";
    plant.Start();
    int taken = 0;
    for (bool finished = false; !finished;) {
        {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(
                woken.wait_for(lock, std::chrono::seconds(10), [&] { return queued > taken; }));
        }
        while (const auto event = plant.TryNextEvent()) {
            ++taken;
            finished = event->kind == Kind::RunFinished;
            if (finished)
                break;
        }
    }
    EXPECT_EQ(taken, 8); // two starts, three libraries, two ends, the run's end
    EXPECT_EQ(queued, taken);
}

// One processor backed up by the library job on a simulated processor.
PlantBackup::Job SimulatedJob(const std::string& destination, SimSetup setup) {
    return PlantBackup::LibraryJob(
        [setup] { return std::make_unique<SimulatedPlatform>([](const std::string&) {}, setup); },
        destination, true, nullptr);
}

std::vector<ReplyStatus> Statuses(const ProcessorBackup& result) {
    std::vector<ReplyStatus> statuses;
    for (const auto& library : result.libraries)
        statuses.push_back(library.status);
    return statuses;
}

TEST(PlantBackup, AProcessorIsPutBackAfterAFailedLibraryOrALostLinkOrNamedWhenItCannotBe) {
    using enum ReplyStatus;
    const struct {
        std::string faults;
        std::vector<ReplyStatus> statuses;
        std::optional<int> activeAfter;
        int activeAtEnd;
        std::string notPutBack;
    } cases[] = {
        // The select of library 1 is refused: library 2 is read all the same.
        {"refuse 700 001 N12", {RunMode, Ok, Ok}, 7, 7, ""},
        // Library 2 gets no answer: a new connection puts the processor back, and reads no more.
        {"silent 700 002", {Ok, NoConnection, Pending}, 7, 7, ""},
        // The line goes dead in library 1 and stays so.
        {"drop-after 5",
         {NoConnection, Pending, Pending},
         std::nullopt,
         1,
         "left on library 1, was 7: no answer"},
    };
    for (const auto& test : cases) {
        TempFolder folder;
        const Inventory inventory =
            ReadInventory("[Line 3]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1-3\n");
        int activeAtEnd = -1;
        PlantBackup plant(inventory, 1,
                          SimulatedJob(folder.Path(), {test.faults, 7, &activeAtEnd}));
        const auto events = RunToTheEnd(plant);
        const ProcessorBackup& result = plant.Results()[0];
        EXPECT_EQ(Statuses(result), test.statuses) << test.faults;
        EXPECT_EQ(result.activeBefore, 7) << test.faults;
        EXPECT_EQ(result.activeAfter, test.activeAfter) << test.faults;
        EXPECT_EQ(activeAtEnd, test.activeAtEnd) << test.faults;
        EXPECT_EQ(result.notPutBack, test.notPutBack) << test.faults;
        EXPECT_FALSE(result.AllOk()) << test.faults;
        EXPECT_FALSE(result.interrupted) << test.faults;
        // The front end hears of a processor it cannot put back.
        const PlantEvent& last = events[events.size() - 2];
        EXPECT_EQ(last.notPutBack, test.notPutBack) << test.faults;
        EXPECT_EQ(last.kind,
                  test.notPutBack.empty() ? Kind::ProcessorFinished : Kind::ProcessorFailed)
            << test.faults;
    }
}

TEST(PlantBackup, AStopEndsTheLibraryBeingReadAndPutsTheProcessorBack) {
    TempFolder folder;
    const Inventory inventory =
        ReadInventory("[Line 3]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1-3\n");
    PlantBackup* running = nullptr;
    int activeAtEnd = -1;
    std::vector<std::string> commands;
    std::size_t atStop = 0;
    PlantBackup plant(
        inventory, 1,
        SimulatedJob(folder.Path(), {"", 7, &activeAtEnd, [&](const std::string& command) {
                                         commands.push_back(command);
                                         if (command == "700 002\r") {
                                             atStop = commands.size();
                                             running->Stop(); // as a signal does
                                         }
                                     }}));
    running = &plant;
    RunToTheEnd(plant);

    const ProcessorBackup& result = plant.Results()[0];
    ASSERT_NE(atStop, 0u);
    EXPECT_EQ(Statuses(result), (std::vector<ReplyStatus>{ReplyStatus::Ok, ReplyStatus::Aborted,
                                                          ReplyStatus::Pending}));
    EXPECT_TRUE(result.interrupted);
    EXPECT_EQ(result.activeAfter, 7);
    EXPECT_EQ(activeAtEnd, 7);
    EXPECT_TRUE(result.notPutBack.empty()) << result.notPutBack;
    EXPECT_FALSE(std::filesystem::exists(folder.File(result.libraries[1].file)));
    // Library 2 was cut short: far fewer commands followed its select than library 1 took.
    EXPECT_LT(commands.size() - atStop, atStop / 2) << "library 2 was read on";
    EXPECT_EQ(commands.back(), "701\r") << "the last word is the check that it is back";
}

TEST(PlantBackup, TheLibraryJobReadsEachProcessorOverItsOwnDeviceInItsWorker) {
    TempFolder folder;
    const Inventory inventory =
        ReadInventory("[Line 1]\nModel=C-12\nSerial=/dev/ttyUSB0\nLibraries=1,2\n"
                      "[Line 2]\nModel=C-12\nSerial=/dev/ttyUSB1\nBaud=19200\nLibraries=3\n");
    std::mutex mutex;
    std::vector<std::string> devices;
    PlantBackup plant(inventory, 2,
                      PlantBackup::LibraryJob(
                          [&] {
                              return std::make_unique<SimulatedPlatform>(
                                  [&](const std::string& device) {
                                      const std::lock_guard lock(mutex);
                                      devices.push_back(device);
                                  });
                          },
                          folder.Path(), true, nullptr));
    RunToTheEnd(plant);

    std::sort(devices.begin(), devices.end());
    EXPECT_EQ(devices, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
    for (const auto& result : plant.Results()) {
        EXPECT_TRUE(result.AllOk()) << result.name << ": " << result.failure;
        EXPECT_EQ(result.activeBefore, result.activeAfter) << "put back on its library";
        for (const auto& library : result.libraries) {
            const auto content = ReadWholeFile(folder.File(library.file));
            ASSERT_TRUE(content) << library.file;
            EXPECT_NE(content->find("ModelNo=0"), std::string::npos) << library.file;
        }
    }
}

// C-30's QvSelect reads "N/A " for choices 2, 3 and 4: a processor holding 3 answers as for 2. A
// backup keeps the number the earlier backup has, and rewrites nothing for it.
TEST(PlantBackup, ChoicesWithTheSameTextKeepTheEarlierBackupsNumber) {
    TempFolder folder;
    const Inventory inventory =
        ReadInventory("[Line 1]\nModel=C-30\nSerial=/dev/ttyUSB0\nLibraries=1\n");
    const auto backUp = [&] {
        PlantBackup plant(inventory, 1,
                          PlantBackup::LibraryJob(
                              [] {
                                  SimSetup setup;
                                  setup.modelType = 46;
                                  setup.setUp = [](sim::SimProcessor& sim) {
                                      sim.Receive("700 001\r"); // makes its values up
                                      sim.Receive("450\r");
                                      sim.libraries[1].parameters["QvSelect"] = "03";
                                  };
                                  return std::make_unique<SimulatedPlatform>(
                                      [](const std::string&) {}, setup);
                              },
                              folder.Path(), true, nullptr));
        RunToTheEnd(plant);
        EXPECT_TRUE(plant.Results().at(0).AllOk()) << plant.Results().at(0).failure;
        return plant.Results().at(0).libraries.at(0);
    };
    const std::string file = folder.File("Line 1/Library 001.lvf");
    EXPECT_TRUE(backUp().changed);
    EXPECT_EQ(ProfileFile(file).ReadText("MnemonicParms", "QvSelect", ""), "02");
    ProfileFile(file).WriteText("MnemonicParms", "QvSelect", "03");
    EXPECT_FALSE(backUp().changed);
    EXPECT_EQ(ProfileFile(file).ReadText("MnemonicParms", "QvSelect", ""), "03");
}

} // namespace
