#pragma once

#include "core/MessageLog.h"
#include "forms/FormControls.h"
#include "forms/FormModel.h"
#include "forms/StatusLine.h"
#include "link/LinkTrace.h"

#include <functional>
#include <optional>

#include <memory>
#include <string>

namespace setfolio {

class ChangeLibForm;
class DownLoadForm;
class UpLoadForm;
class CurrentModel;
class Dialogs;
class EditIpForm;
class EventLoop;
class Exchange;
class LanguageForm;
class LibraryViewForm;
class Prompts;
class SerialForm;
class Settings;
class SiteTextsFile;
class Timer;
class Transport;

// Where the download and upload dialogs' file selections start.
struct DialogFolders {
    std::string downLoad;
    std::string upLoad;
};

inline constexpr int StartupDelayMs = 1000;

// The main window ("Setfolio"): model list, tool buttons, menu and message window, and the
// start-up sequence that runs once, a second after the window was created.
class MainForm : public FormModel {
public:
    struct Collaborators {
        const Settings& settings;
        CurrentModel& model;
        Transport& transport;
        Exchange& exchange;
        Localisation& localisation;
        SerialForm& serialForm;
        EditIpForm& ipForm;
        LanguageForm& languageForm;
        ChangeLibForm& changeLibForm;
        DownLoadForm& downLoadForm;
        UpLoadForm& upLoadForm;
        LibraryViewForm& libraryViewForm;
        SiteTextsFile& siteTexts;
        Prompts& prompts;
        Dialogs& dialogs;
        EventLoop& loop;
        MessageLog& log;
    };
    explicit MainForm(const Collaborators& with);
    ~MainForm() override;

    Window form{"Setfolio", 552, 374};
    Button DownBtn;
    Button UpBtn;
    Button LibraryBtn;
    Button ComBtn;
    Button ExitBtn;
    Label ModelLabel;
    Choice ModelComboBox;
    Label MessageLabel;
    MessageLog& MessageWindow;
    Control MenuMain;
    Control MenuDownLoad;
    Control MenuUpLoad;
    Control MenuViewLibrary;
    Control MenuPlant;
    Control MenuLibrary;
    Control MenuComPort;
    Control MenuLanguage;
    Toggle MenuTrace; // checked while the link is traced
    Control MenuExit;
    Control MenuAbout;
    Control MessageSave; // the message window's menu
    Control MessageClear;
    DialogFolders folders;

    void FormCreate();
    void StartupTimerTimer();
    void DownBtnClick();
    void UpBtnClick();
    void LibraryBtnClick();
    void ComBtnClick();
    void ExitBtnClick();
    void MenuDownLoadClick() { DownBtnClick(); }
    void MenuUpLoadClick() { UpBtnClick(); }
    // Asks for a library file and shows it in the viewer.
    void MenuViewLibraryClick();
    // The plant window: its processors' backups, verify, restore and history.
    void MenuPlantClick();
    void MenuLibraryClick() { LibraryBtnClick(); }
    void MenuComPortClick() { ComBtnClick(); }
    void MenuLanguageClick();
    // Starts a trace of the link into a file the user chooses (the last one offered), or ends
    // the trace that is on.
    void MenuTraceClick();
    bool Tracing() const { return m_trace != nullptr; }
    void MenuExitClick() { ExitBtnClick(); }
    void MenuAboutClick();
    void ModelComboBoxChange(int line);
    void FormClose();

    // The menu's title as the menu bar shows it: with a letter marked for Alt in every language.
    std::string MenuTitle() const;
    // The status line: the link in force, and whether the last exchange got an answer. Both
    // are told anew whenever statusChanged is emitted: after every exchange, whoever made it,
    // and whenever the link is set up.
    std::string StatusLinkText() const;
    std::string StatusAnswerText() const;
    Signal<> statusChanged;
    // Emitted once the start-up has settled the language (a first start asks for it), before the
    // link is tried: a window opened at start waits for it, so that the language comes first.
    Signal<> languageSettled;
    // The message window's menu. Save asks for a file and writes every line with its time,
    // each line's bytes turned into UTF-8 by `asShown` as the window shows them.
    void MessageSaveClick(const std::function<std::string(const std::string&)>& asShown);
    void MessageClearClick() { MessageWindow.Clear(); }
    // Where the window was when the program last ended; nothing the first time.
    std::optional<WindowPlacement> StoredPlacement() const;
    // Kept only once there is a settings file: a first start's cancelled language choice must
    // still be asked for at the next start.
    void StorePlacement(const WindowPlacement& placement);

    void AddMessageLine(const std::string& line) { MessageWindow.AddMessageLine(line); }
    Timer& StartupTimer() { return *m_startupTimer; }

    void TextsApplied() override;

protected:
    std::string* TextSlot(std::string_view target, TextProperty property) override;

private:
    std::unique_ptr<LinkTrace> m_trace;
    std::string LinkText() const;
    // Actions that talk to the processor or change the link must not start while an exchange
    // waits for its reply; they are refused with the plain beep.
    bool Refused();
    void ShowModel();
    void QueryAndReport();

    Collaborators m_with;
    // The outcome of the last exchange, as it came back: what a transfer's engines make of it
    // afterwards (Fail, Accept) is no news of the link.
    ReplyStatus m_lastAnswer = ReplyStatus::Pending;
    Subscription m_exchanges;
    std::string m_messagesFile; // the last file the messages were saved to
    std::unique_ptr<Timer> m_startupTimer;
};

} // namespace setfolio
