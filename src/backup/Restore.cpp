#include "backup/Restore.h"

#include "backup/ProcessorRun.h"
#include "core/AtomicFile.h"
#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "core/Sha256.h"
#include "core/Utf8Path.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "link/LibraryNumber.h"
#include "transfer/Download.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"
#include "transfer/UploadedValues.h"

#include <algorithm>
#include <set>

namespace setfolio {

namespace {

class Folder : public BackupSource {
public:
    explicit Folder(std::string folder) : m_folder(std::move(folder)) {}
    std::optional<std::string> Read(const std::string& file) const override {
        return ReadWholeFile(JoinPath(m_folder, file));
    }
    std::string Name() const override { return m_folder; }

private:
    std::string m_folder;
};

class GitRevision : public BackupSource {
public:
    GitRevision(std::string folder, std::string revision, std::string commit, std::string prefix,
                GitRunner run)
        : m_folder(std::move(folder)), m_revision(std::move(revision)), m_commit(std::move(commit)),
          m_prefix(std::move(prefix)), m_run(std::move(run)) {}
    std::optional<std::string> Read(const std::string& file) const override {
        // The bytes a checkout of the revision would write, without one: the work tree and the
        // index stay as they are.
        const GitOutcome read =
            m_run(m_folder, {"cat-file", "--filters", m_commit + ":" + m_prefix + file}, {});
        if (read.exitCode != 0)
            return std::nullopt;
        return read.out;
    }
    std::string Name() const override { return m_folder + " at " + m_revision; }

private:
    std::string m_folder;
    std::string m_revision;
    std::string m_commit;
    std::string m_prefix;
    GitRunner m_run;
};

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

std::string ModelText(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry ? std::string(entry->entry) : "number " + std::to_string(modelType);
}

std::optional<std::int32_t> FileModel(const std::string& content) {
    const auto stored = profile::FindValue(content, "SystemSettings", "ModelNo");
    return stored ? profile::ParseInteger(*stored) : std::nullopt;
}

// The model whose tables decide what a file sends into a processor: the file's own, or the
// processor's for a model that reads every file as one of its own.
std::int32_t SendingModel(const std::string& content, std::int32_t processorModel) {
    if (QuirksOf(processorModel).convertsEveryFile)
        return processorModel;
    return FileModel(content).value_or(processorModel);
}

// Why a library's file is not restored into the processor, or nothing.
std::optional<std::string> Refusal(const InventoryProcessor& processor, const BackupSource& source,
                                   const RestoreLibrary& library, bool globals) {
    const std::string where = source.Name() + ": " + library.file;
    const auto model = FileModel(library.content);
    if (!model)
        return where + " holds no model number";
    if (*model != processor.modelType && !QuirksOf(processor.modelType).convertsEveryFile)
        return where + " holds a library of model " + ModelText(*model) + ", not " +
               ModelText(processor.modelType) + " as the inventory says";
    const auto unsendable =
        UnsendableValues(library.content, SendingModel(library.content, processor.modelType),
                         FamilyOf(processor.modelType), globals, processor.includeCalibration);
    if (unsendable.empty())
        return std::nullopt;
    const MessageTexts texts;
    std::string list;
    for (const auto& value : unsendable)
        list += (list.empty() ? "" : "; ") + UnsendableText(texts, value);
    return where + " holds values that cannot be sent: " + list;
}

} // namespace

std::unique_ptr<BackupSource> FolderBackup(std::string folder) {
    return std::make_unique<Folder>(std::move(folder));
}

GitBackupOpening GitRevisionBackup(std::string folder, std::string revision, GitRunner run) {
    GitBackupOpening opening;
    if (revision.empty() || revision.front() == '-') {
        opening.problem = "'" + revision + "' is no revision";
        return opening;
    }
    const GitOutcome where =
        run(folder, {"rev-parse", "--is-inside-work-tree", "--show-prefix"}, {});
    if (where.exitCode < 0) {
        opening.problem = "git could not be run";
        return opening;
    }
    const std::string inside = FirstLine(where.out);
    if (where.exitCode != 0 || inside != "true") {
        opening.problem = folder + " is not in a git work tree";
        return opening;
    }
    // --show-prefix prints an empty line at the top of the work tree.
    const std::string rest = where.out.substr(std::min(where.out.size(), inside.size() + 1));
    const std::string prefix = FirstLine(rest);
    const GitOutcome commit =
        run(folder, {"rev-parse", "--verify", "--quiet", revision + "^{commit}"}, {});
    const std::string hash = FirstLine(commit.out);
    if (commit.exitCode != 0 || hash.empty()) {
        opening.problem = "the git repository of " + folder + " has no revision '" + revision + "'";
        return opening;
    }
    opening.source = std::make_unique<GitRevision>(std::move(folder), std::move(revision), hash,
                                                   prefix, std::move(run));
    return opening;
}

Inventory RestorePlan::Runnable() const {
    Inventory inventory;
    for (const auto& processor : processors) {
        if (!processor.refused.empty())
            continue;
        InventoryProcessor runnable = processor.processor;
        runnable.libraries.clear();
        for (const auto& library : processor.libraries)
            runnable.libraries.push_back(library.library);
        inventory.processors.push_back(std::move(runnable));
    }
    return inventory;
}

RestorePlan PlanRestore(const Inventory& inventory, const BackupSource& source,
                        const RestoreChoice& choice) {
    RestorePlan plan;
    const auto manifestText = source.Read("manifest.json");
    const auto manifest = manifestText ? ReadManifest(*manifestText) : std::nullopt;
    if (manifestText && !manifest)
        plan.problems.push_back(source.Name() + ": manifest.json is not a backup's manifest");
    std::set<std::string> chosen;
    for (const auto& name : choice.sections) {
        const bool known = std::any_of(inventory.processors.begin(), inventory.processors.end(),
                                       [&name](const auto& p) { return p.name == name; });
        if (!known)
            plan.problems.push_back("the inventory has no section [" + name + "]");
        chosen.insert(name);
    }
    if (!plan.problems.empty())
        return plan;

    bool anyFile = false;
    for (const auto& processor : inventory.processors) {
        if (!chosen.empty() && !chosen.contains(processor.name))
            continue;
        ProcessorRestore restore;
        restore.processor = processor;
        std::vector<int> numbers;
        if (manifest) {
            const auto found =
                std::find_if(manifest->processors.begin(), manifest->processors.end(),
                             [&processor](const auto& p) { return p.name == processor.name; });
            if (found != manifest->processors.end()) {
                restore.running = found->active;
                for (const auto& library : found->libraries)
                    numbers.push_back(library.library);
            }
        } else {
            numbers = processor.libraries;
        }
        if (choice.libraries) {
            // Only those asked for; one the backup does not hold is a missing file.
            numbers = *choice.libraries;
        }
        if (numbers.empty())
            restore.refused.push_back(source.Name() + " holds no library of " + processor.name);
        for (const int number : numbers) {
            RestoreLibrary library;
            library.library = number;
            library.file = LibraryFileOf(processor, number);
            const bool listed =
                !manifest ||
                std::any_of(manifest->processors.begin(), manifest->processors.end(),
                            [&](const ManifestProcessor& p) {
                                return p.name == processor.name &&
                                       std::any_of(
                                           p.libraries.begin(), p.libraries.end(),
                                           [number](const auto& l) { return l.library == number; });
                            });
            auto content = listed ? source.Read(library.file) : std::nullopt;
            if (!content) {
                restore.refused.push_back(source.Name() + ": " + library.file +
                                          (listed ? " is missing" : " is not in the backup"));
                continue;
            }
            anyFile = true;
            library.content = std::move(*content);
            if (const auto refusal = Refusal(processor, source, library, restore.libraries.empty()))
                restore.refused.push_back(*refusal);
            restore.libraries.push_back(std::move(library));
        }
        restore.processor.libraries.clear();
        for (const auto& library : restore.libraries)
            restore.processor.libraries.push_back(library.library);
        plan.processors.push_back(std::move(restore));
    }
    if (!manifest && !anyFile && plan.problems.empty())
        plan.problems.push_back(source.Name() + " holds no backup: no manifest.json, no library "
                                                "file");
    return plan;
}

PlantBackup::Job RestoreJob(PlantBackup::PlatformFactory factory, const RestorePlan& plan,
                            bool dryRun, const SiteVocabulary* texts, std::string traceFolder) {
    auto shared = std::make_shared<const RestorePlan>(plan);
    return [factory = std::move(factory), plan = std::move(shared), dryRun, texts,
            traceFolder = std::move(traceFolder)](const InventoryProcessor& processor,
                                                  const BackupJob::Progress& progress,
                                                  const std::function<bool()>& stopped) {
        const auto found = std::find_if(
            plan->processors.begin(), plan->processors.end(),
            [&processor](const auto& p) { return p.processor.name == processor.name; });
        ProcessorBackup nothing;
        nothing.name = processor.name;
        nothing.modelType = processor.modelType;
        nothing.link = processor.LinkText();
        if (found == plan->processors.end()) {
            nothing.failure = "not in the restore's plan";
            return nothing;
        }
        if (!found->refused.empty()) {
            nothing.failure = JoinedLines(found->refused);
            return nothing;
        }
        const ProcessorRestore& restore = *found;
        std::vector<LibraryBackup> libraries;
        for (const auto& library : restore.libraries) {
            LibraryBackup entry;
            entry.library = library.library;
            entry.file = library.file;
            entry.bytes = library.content.size();
            entry.sha256 = Sha256Hex(library.content);
            libraries.push_back(entry);
        }
        ProcessorRunOptions options;
        options.texts = texts;
        options.traceFolder = traceFolder;
        options.stoppedFailure = "stopped while it was restored";
        options.finalLibrary = [&restore, dryRun](std::optional<int> activeBefore,
                                                  const ProcessorBackup& result) {
            // A dry run changes nothing, the running library neither. A run that was stopped, or
            // whose running library could not be written, leaves the processor on the library
            // it ran before rather than on one half restored.
            if (dryRun || !restore.running || result.interrupted)
                return activeBefore;
            for (const auto& library : result.libraries) {
                if (library.library == *restore.running && library.status != ReplyStatus::Ok)
                    return activeBefore;
            }
            return restore.running;
        };
        const auto platform = factory();
        return RunProcessor(
            platform->Link(), processor, std::move(libraries), options, progress, stopped,
            [&restore, dryRun](LibraryWork& work, LibraryBackup& entry) {
                const auto library =
                    std::find_if(restore.libraries.begin(), restore.libraries.end(),
                                 [&entry](const auto& l) { return l.library == entry.library; });
                const std::string& content = library->content;
                const bool globals = library == restore.libraries.begin();
                const std::int32_t processorModel = restore.processor.modelType;
                const std::int32_t sending = SendingModel(content, processorModel);
                const bool calibration = restore.processor.includeCalibration;
                Exchange& exchange = work.session.exchange;
                if (!dryRun) {
                    UploadState state;
                    state.fileModelType = sending;
                    state.content = &content;
                    work.abortable([&] {
                        exchange.ForgetAbort();
                        UploadLibrary(work.context, work.view, state, entry.library, entry.file,
                                      globals, calibration);
                    });
                    entry.status = exchange.replyStatus();
                    if (entry.status != ReplyStatus::Ok) {
                        entry.partlyWritten = state.libraryTouched;
                        return;
                    }
                    entry.changed = true;
                }
                // Read back as a download reads, into memory: no file is written.
                work.context.readFrom = &content;
                work.abortable(
                    [&] { DownloadLibrary(work.context, work.view, entry.library, entry.file); });
                work.context.readFrom = nullptr;
                entry.status = exchange.replyStatus();
                if (entry.status != ReplyStatus::Ok) {
                    if (!dryRun)
                        work.lines.insert(work.lines.begin(),
                                          "written, but it could not be read back");
                    return;
                }
                entry.readBack = work.read;
                const SiteVocabulary* site = &work.session.siteTexts.Vocabulary();
                // A dry run compares what the processor holds with the file, every key; after a
                // write only what the file sent counts.
                const std::string expected =
                    dryRun ? content
                           : UploadedValues(content, sending, processorModel, globals, calibration);
                entry.differences = CompareLibraries(DecodeLibrary(expected, std::nullopt, site),
                                                     DecodeLibrary(work.read, std::nullopt, site));
                if (!dryRun)
                    std::erase_if(entry.differences, [](const auto& difference) {
                        return !difference.a || !difference.b;
                    });
            });
    };
}

} // namespace setfolio
