#pragma once

#include "backup/BackupRun.h"
#include "backup/GitRepository.h"
#include "backup/Inventory.h"
#include "backup/Manifest.h"
#include "backup/PlantBackup.h"
#include "backup/Restore.h"
#include "core/MessageLog.h"
#include "forms/FormControls.h"
#include "forms/FormModel.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace setfolio {

class Dialogs;
class LibraryViewForm;
class Prompts;
class Settings;
struct SiteVocabulary;

// The key of the settings file (in keys::PlantInventory's section) that names the backup folder
// of an inventory: named by a digest of the inventory's path, which may hold any character a
// key may not.
std::string PlantFolderKey(const std::string& inventoryPath);

// The plant window: the processors of an inventory and their libraries as its backup folder
// knows them, and the actions on them — back up now, verify against the backup, restore from
// it, a library's history. The actions run on the plant runner's worker threads; the window
// takes their events on its own thread (TakeEvents), after the wake-up it was given.
class PlantForm : public FormModel {
public:
    struct Collaborators {
        const Settings& settings;
        Localisation& localisation;
        Dialogs& dialogs;
        Prompts& prompts;
        LibraryViewForm& viewer;
        // Each worker's event loop and ports.
        PlantBackup::PlatformFactory platforms;
        GitRunner git;
        const SiteVocabulary* texts = nullptr;
        // The time now, ISO 8601 UTC.
        std::function<std::string()> now;
        std::size_t workers = 16;
    };
    explicit PlantForm(Collaborators with);
    ~PlantForm() override;

    enum class LibraryState { Unknown, Unchanged, Changed, Failed, NotRead };
    struct LibraryRow {
        int library = 0;
        std::string file; // relative to the backup folder
        LibraryState state = LibraryState::Unknown;
        std::string name; // "Library 009"
        std::string stateText;
        std::string changed; // when its backup last changed
    };
    struct ProcessorRow {
        std::string section;
        std::string model;
        std::string link;
        std::string running;    // the library it ran at its last backup
        std::string lastBackup; // when its last backup ended
        std::string outcome;
        bool failed = false;
        std::vector<LibraryRow> libraries;
    };

    // A line of the tree: a processor, or one of its libraries.
    struct Selected {
        std::size_t processor = 0;
        std::optional<int> library;
        friend bool operator==(const Selected&, const Selected&) = default;
    };
    // What an action takes: a processor and the libraries of it.
    struct Chosen {
        std::size_t processor = 0;
        std::vector<int> libraries;
        friend bool operator==(const Chosen&, const Chosen&) = default;
    };

    Window form{"Plant", 980, 580};
    Label InventoryLabel; // the inventory's path
    Label FolderLabel;    // the backup folder's path
    Button OpenBtn;
    Button FolderBtn;
    Button BackupBtn;
    Button VerifyBtn;
    Button RestoreBtn;
    Button HistoryBtn;
    Button StopBtn;
    Button CloseBtn;
    Label ProgressLabel;
    SpinValue Progress; // libraries done of those the action takes
    Label DifferencesLabel;
    Choice Differences; // the libraries a verify or restore found to differ
    Button ShowDifferenceBtn;
    Label VersionsLabel;
    Choice Versions; // the chosen library's versions, newest first
    Button CompareVersionsBtn;
    MessageLog Log;
    std::vector<std::string> columns;

    const std::vector<ProcessorRow>& Rows() const { return m_rows; }
    bool Open() const { return m_inventory.has_value(); }
    bool Running() const { return m_run != nullptr; }
    bool GitFolder() const { return m_gitFolder; }
    const std::string& Folder() const { return m_folder; }

    // Asks for an inventory and opens it.
    bool OpenBtnClick();
    // Reads the inventory and opens it with the backup folder remembered for it, or asks for
    // one (and remembers it). False when it cannot be read or no folder was chosen.
    bool OpenInventory(const std::string& path);
    // The last inventory opened, if any, as the window opens.
    void FormShow();
    // Asks for another backup folder for the inventory, and remembers it.
    bool FolderBtnClick();
    // Uses `folder` for the inventory and shows what it holds.
    void UseFolder(const std::string& folder);
    // Reads the manifest, the run record and the history again.
    void Reload();

    void Select(std::vector<Selected> lines);
    // What an action takes now: the processors selected (a processor line: all its libraries;
    // library lines: those), in inventory order; nothing selected: the whole plant.
    std::vector<Chosen> ChosenNow() const;
    // The confirmation a restore asks for, naming processors and libraries.
    std::string RestoreQuestion() const;

    void BackupBtnClick();
    void VerifyBtnClick();
    // Asks first; false when the user said no or nothing started.
    bool RestoreBtnClick();
    // The history of the library selected (the first library line).
    void HistoryBtnClick();
    void StopBtnClick();
    // The difference marked: the backup's file beside what the processor read back.
    void ShowDifferenceBtnClick();
    // Two versions of the history, by their lines, side by side in the viewer.
    bool CompareVersions(int first, int second);

    // Called from a worker thread whenever an event is queued; the window posts itself a call
    // of TakeEvents there. Set once, before any action.
    void SetWakeUp(std::function<void()> wakeUp) { m_wakeUp = std::move(wakeUp); }
    // Takes every queued event of the running action and shows it; the action ends with its
    // last event. On the window's thread.
    void TakeEvents();
    // Stops the action and waits for its workers (the window is closing).
    void FormClose();

private:
    enum class Action { Backup, Verify, Restore };
    struct Run;
    struct Difference {
        std::string processor;
        int library = 0;
        std::string file;
        std::string readBack;
    };

    void ApplyTexts();
    void BuildRows();
    void EnableButtons();
    // Starts the runner on `run` (its inventory and job set).
    void Start(std::unique_ptr<Run> run);
    void Show(const PlantEvent& event);
    void Finished();
    RestorePlan PlanFor(const std::vector<Chosen>& chosen, bool dryRun) const;
    Inventory InventoryFor(const std::vector<Chosen>& chosen) const;
    std::string LibraryName(int library) const;
    void Say(const std::string& line) { Log.AddMessageLine(line); }

    Collaborators m_with;
    Subscription m_languages;
    std::string m_inventoryPath;
    std::optional<Inventory> m_inventory;
    std::string m_folder;
    std::optional<Manifest> m_manifest;
    std::optional<RunRecord> m_record;
    bool m_gitFolder = false;
    std::vector<GitVersion> m_folderHistory;
    std::vector<ProcessorRow> m_rows;
    std::vector<Selected> m_selected;
    std::vector<Difference> m_differences;
    std::string m_historyFile;
    std::vector<GitVersion> m_history;
    std::function<void()> m_wakeUp;
    std::unique_ptr<Run> m_run;
};

} // namespace setfolio
