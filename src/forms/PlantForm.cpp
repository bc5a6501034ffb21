#include "forms/PlantForm.h"

#include "backup/RunLock.h"
#include "core/AtomicFile.h"
#include "core/CalendarTime.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "core/Sha256.h"
#include "core/Utf8Path.h"
#include "forms/LibraryViewForm.h"
#include "link/LibraryNumber.h"
#include "platform/Dialogs.h"
#include "platform/Prompts.h"

#include <algorithm>
#include <ctime>
#include <map>

namespace setfolio {

namespace {

std::string Numbers(const std::vector<int>& libraries) {
    std::string text;
    for (const int library : libraries)
        text += (text.empty() ? "" : ", ") + std::to_string(library);
    return text;
}

// How many parameters really differ (a choice of the same text aside).
std::size_t CountDiffering(const std::vector<ParameterDifference>& differences) {
    return static_cast<std::size_t>(std::count_if(differences.begin(), differences.end(),
                                                  [](const auto& one) { return one.Differs(); }));
}

std::string Names(const std::vector<ParameterDifference>& differences) {
    std::string text;
    for (const auto& difference : differences) {
        if (!difference.Differs())
            continue;
        if (text.size() > 200) {
            text += ", …";
            break;
        }
        text += (text.empty() ? "" : ", ") + difference.section + "/" + difference.name;
    }
    return text;
}

} // namespace

std::string PlantFolderKey(const std::string& inventoryPath) {
    return "Folder-" + Sha256Hex(inventoryPath).substr(0, 16);
}

// The action under way: what it takes, its runner and its progress. The runner goes first when
// the run ends, so that its workers are joined before what they read from goes.
struct PlantForm::Run {
    Action action = Action::Backup;
    Inventory inventory;
    RestorePlan plan;
    std::unique_ptr<BackupRun> backup; // a backup's lock, checks and files
    std::unique_ptr<RunLock> lock;     // a verify's or restore's
    std::string start;
    std::size_t total = 0;
    std::size_t done = 0;
    int same = 0;
    int differ = 0;
    int failed = 0;
    std::unique_ptr<PlantBackup> runner;
};

PlantForm::PlantForm(Collaborators with) : m_with(std::move(with)) {
    if (!m_with.now)
        m_with.now = [] {
            const std::tm utc = UtcCalendarTime(std::time(nullptr));
            char text[32];
            std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
            return std::string(text);
        };
    ApplyTexts();
    EnableButtons();
    m_languages = m_with.localisation.applied.Subscribe([this] {
        ApplyTexts();
        BuildRows();
        Changed();
    });
}

PlantForm::~PlantForm() {
    FormClose();
}

void PlantForm::ApplyTexts() {
    const MessageTexts& texts = m_with.localisation.Messages();
    form.caption = texts.Text(OwnMsg::PlantCaption);
    OpenBtn.caption = texts.Text(OwnMsg::PlantOpen);
    FolderBtn.caption = texts.Text(OwnMsg::PlantFolder);
    BackupBtn.caption = texts.Text(OwnMsg::PlantBackup);
    VerifyBtn.caption = texts.Text(OwnMsg::PlantVerify);
    RestoreBtn.caption = texts.Text(OwnMsg::PlantRestore);
    HistoryBtn.caption = texts.Text(OwnMsg::PlantHistory);
    StopBtn.caption = texts.Text(OwnMsg::PlantStop);
    CloseBtn.caption = texts.Text(OwnMsg::PlantClose);
    DifferencesLabel.caption = texts.Text(OwnMsg::PlantDifferences);
    ShowDifferenceBtn.caption = texts.Text(OwnMsg::PlantShowDifference);
    VersionsLabel.caption = texts.Text(OwnMsg::PlantVersions);
    CompareVersionsBtn.caption = texts.Text(OwnMsg::PlantCompareVersions);
    InventoryLabel.caption = m_inventory ? texts.Format(OwnMsg::PlantInventory, {m_inventoryPath})
                                         : texts.Text(OwnMsg::PlantNoInventory);
    FolderLabel.caption = m_folder.empty() ? std::string()
                                           : texts.Format(m_gitFolder ? OwnMsg::PlantGitFolder
                                                                      : OwnMsg::PlantBackupFolder,
                                                          {m_folder});
    columns = {texts.Text(OwnMsg::PlantColumnName),       texts.Text(OwnMsg::PlantColumnModel),
               texts.Text(OwnMsg::PlantColumnLink),       texts.Text(OwnMsg::PlantColumnRunning),
               texts.Text(OwnMsg::PlantColumnLastBackup), texts.Text(OwnMsg::PlantColumnState),
               texts.Text(OwnMsg::PlantColumnChanged)};
}

void PlantForm::EnableButtons() {
    const bool idle = !Running();
    const bool ready = idle && m_inventory && !m_folder.empty();
    OpenBtn.enabled = idle;
    FolderBtn.enabled = idle && m_inventory.has_value();
    BackupBtn.enabled = ready;
    VerifyBtn.enabled = ready;
    RestoreBtn.enabled = ready;
    HistoryBtn.enabled = ready && m_gitFolder;
    StopBtn.enabled = !idle && !m_run->runner->Stopped();
    ShowDifferenceBtn.enabled = Differences.HasMarked();
    CompareVersionsBtn.enabled = Versions.items.size() >= 2;
    Differences.visible = !Differences.items.empty();
    DifferencesLabel.visible = Differences.visible;
    ShowDifferenceBtn.visible = Differences.visible;
    Versions.visible = !Versions.items.empty();
    VersionsLabel.visible = Versions.visible;
    CompareVersionsBtn.visible = Versions.visible;
}

std::string PlantForm::LibraryName(int library) const {
    return m_with.localisation.Messages().Format(OwnMsg::PlantLibrary,
                                                 {FormatLibraryNumber(library)});
}

bool PlantForm::OpenBtnClick() {
    const MessageTexts& texts = m_with.localisation.Messages();
    const auto chosen = m_with.dialogs.ChooseFileToOpen({texts.Text(OwnMsg::PlantOpenTitle),
                                                         texts.Text(OwnMsg::PlantInventoriesFilter),
                                                         m_inventoryPath, ""});
    return chosen && OpenInventory(*chosen);
}

bool PlantForm::OpenInventory(const std::string& path) {
    if (Running())
        return false;
    const MessageTexts& texts = m_with.localisation.Messages();
    const auto content = ReadWholeFile(path);
    if (!content) {
        m_with.prompts.WarningBeep();
        m_with.prompts.ErrorBox(texts.Format(OwnMsg::PlantCannotRead, {path}));
        return false;
    }
    Inventory inventory = ParseInventory(*content);
    if (!inventory.problems.empty()) {
        std::string lines;
        for (const auto& problem : inventory.problems)
            lines += (lines.empty() ? "" : "\n") +
                     texts.Format(OwnMsg::PlantInventoryProblem,
                                  {path, std::to_string(problem.line), problem.text});
        m_with.prompts.WarningBeep();
        m_with.prompts.ErrorBox(lines);
        return false;
    }
    std::string folder =
        m_with.settings.ReadSettingText(keys::PlantInventory.section, PlantFolderKey(path), "");
    if (folder.empty()) {
        const std::string start = FolderOf(path);
        const auto chosen =
            m_with.dialogs.ChooseFolder(texts.Format(OwnMsg::PlantFolderTitle, {path}), start);
        if (!chosen)
            return false;
        folder = *chosen;
    }
    m_inventoryPath = path;
    m_inventory = std::move(inventory);
    try {
        m_with.settings.Write(keys::PlantInventory, path);
        m_with.settings.WriteSettingText(keys::PlantInventory.section, PlantFolderKey(path),
                                         folder);
    } catch (const std::exception& error) {
        // The window works all the same; only the next start asks again.
        Say(error.what());
    }
    m_selected.clear();
    UseFolder(folder);
    return true;
}

void PlantForm::FormShow() {
    if (m_inventory || Running())
        return;
    const std::string last = m_with.settings.Read(keys::PlantInventory);
    if (!last.empty() &&
        !m_with.settings.ReadSettingText(keys::PlantInventory.section, PlantFolderKey(last), "")
             .empty() &&
        FileExists(last))
        OpenInventory(last);
}

bool PlantForm::FolderBtnClick() {
    if (!m_inventory || Running())
        return false;
    const auto chosen = m_with.dialogs.ChooseFolder(
        m_with.localisation.Messages().Format(OwnMsg::PlantFolderTitle, {m_inventoryPath}),
        m_folder);
    if (!chosen)
        return false;
    try {
        m_with.settings.WriteSettingText(keys::PlantInventory.section,
                                         PlantFolderKey(m_inventoryPath), *chosen);
    } catch (const std::exception& error) {
        Say(error.what());
    }
    UseFolder(*chosen);
    return true;
}

void PlantForm::UseFolder(const std::string& folder) {
    m_folder = folder;
    Reload();
}

void PlantForm::Reload() {
    const auto manifestText = ReadWholeFile(JoinPath(m_folder, "manifest.json"));
    m_manifest = manifestText ? ReadManifest(*manifestText) : std::nullopt;
    const auto recordText = ReadWholeFile(RunRecordFileOf(m_folder));
    m_record = recordText ? ReadRunRecord(*recordText) : std::nullopt;
    m_folderHistory =
        m_with.git ? GitHistory(m_folder, ".", m_with.git) : std::vector<GitVersion>{};
    m_gitFolder = !m_folderHistory.empty();
    Versions.SetItems({});
    m_history.clear();
    ApplyTexts();
    BuildRows();
    EnableButtons();
    Changed();
}

void PlantForm::BuildRows() {
    m_rows.clear();
    if (!m_inventory)
        return;
    const MessageTexts& texts = m_with.localisation.Messages();
    // In a git folder, when each file last changed: the newest commit that has it.
    std::map<std::string, std::string> committed;
    for (const auto& version : m_folderHistory) {
        for (const auto& file : version.files)
            committed.emplace(file, version.date);
    }
    for (const auto& processor : m_inventory->processors) {
        ProcessorRow row;
        row.section = processor.name;
        const auto* entry = EntryOf(processor.modelType);
        row.model = entry ? std::string(entry->entry) : std::to_string(processor.modelType);
        row.link = processor.LinkText();
        const ManifestProcessor* known = nullptr;
        if (m_manifest) {
            for (const auto& candidate : m_manifest->processors)
                known = candidate.name == processor.name ? &candidate : known;
        }
        if (known && known->active)
            row.running = LibraryName(*known->active);
        const ProcessorBackup* last = nullptr;
        if (m_record) {
            for (const auto& candidate : m_record->processors)
                last = candidate.name == processor.name ? &candidate : last;
        }
        if (last) {
            row.lastBackup = LocalMinuteText(m_record->end);
            std::size_t failed = 0;
            for (const auto& library : last->libraries)
                failed += library.status != ReplyStatus::Ok;
            const std::string count = std::to_string(last->libraries.size());
            if (!last->failure.empty())
                row.outcome = texts.Format(OwnMsg::PlantOutcomeNotReached, {last->failure});
            else if (last->interrupted)
                row.outcome = texts.Text(OwnMsg::PlantOutcomeStopped);
            else if (failed)
                row.outcome =
                    texts.Format(OwnMsg::PlantOutcomeFailed, {std::to_string(failed), count});
            else
                row.outcome = texts.Format(OwnMsg::PlantOutcomeOk, {count});
            if (!last->notPutBack.empty())
                row.outcome +=
                    "; " + texts.Format(OwnMsg::PlantOutcomeNotPutBack, {last->notPutBack});
            row.failed = !last->AllOk();
        }
        for (const int number : processor.libraries) {
            LibraryRow library;
            library.library = number;
            library.file = LibraryFileOf(processor, number);
            library.name = LibraryName(number);
            if (last) {
                for (const auto& result : last->libraries) {
                    if (result.library != number)
                        continue;
                    library.state =
                        result.status == ReplyStatus::Ok
                            ? (result.changed ? LibraryState::Changed : LibraryState::Unchanged)
                        : result.status == ReplyStatus::Pending ? LibraryState::NotRead
                                                                : LibraryState::Failed;
                }
            }
            static constexpr OwnMsg stateTexts[] = {
                OwnMsg::PlantStateUnchanged, OwnMsg::PlantStateUnchanged, OwnMsg::PlantStateChanged,
                OwnMsg::PlantStateFailed, OwnMsg::PlantStateNotRead};
            if (library.state != LibraryState::Unknown)
                library.stateText = texts.Text(stateTexts[static_cast<int>(library.state)]);
            if (const auto found = committed.find(library.file); found != committed.end()) {
                library.changed = LocalMinuteText(found->second);
            } else if (known) {
                for (const auto& stored : known->libraries) {
                    if (stored.library == number)
                        library.changed = LocalMinuteText(stored.changed);
                }
            }
            row.libraries.push_back(std::move(library));
        }
        m_rows.push_back(std::move(row));
    }
}

void PlantForm::Select(std::vector<Selected> lines) {
    m_selected = std::move(lines);
}

std::vector<PlantForm::Chosen> PlantForm::ChosenNow() const {
    std::vector<Chosen> chosen;
    if (!m_inventory)
        return chosen;
    const auto& processors = m_inventory->processors;
    for (std::size_t p = 0; p < processors.size(); ++p) {
        const auto picked = [&](const std::optional<int>& library) {
            return std::find(m_selected.begin(), m_selected.end(), Selected{p, library}) !=
                   m_selected.end();
        };
        Chosen one{p, {}};
        for (const int library : processors[p].libraries) {
            if (m_selected.empty() || picked(std::nullopt) || picked(library))
                one.libraries.push_back(library);
        }
        if (!one.libraries.empty())
            chosen.push_back(std::move(one));
    }
    return chosen;
}

std::string PlantForm::RestoreQuestion() const {
    const MessageTexts& texts = m_with.localisation.Messages();
    std::string lines;
    for (const auto& chosen : ChosenNow()) {
        lines += (lines.empty() ? "" : "\n") +
                 texts.Format(OwnMsg::PlantLine,
                              {m_inventory->processors[chosen.processor].name,
                               texts.Format(OwnMsg::PlantLibraries, {Numbers(chosen.libraries)})});
    }
    return texts.Format(OwnMsg::PlantRestoreQuestion, {m_folder, lines});
}

Inventory PlantForm::InventoryFor(const std::vector<Chosen>& chosen) const {
    Inventory inventory;
    for (const auto& one : chosen) {
        InventoryProcessor processor = m_inventory->processors[one.processor];
        processor.libraries = one.libraries;
        inventory.processors.push_back(std::move(processor));
    }
    return inventory;
}

RestorePlan PlantForm::PlanFor(const std::vector<Chosen>& chosen, bool dryRun) const {
    // One plan per processor, each of its own libraries: a library chosen of one processor is
    // not asked of another.
    const auto source = FolderBackup(m_folder);
    RestorePlan plan;
    if (!source) {
        plan.problems.push_back(
            m_with.localisation.Messages().Format(OwnMsg::PlantCannotRead, {m_folder}));
        return plan;
    }
    for (const auto& one : chosen) {
        RestoreChoice choice;
        choice.sections = {m_inventory->processors[one.processor].name};
        choice.libraries = one.libraries;
        choice.dryRun = dryRun;
        RestorePlan part = PlanRestore(*m_inventory, *source, choice);
        plan.problems.insert(plan.problems.end(), part.problems.begin(), part.problems.end());
        for (auto& processor : part.processors)
            plan.processors.push_back(std::move(processor));
    }
    return plan;
}

void PlantForm::BackupBtnClick() {
    if (!BackupBtn.enabled)
        return;
    const auto chosen = ChosenNow();
    auto run = std::make_unique<Run>();
    run->action = Action::Backup;
    run->inventory = InventoryFor(chosen);
    bool whole = chosen.size() == m_inventory->processors.size();
    for (const auto& one : chosen)
        whole = whole &&
                one.libraries.size() == m_inventory->processors[one.processor].libraries.size();
    // In a git folder the backup is committed as the command line commits it.
    run->backup = std::make_unique<BackupRun>(
        run->inventory, BackupSettings{m_folder, m_gitFolder, false, "", !whole}, m_with.git);
    const auto problems = run->backup->Prepare();
    if (!problems.empty()) {
        for (const auto& problem : problems)
            Say(problem);
        m_with.prompts.WarningBeep();
        Changed();
        return;
    }
    run->start = m_with.now();
    Start(std::move(run));
}

void PlantForm::VerifyBtnClick() {
    if (!VerifyBtn.enabled)
        return;
    auto run = std::make_unique<Run>();
    run->action = Action::Verify;
    run->plan = PlanFor(ChosenNow(), true);
    Start(std::move(run));
}

bool PlantForm::RestoreBtnClick() {
    if (!RestoreBtn.enabled)
        return false;
    if (!m_with.prompts.WarningYesNo(RestoreQuestion()))
        return false;
    auto run = std::make_unique<Run>();
    run->action = Action::Restore;
    run->plan = PlanFor(ChosenNow(), false);
    Start(std::move(run));
    return Running();
}

void PlantForm::Start(std::unique_ptr<Run> run) {
    const MessageTexts& texts = m_with.localisation.Messages();
    PlantBackup::Job job;
    if (run->action == Action::Backup) {
        job = PlantBackup::LibraryJob(m_with.platforms, m_folder, true, m_with.texts);
    } else {
        // One run at a time on a backup folder: a nightly backup does not read a processor
        // while it is being restored.
        run->lock = std::make_unique<RunLock>(m_folder);
        if (run->lock->State() == RunLock::Outcome::Taken)
            run->plan.problems.insert(run->plan.problems.begin(),
                                      "another backup into " + m_folder + " is running" +
                                          (run->lock->Holder().empty()
                                               ? std::string()
                                               : " (process " + run->lock->Holder() + ")"));
        else if (run->lock->State() == RunLock::Outcome::CannotLock)
            run->plan.problems.insert(run->plan.problems.begin(), run->lock->Problem());
        // Nothing is sent before the whole plan is known to be sound.
        for (const auto& problem : run->plan.problems)
            Say(problem);
        for (const auto& processor : run->plan.processors) {
            for (const auto& why : processor.refused)
                Say(texts.Format(OwnMsg::PlantRefused, {processor.processor.name, why}));
        }
        if (!run->plan.problems.empty()) {
            m_with.prompts.WarningBeep();
            Changed();
            return;
        }
        run->inventory = run->plan.Runnable();
        job = RestoreJob(m_with.platforms, run->plan, run->action == Action::Verify, m_with.texts);
    }
    if (run->inventory.processors.empty()) {
        Changed();
        return;
    }
    for (const auto& processor : run->inventory.processors)
        run->total += processor.libraries.size();
    Differences.SetItems({});
    m_differences.clear();
    Progress.minimum = 0;
    Progress.maximum = static_cast<int>(run->total);
    Progress.value = 0;
    ProgressLabel.caption.clear();
    run->runner = std::make_unique<PlantBackup>(run->inventory, m_with.workers, std::move(job));
    if (m_wakeUp)
        run->runner->SetOnEventQueued(m_wakeUp);
    m_run = std::move(run);
    m_run->runner->Start();
    EnableButtons();
    Changed();
}

void PlantForm::TakeEvents() {
    while (m_run) {
        const auto event = m_run->runner->TryNextEvent();
        if (!event)
            break;
        Show(*event);
        if (event->kind == PlantEvent::Kind::RunFinished)
            Finished();
    }
    Changed();
}

void PlantForm::Show(const PlantEvent& event) {
    const MessageTexts& texts = m_with.localisation.Messages();
    using Kind = PlantEvent::Kind;
    Run& run = *m_run;
    switch (event.kind) {
    case Kind::ProcessorStarted:
        ProgressLabel.caption = texts.Format(OwnMsg::PlantProgress,
                                             {event.name, "1", std::to_string(event.libraryCount)});
        break;
    case Kind::LibraryFinished: {
        ++run.done;
        Progress.value = static_cast<int>(std::min(run.done, run.total));
        if (event.libraryIndex + 1 < event.libraryCount)
            ProgressLabel.caption = texts.Format(
                OwnMsg::PlantProgress, {event.name, std::to_string(event.libraryIndex + 2),
                                        std::to_string(event.libraryCount)});
        const LibraryBackup& library = event.library;
        const std::string number = std::to_string(library.library);
        if (library.status == ReplyStatus::Pending)
            break;
        if (library.status != ReplyStatus::Ok) {
            ++run.failed;
            std::string why = texts.StatusText(library.status);
            if (why.empty())
                why = std::string(NameOf(library.status));
            if (!library.failure.empty())
                why += " - " + library.failure;
            Say(texts.Format(OwnMsg::PlantLibraryFailed, {event.name, number, why}));
            if (library.partlyWritten)
                Say(texts.Format(
                    OwnMsg::PlantLine,
                    {event.name, texts.Format(OwnMsg::LibraryPartlyWritten, {number})}));
            break;
        }
        if (run.action == Action::Backup) {
            Say(texts.Format(library.changed ? OwnMsg::PlantLibraryChanged
                                             : OwnMsg::PlantLibraryUnchanged,
                             {event.name, number}));
            break;
        }
        if (!AnyDifference(library.differences)) {
            ++run.same;
            Say(texts.Format(run.action == Action::Verify ? OwnMsg::PlantVerifyEqual
                                                          : OwnMsg::PlantRestored,
                             {event.name, number}));
            break;
        }
        ++run.differ;
        const std::string count = std::to_string(CountDiffering(library.differences));
        Say(texts.Format(run.action == Action::Verify ? OwnMsg::PlantVerifyDiffers
                                                      : OwnMsg::PlantRestoredDiffers,
                         {event.name, number, count, Names(library.differences)}));
        m_differences.push_back({event.name, library.library, library.file, library.readBack});
        Differences.items.push_back(texts.Format(
            OwnMsg::PlantLine, {event.name, LibraryName(library.library) + " (" + count + ")"}));
        if (!Differences.HasMarked())
            Differences.Mark(0);
        break;
    }
    case Kind::ProcessorFinished:
        break;
    case Kind::ProcessorFailed:
        if (!event.failure.empty())
            Say(texts.Format(OwnMsg::PlantLine, {event.name, event.failure}));
        if (!event.notPutBack.empty())
            Say(event.name + " " + event.notPutBack);
        break;
    case Kind::RunFinished:
        break;
    }
}

void PlantForm::Finished() {
    const MessageTexts& texts = m_with.localisation.Messages();
    Run& run = *m_run;
    const bool stopped = run.runner->Stopped();
    if (run.action == Action::Backup) {
        const auto outcome = run.backup->Finish(run.runner->Results(), run.start, 0, m_with.now);
        const BackupCounts& counts = outcome.counts;
        Say(texts.Format(OwnMsg::PlantBackupDone,
                         {std::to_string(counts.changed), std::to_string(counts.unchanged),
                          std::to_string(counts.failed)}));
        if (outcome.committed)
            Say(texts.Format(OwnMsg::PlantCommitted, {outcome.commitMessage}));
        else if (outcome.nothingToCommit)
            Say(texts.Text(OwnMsg::PlantNothingToCommit));
        if (!outcome.commitWarning.empty())
            Say(outcome.commitWarning);
        for (const auto& failure : outcome.failures)
            Say(failure);
        if (!outcome.recordWritten)
            Say(texts.Format(OwnMsg::PlantCannotRead, {outcome.recordFile}));
    } else {
        Say(texts.Format(
            run.action == Action::Verify ? OwnMsg::PlantVerifyDone : OwnMsg::PlantRestoreDone,
            {std::to_string(run.same), std::to_string(run.differ), std::to_string(run.failed)}));
    }
    if (stopped)
        Say(texts.Text(OwnMsg::PlantStopped));
    ProgressLabel.caption.clear();
    Progress.value = Progress.maximum;
    const bool backedUp = run.action == Action::Backup;
    m_run.reset();
    if (backedUp)
        Reload();
    EnableButtons();
}

void PlantForm::StopBtnClick() {
    if (!m_run)
        return;
    m_run->runner->Stop();
    EnableButtons();
    Changed();
}

void PlantForm::FormClose() {
    if (!m_run)
        return;
    m_run->runner->Stop();
    // Waits for the workers: each processor is put back before the window goes.
    for (;;) {
        const PlantEvent event = m_run->runner->NextEvent();
        Show(event);
        if (event.kind == PlantEvent::Kind::RunFinished)
            break;
    }
    Finished();
}

void PlantForm::ShowDifferenceBtnClick() {
    if (!Differences.HasMarked() ||
        static_cast<std::size_t>(Differences.marked) >= m_differences.size())
        return;
    const Difference& difference = m_differences[static_cast<std::size_t>(Differences.marked)];
    const std::string path = JoinPath(m_folder, difference.file);
    const auto content = ReadWholeFile(path);
    if (!content) {
        m_with.prompts.WarningBeep();
        m_with.prompts.ErrorBox(
            m_with.localisation.Messages().Format(OwnMsg::PlantCannotRead, {path}));
        return;
    }
    m_with.viewer.CompareContents(
        path, *content,
        m_with.localisation.Messages().Format(
            OwnMsg::PlantReadBackOf, {LibraryName(difference.library), difference.processor}),
        difference.readBack);
    m_with.dialogs.ShowLibraryViewer();
}

void PlantForm::HistoryBtnClick() {
    if (!HistoryBtn.enabled)
        return;
    const MessageTexts& texts = m_with.localisation.Messages();
    std::string file;
    for (const auto& line : m_selected) {
        if (line.library && file.empty())
            file = LibraryFileOf(m_inventory->processors[line.processor], *line.library);
    }
    if (file.empty()) {
        m_with.prompts.DefaultBeep();
        Say(texts.Text(OwnMsg::PlantChooseLibrary));
        Changed();
        return;
    }
    m_historyFile = file;
    m_history = GitHistory(m_folder, file, m_with.git);
    std::vector<std::string> lines;
    for (const auto& version : m_history)
        lines.push_back(LocalMinuteText(version.date) + "  " + version.commit.substr(0, 8) + "  " +
                        version.subject);
    Versions.SetItems(std::move(lines));
    Say(m_history.empty()
            ? texts.Format(OwnMsg::PlantNoHistory, {file})
            : texts.Format(OwnMsg::PlantHistoryOf, {file, std::to_string(m_history.size())}));
    EnableButtons();
    Changed();
}

bool PlantForm::CompareVersions(int first, int second) {
    const auto size = static_cast<int>(m_history.size());
    if (first < 0 || second < 0 || first >= size || second >= size || first == second)
        return false;
    const MessageTexts& texts = m_with.localisation.Messages();
    std::string names[2];
    std::string contents[2];
    const int lines[2] = {std::max(first, second), std::min(first, second)}; // older first
    for (int side = 0; side < 2; ++side) {
        const GitVersion& version = m_history[static_cast<std::size_t>(lines[side])];
        names[side] =
            texts.Format(OwnMsg::PlantVersionOf, {m_historyFile, LocalMinuteText(version.date)});
        auto opened = GitRevisionBackup(m_folder, version.commit, m_with.git);
        std::optional<std::string> content;
        if (opened.source)
            content = opened.source->Read(m_historyFile);
        if (!content) {
            m_with.prompts.WarningBeep();
            m_with.prompts.ErrorBox(texts.Format(
                OwnMsg::PlantCannotReadVersion,
                {names[side], opened.problem.empty() ? version.commit : opened.problem}));
            return false;
        }
        contents[side] = std::move(*content);
    }
    m_with.viewer.CompareContents(names[0], contents[0], names[1], contents[1]);
    m_with.dialogs.ShowLibraryViewer();
    return true;
}

} // namespace setfolio
