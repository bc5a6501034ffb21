#pragma once

#include "backup/BackupJob.h"
#include "backup/Inventory.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace setfolio {

class ThreadPlatform;
struct SiteVocabulary;

// What a plant's backup tells its front end, as it happens. Plain values: any front end may
// keep, copy or queue them.
struct PlantEvent {
    enum class Kind {
        ProcessorStarted,  // libraryCount
        LibraryFinished,   // libraryIndex (from 0), libraryCount, library
        ProcessorFinished, // every library was tried (each says how it went)
        ProcessorFailed,   // failure: the link could not be made, the processor did not answer,
                           // or the run was stopped before it started; or notPutBack
        RunFinished        // the last event; the results are complete
    };
    Kind kind = Kind::RunFinished;
    std::size_t processor = 0; // its place in the inventory
    std::string name;
    std::size_t libraryIndex = 0;
    std::size_t libraryCount = 0;
    LibraryBackup library;
    std::string failure;
    std::string notPutBack; // as ProcessorBackup::notPutBack
};

// Backs up every processor of an inventory on a pool of worker threads. Processors that share a
// line (one serial device, one TCP host and port) run one after the other, in inventory order;
// other lines run side by side. The front end takes the events from its own thread.
class PlantBackup {
public:
    // Backs up one processor in the calling worker thread: tells `progress` each library as it
    // ends and reads no further library once `stopped` says so.
    using Job = std::function<ProcessorBackup(const InventoryProcessor& processor,
                                              const BackupJob::Progress& progress,
                                              const std::function<bool()>& stopped)>;
    // Builds a worker's event loop and ports, in the worker's thread.
    using PlatformFactory = std::function<std::unique_ptr<ThreadPlatform>()>;

    // The job that reads and files the libraries (BackupJob), each processor on a platform of
    // its own from `factory`.
    static Job LibraryJob(PlatformFactory factory, std::string destination, bool restore,
                          const SiteVocabulary* texts, std::string traceFolder = {});

    // At most `workers` threads (at least one); `inventory` and `job` must outlive the run.
    PlantBackup(const Inventory& inventory, std::size_t workers, Job job);
    // Stops the run and waits for its workers.
    ~PlantBackup();
    PlantBackup(const PlantBackup&) = delete;
    PlantBackup& operator=(const PlantBackup&) = delete;

    // Called from a worker thread each time an event is queued: a front end with an event loop
    // of its own (the desktop) posts itself a wake-up there and takes the events with
    // TryNextEvent. Set before Start.
    void SetOnEventQueued(std::function<void()> handler) { m_onEventQueued = std::move(handler); }

    void Start();
    // Waits for the next event. RunFinished comes last, once every worker has ended; asked
    // again, it comes again.
    PlantEvent NextEvent();
    // The next event if one is queued, without waiting.
    std::optional<PlantEvent> TryNextEvent();
    // Starts no further processor; those running end the library they read (their exchange is
    // aborted from their own thread), read no further library and are put back on their active
    // library. Safe from any thread, and from a signal handler.
    void Stop() { m_stopped.store(true); }
    bool Stopped() const { return m_stopped.load(); }
    // What Stop sets: for a signal handler that may do nothing but store to an atomic flag.
    std::atomic<bool>& StopFlag() { return m_stopped; }
    // One per processor, in inventory order; complete once RunFinished has come.
    const std::vector<ProcessorBackup>& Results() const { return m_results; }

    // The line a processor is reached over: processors with the same key never run at once.
    static std::string LineKey(const InventoryProcessor& processor);

private:
    void Work();
    void BackUp(std::size_t index);
    void Post(PlantEvent event);
    // Takes the front event (one is queued); after RunFinished the workers are joined.
    PlantEvent Take(std::unique_lock<std::mutex>& lock);

    const Inventory& m_inventory;
    Job m_job;
    std::size_t m_workers;
    std::vector<std::vector<std::size_t>> m_groups; // inventory indexes, one group per line
    std::vector<ProcessorBackup> m_results;
    std::vector<std::thread> m_threads;
    std::atomic<bool> m_stopped{false};
    std::function<void()> m_onEventQueued;

    std::mutex m_mutex;
    std::condition_variable m_eventPosted;
    std::size_t m_nextGroup = 0;
    std::size_t m_running = 0; // workers not yet ended
    std::deque<PlantEvent> m_events;
    bool m_finished = false; // RunFinished has been taken
};

} // namespace setfolio
