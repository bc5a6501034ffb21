#include "backup/BackupRun.h"

#include "backup/BackupJob.h"
#include "backup/UnfinishedWrites.h"
#include "core/AtomicFile.h"
#include "core/ModelCatalogue.h"
#include "core/Utf8Path.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace setfolio {

namespace {

using Json = nlohmann::json;

std::string TextOf(const Json& object, const char* name) {
    const auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get<std::string>() : "";
}

std::optional<int> NumberOf(const Json& object, const char* name) {
    const auto found = object.find(name);
    if (found == object.end() || !found->is_number_integer())
        return std::nullopt;
    const auto value = found->get<long long>();
    return value >= 0 && value <= 999 ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
}

bool FlagOf(const Json& object, const char* name) {
    const auto found = object.find(name);
    return found != object.end() && found->is_boolean() && found->get<bool>();
}

ReplyStatus StatusNamed(const std::string& name) {
    if (name == "NotRead")
        return ReplyStatus::Pending;
    for (int value = 0; value <= static_cast<int>(ReplyStatus::PortOff); ++value) {
        if (NameOf(static_cast<ReplyStatus>(value)) == name)
            return static_cast<ReplyStatus>(value);
    }
    return ReplyStatus::UnknownError;
}

// A run of some processors or libraries only: what the manifest said of the others stays, in
// its order; a processor new to it comes last.
Manifest KeepUnread(const std::optional<Manifest>& previous, Manifest updated) {
    if (!previous)
        return updated;
    std::map<std::string, ManifestProcessor*> now;
    for (auto& processor : updated.processors)
        now.emplace(processor.name, &processor);
    Manifest merged;
    std::set<std::string> kept;
    for (const auto& old : previous->processors) {
        const auto found = now.find(old.name);
        if (found == now.end()) {
            merged.processors.push_back(old);
            continue;
        }
        ManifestProcessor processor = std::move(*found->second);
        std::set<std::string> files;
        for (const auto& library : processor.libraries)
            files.insert(library.file);
        for (const auto& library : old.libraries) {
            if (!files.count(library.file))
                processor.libraries.push_back(library);
        }
        std::stable_sort(processor.libraries.begin(), processor.libraries.end(),
                         [](const auto& a, const auto& b) { return a.library < b.library; });
        kept.insert(old.name);
        merged.processors.push_back(std::move(processor));
    }
    for (auto& processor : updated.processors) {
        if (!kept.count(processor.name))
            merged.processors.push_back(std::move(processor));
    }
    return merged;
}

} // namespace

BackupRun::BackupRun(const Inventory& inventory, BackupSettings settings, GitRunner git)
    : m_inventory(inventory), m_settings(std::move(settings)), m_git(std::move(git)) {}

BackupRun::~BackupRun() = default;

const std::string& BackupRun::Branch() const {
    static const std::string none;
    return m_repository ? m_repository->Branch() : none;
}

std::vector<std::string> BackupRun::Prepare() {
    const std::string& destination = m_settings.destination;
    std::error_code error;
    std::filesystem::create_directories(PathOf(destination), error);
    if (!std::filesystem::is_directory(PathOf(destination), error))
        return {"cannot make " + destination};
    // One run at a time into a folder, and nothing sent before the files are known to fit.
    m_lock = std::make_unique<RunLock>(destination);
    if (m_lock->State() == RunLock::Outcome::Taken)
        return {"another backup into " + destination + " is running" +
                (m_lock->Holder().empty() ? std::string() : " (process " + m_lock->Holder() + ")")};
    if (m_lock->State() == RunLock::Outcome::CannotLock)
        return {m_lock->Problem()};
    // Before any processor is contacted: a repository the backup cannot commit into cleanly is
    // refused.
    if (m_settings.git) {
        m_repository.emplace(destination, m_git);
        std::string problem = m_repository->Check();
        if (problem.empty() && m_settings.push)
            problem = m_repository->CheckPush(m_settings.remote);
        if (problem.empty() && !m_repository->IgnoreOwnFiles())
            problem = "cannot write the repository's info/exclude";
        if (!problem.empty())
            return {problem};
    }
    auto problems = DestinationProblems(m_inventory, destination);
    if (!problems.empty())
        return problems;
    std::vector<std::string> sections;
    for (const auto& processor : m_inventory.processors)
        sections.push_back(processor.name);
    RemoveUnfinishedWrites(destination, sections);
    return {};
}

BackupRun::Outcome BackupRun::Finish(const std::vector<ProcessorBackup>& results,
                                     const std::string& start, int signal,
                                     const std::function<std::string()>& now) {
    const std::string& destination = m_settings.destination;
    Outcome outcome;
    RunRecord& record = outcome.record;
    record.start = start;
    record.processors = results;
    record.interrupted = signal != 0;
    for (const auto& result : record.processors)
        record.interrupted = record.interrupted || result.interrupted;
    record.signal = signal;
    const auto failed = [&](const std::string& problem) {
        outcome.failures.push_back(problem);
        record.failures.push_back(problem);
    };

    // The manifest is rewritten only when what it says changed.
    const std::string manifestFile = JoinPath(destination, "manifest.json");
    const auto previousText = ReadWholeFile(manifestFile);
    const auto previous = previousText ? ReadManifest(*previousText) : std::nullopt;
    Manifest manifest = UpdatedManifest(previous, record.processors, record.start);
    if (m_settings.partial)
        manifest = KeepUnread(previous, std::move(manifest));
    const std::string manifestText = ManifestJson(manifest);
    if (manifestText != previousText && !WriteFileAtomically(manifestFile, manifestText))
        failed("cannot write " + manifestFile);

    outcome.counts = CountLibraries(record.processors);
    const BackupCounts& counts = outcome.counts;
    if (signal == 0 && m_repository) {
        std::vector<std::string> files{"manifest.json"};
        const auto libraries = ManifestFiles(manifest);
        files.insert(files.end(), libraries.begin(), libraries.end());
        outcome.commitMessage = "Backup: " + std::to_string(counts.changed) + " changed, " +
                                std::to_string(counts.unchanged) + " unchanged, " +
                                std::to_string(counts.failed) + " failed libraries";
        const GitRepository::Commit commit =
            m_repository->CommitFiles(files, outcome.commitMessage);
        if (!commit.ok) {
            failed(commit.problem);
        } else {
            record.commit = commit.hash;
            outcome.committed = !commit.hash.empty();
            outcome.nothingToCommit = commit.hash.empty();
            outcome.commitWarning = commit.warning;
            outcome.commitWarningAt = outcome.failures.size();
        }
        // A push that failed before is made up for by the next run, changes or not; the local
        // commit stays either way.
        if (commit.ok && m_settings.push) {
            if (const std::string problem = m_repository->Push(); problem.empty())
                outcome.pushed = true;
            else
                failed(problem);
        }
    }

    record.end = now();
    outcome.recordText = RunRecordJson(record);
    outcome.recordFile = RunRecordFileOf(destination);
    outcome.recordWritten = MakeFolders(JoinPath(destination, ".setfolio")) &&
                            WriteFileAtomically(outcome.recordFile, outcome.recordText);
    return outcome;
}

std::string RunRecordFileOf(const std::string& destination) {
    return JoinPath(JoinPath(destination, ".setfolio"), "last-run.json");
}

std::optional<RunRecord> ReadRunRecord(std::string_view json) {
    const Json document = Json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object())
        return std::nullopt;
    const auto processors = document.find("processors");
    if (processors == document.end() || !processors->is_array())
        return std::nullopt;
    RunRecord record;
    record.start = TextOf(document, "start");
    record.end = TextOf(document, "end");
    record.interrupted = FlagOf(document, "interrupted");
    record.commit = TextOf(document, "commit");
    if (const auto signal = document.find("signal");
        signal != document.end() && signal->is_number_integer())
        record.signal = signal->get<int>();
    if (const auto failures = document.find("failures");
        failures != document.end() && failures->is_array()) {
        for (const auto& failure : *failures) {
            if (failure.is_string())
                record.failures.push_back(failure.get<std::string>());
        }
    }
    for (const auto& item : *processors) {
        if (!item.is_object() || TextOf(item, "name").empty())
            continue;
        ProcessorBackup processor;
        processor.name = TextOf(item, "name");
        processor.modelType = ModelNamed(TextOf(item, "model")).value_or(-1);
        processor.link = TextOf(item, "link");
        processor.activeBefore = NumberOf(item, "activeBefore");
        processor.activeAfter = NumberOf(item, "activeAfter");
        processor.interrupted = FlagOf(item, "interrupted");
        processor.notPutBack = TextOf(item, "notPutBack");
        processor.failure = TextOf(item, "failure");
        if (const auto libraries = item.find("libraries");
            libraries != item.end() && libraries->is_array()) {
            for (const auto& entry : *libraries) {
                if (!entry.is_object() || !NumberOf(entry, "library"))
                    continue;
                LibraryBackup library;
                library.library = *NumberOf(entry, "library");
                library.status = StatusNamed(TextOf(entry, "status"));
                library.file = TextOf(entry, "file");
                library.changed = FlagOf(entry, "changed");
                library.failure = TextOf(entry, "failure");
                processor.libraries.push_back(std::move(library));
            }
        }
        record.processors.push_back(std::move(processor));
    }
    return record;
}

std::vector<GitVersion> GitHistory(const std::string& folder, const std::string& path,
                                   const GitRunner& git) {
    // One record per commit, its fields apart by a unit separator; the files it changed follow
    // on lines of their own, relative to the folder.
    const GitOutcome outcome =
        git(folder,
            {"-c", "core.quotePath=false", "log", "--relative", "--name-only", "--no-renames",
             "--format=%x1e%H%x1f%cI%x1f%s", "--", path},
            {});
    std::vector<GitVersion> history;
    if (outcome.exitCode != 0)
        return history;
    std::size_t at = 0;
    const std::string& out = outcome.out;
    while ((at = out.find('\x1e', at)) != std::string::npos) {
        const std::size_t end = std::min(out.find('\x1e', at + 1), out.size());
        const std::string entry = out.substr(at + 1, end - at - 1);
        at = end;
        const std::size_t lineEnd = std::min(entry.find('\n'), entry.size());
        const std::string head = entry.substr(0, lineEnd);
        const std::size_t first = head.find('\x1f');
        const std::size_t second = head.find('\x1f', first == std::string::npos ? 0 : first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        GitVersion version{head.substr(0, first),
                           head.substr(first + 1, second - first - 1),
                           head.substr(second + 1),
                           {}};
        std::size_t line = lineEnd;
        while (line < entry.size()) {
            const std::size_t next = std::min(entry.find('\n', line + 1), entry.size());
            const std::string name = entry.substr(line + 1, next - line - 1);
            if (!name.empty())
                version.files.push_back(name);
            line = next;
        }
        history.push_back(std::move(version));
    }
    return history;
}

} // namespace setfolio
