#include "backup/PlantBackup.h"

#include "core/Utf8Path.h"
#include "transfer/ProcessorSession.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

namespace setfolio {

namespace {

// A processor the run did not get to, as the record shows it.
ProcessorBackup NotStarted(const InventoryProcessor& processor, std::string failure) {
    ProcessorBackup result;
    result.name = processor.name;
    result.modelType = processor.modelType;
    result.link = processor.LinkText();
    result.failure = std::move(failure);
    for (const int library : processor.libraries) {
        LibraryBackup entry;
        entry.library = library;
        result.libraries.push_back(entry);
    }
    return result;
}

} // namespace

PlantBackup::Job PlantBackup::LibraryJob(PlatformFactory factory, std::string destination,
                                         bool restore, const SiteVocabulary* texts,
                                         std::string traceFolder) {
    return [factory = std::move(factory), destination = std::move(destination), restore, texts,
            traceFolder = std::move(traceFolder)](const InventoryProcessor& processor,
                                                  const BackupJob::Progress& progress,
                                                  const std::function<bool()>& stopped) {
        const auto platform = factory();
        BackupJob job(processor, destination, restore, texts);
        job.SetTraceFolder(traceFolder);
        return job.Run(platform->Link(), progress, stopped);
    };
}

std::string PlantBackup::LineKey(const InventoryProcessor& processor) {
    if (!processor.serial)
        return "tcp " + processor.host + ":" + std::to_string(processor.port);
    // Two names of one device (a link and its target) are one line.
    std::error_code error;
    const auto device = std::filesystem::weakly_canonical(PathOf(processor.device), error);
    return "serial " + (error ? processor.device : Utf8Of(device));
}

PlantBackup::PlantBackup(const Inventory& inventory, std::size_t workers, Job job)
    : m_inventory(inventory), m_job(std::move(job)), m_workers(std::max<std::size_t>(workers, 1)),
      m_results(inventory.processors.size()) {
    std::map<std::string, std::size_t> lines;
    for (std::size_t i = 0; i < inventory.processors.size(); ++i) {
        const auto [found, added] =
            lines.try_emplace(LineKey(inventory.processors[i]), m_groups.size());
        if (added)
            m_groups.emplace_back();
        m_groups[found->second].push_back(i);
    }
}

PlantBackup::~PlantBackup() {
    Stop();
    for (auto& thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
}

void PlantBackup::Start() {
    const std::size_t workers = std::min(m_workers, m_groups.size());
    {
        const std::lock_guard lock(m_mutex);
        m_running = workers;
    }
    if (workers == 0)
        Post(PlantEvent{});
    for (std::size_t i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { Work(); });
}

PlantEvent PlantBackup::NextEvent() {
    std::unique_lock lock(m_mutex);
    if (m_finished)
        return PlantEvent{};
    m_eventPosted.wait(lock, [this] { return !m_events.empty(); });
    return Take(lock);
}

std::optional<PlantEvent> PlantBackup::TryNextEvent() {
    std::unique_lock lock(m_mutex);
    if (m_finished)
        return PlantEvent{};
    if (m_events.empty())
        return std::nullopt;
    return Take(lock);
}

PlantEvent PlantBackup::Take(std::unique_lock<std::mutex>& lock) {
    PlantEvent event = std::move(m_events.front());
    m_events.pop_front();
    if (event.kind != PlantEvent::Kind::RunFinished)
        return event;
    m_finished = true;
    lock.unlock();
    // Every worker has posted its last event: what is left of each is its return.
    for (auto& thread : m_threads)
        thread.join();
    m_threads.clear();
    return event;
}

void PlantBackup::Post(PlantEvent event) {
    {
        const std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }
    m_eventPosted.notify_one();
    if (m_onEventQueued)
        m_onEventQueued();
}

void PlantBackup::Work() {
    for (;;) {
        std::size_t group = 0;
        {
            const std::lock_guard lock(m_mutex);
            if (m_nextGroup >= m_groups.size())
                break;
            group = m_nextGroup++;
        }
        for (const std::size_t index : m_groups[group])
            BackUp(index);
    }
    bool last = false;
    {
        const std::lock_guard lock(m_mutex);
        last = --m_running == 0;
    }
    if (last)
        Post(PlantEvent{});
}

void PlantBackup::BackUp(std::size_t index) {
    const InventoryProcessor& processor = m_inventory.processors[index];
    const std::size_t count = processor.libraries.size();
    PlantEvent event;
    event.processor = index;
    event.name = processor.name;
    event.libraryCount = count;
    ProcessorBackup result;
    if (Stopped()) {
        result = NotStarted(processor, "not started: the backup was stopped");
        result.interrupted = true;
    } else {
        event.kind = PlantEvent::Kind::ProcessorStarted;
        Post(event);
        try {
            result = m_job(
                processor,
                [this, event](std::size_t libraryIndex, const LibraryBackup& library) {
                    PlantEvent finished = event;
                    finished.kind = PlantEvent::Kind::LibraryFinished;
                    finished.libraryIndex = libraryIndex;
                    finished.library = library;
                    Post(std::move(finished));
                },
                [this] { return Stopped(); });
        } catch (const std::exception& error) {
            // A fault of one processor's backup is that processor's failure, not the run's end.
            result = NotStarted(processor, error.what());
        }
    }
    event.kind = result.failure.empty() && result.notPutBack.empty()
                     ? PlantEvent::Kind::ProcessorFinished
                     : PlantEvent::Kind::ProcessorFailed;
    event.failure = result.failure;
    event.notPutBack = result.notPutBack;
    {
        const std::lock_guard lock(m_mutex);
        m_results[index] = std::move(result);
    }
    Post(std::move(event));
}

} // namespace setfolio
