#include "backup/BackupJob.h"

#include "backup/ProcessorRun.h"

#include "core/AtomicFile.h"
#include "core/Sha256.h"
#include "core/Utf8Path.h"
#include "link/LibraryNumber.h"
#include "transfer/Download.h"

#include <filesystem>
#include <system_error>

namespace setfolio {

namespace {

// Whether a file can be made in `folder`: tried, as nothing else tells for sure (a read-only
// mount, an access list, a superuser's rights).
bool CanWriteInto(const std::string& folder) {
    const std::string probe = JoinPath(folder, ".setfolio-write-test");
    if (!WriteFileAtomically(probe, ""))
        return false;
    DeleteFile(probe);
    return true;
}

} // namespace

std::string LibraryFileOf(const InventoryProcessor& processor, int library) {
    return processor.name + "/Library " + FormatLibraryNumber(library) + ".lvf";
}

std::vector<std::string> DestinationProblems(const Inventory& inventory,
                                             const std::string& destination) {
    namespace fs = std::filesystem;
    std::vector<std::string> problems;
    const auto usable = [&problems](const fs::path& folder) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (!fs::is_directory(folder, error)) {
            problems.push_back("cannot make the folder " + Utf8Of(folder));
            return false;
        }
        if (!CanWriteInto(Utf8Of(folder))) {
            problems.push_back("cannot write into " + Utf8Of(folder));
            return false;
        }
        return true;
    };
    if (!usable(PathOf(destination)))
        return problems;
    for (const auto& processor : inventory.processors) {
        if (!usable(PathOf(destination) / PathOf(processor.name)))
            continue;
        for (const int library : processor.libraries) {
            const std::string path = JoinPath(destination, LibraryFileOf(processor, library));
            std::error_code error;
            if (IsWriteProtected(path))
                problems.push_back(path + " is write-protected");
            else if (fs::exists(PathOf(path), error) && !fs::is_regular_file(PathOf(path), error))
                problems.push_back(path + " is not a file");
        }
    }
    return problems;
}

BackupJob::BackupJob(const InventoryProcessor& processor, std::string destination, bool restore,
                     const SiteVocabulary* texts)
    : m_processor(processor), m_destination(std::move(destination)), m_restore(restore),
      m_texts(texts) {}

ProcessorBackup BackupJob::Run(const Platform& platform, const Progress& progress,
                               const std::function<bool()>& stopped) {
    namespace fs = std::filesystem;
    std::vector<LibraryBackup> libraries;
    for (const int library : m_processor.libraries) {
        LibraryBackup entry;
        entry.library = library;
        entry.file = LibraryFileOf(m_processor, library);
        libraries.push_back(entry);
    }
    ProcessorRunOptions options;
    options.texts = m_texts;
    options.traceFolder = m_traceFolder;
    if (m_restore)
        options.finalLibrary = [](std::optional<int> activeBefore, const ProcessorBackup&) {
            return activeBefore;
        };
    return RunProcessor(
        platform, m_processor, std::move(libraries), options, progress, stopped,
        [this](LibraryWork& work, LibraryBackup& entry) {
            std::error_code ignored;
            fs::create_directories(PathOf(m_destination) / PathOf(m_processor.name), ignored);
            // Of choices with the same text, the earlier backup's number is kept.
            const std::string path = JoinPath(m_destination, entry.file);
            work.abortable([&] { DownloadLibrary(work.context, work.view, entry.library, path); });
            entry.status = work.session.exchange.replyStatus();
            if (entry.status != ReplyStatus::Ok)
                return;
            const std::string& content = work.read;
            entry.bytes = content.size();
            entry.sha256 = Sha256Hex(content);
            // Unchanged bytes leave the file as it is, time stamp and all.
            entry.changed = ReadWholeFile(path) != content;
            if (entry.changed && IsWriteProtected(path)) {
                entry.status = ReplyStatus::FileError;
                entry.changed = false;
                work.lines.push_back(path + " is write-protected");
            } else if (entry.changed && !WriteFileAtomically(path, content)) {
                entry.status = ReplyStatus::FileError;
                entry.changed = false;
                work.lines.push_back("Unable to write to " + path);
            }
        });
}

} // namespace setfolio
