#include "forms/MainForm.h"

#include "core/CurrentModel.h"
#include "core/Guarded.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "forms/ChangeLibForm.h"
#include "forms/ControlTexts.h"
#include "forms/DownLoadForm.h"
#include "forms/EditIpForm.h"
#include "forms/LanguageForm.h"
#include "forms/LibraryViewForm.h"
#include "forms/SerialForm.h"
#include "forms/UpLoadForm.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/SiteTexts.h"

namespace setfolio {

MainForm::MainForm(const Collaborators& with) : MessageWindow(with.log), m_with(with) {
    DownBtn.hint = "Click to download to file";
    UpBtn.hint = "Click to upload from file";
    LibraryBtn.hint = "Click to change library";
    ComBtn.hint = "Click to change communications settings";
    ExitBtn.hint = "Click to exit";
    ModelLabel.caption = "Model No.";
    ModelComboBox.hint = "Select model number";
    for (const auto line : ListLines())
        ModelComboBox.items.emplace_back(line);
    MessageLabel.caption = "Messages:";
    MenuMain.caption = "&Menu";
    MenuDownLoad.caption = "&DownLoad";
    MenuUpLoad.caption = "&UpLoad";
    MenuViewLibrary.caption = m_with.localisation.Messages().Text(OwnMsg::ViewLibraryMenu);
    MenuLibrary.caption = "&Library";
    MenuComPort.caption = "Communications";
    MenuLanguage.caption = "Lan&guage";
    MenuExit.caption = "E&xit";
    MenuAbout.caption = "&About";
    m_with.localisation.Attach(TextWindow::MainForm, *this);

    m_startupTimer = m_with.loop.CreateTimer();
    m_startupTimer->SetInterval(StartupDelayMs);
    m_startupTimer->SetOnExpiry([this] {
        // The steps before a failing one (the language, above all) stay in force, and the
        // window shows them whether or not a later step failed.
        RunGuarded(m_with.prompts, [this] { StartupTimerTimer(); });
        Changed();
    });
}

MainForm::~MainForm() = default;

void MainForm::FormCreate() {
    m_with.model.LoadCurrentModel();
    ShowModel();
    m_startupTimer->Start();
}

void MainForm::StartupTimerTimer() {
    m_startupTimer->Stop();
    auto& language = m_with.languageForm;
    language.NameLanguageList();
    if (m_with.settings.SettingsFileExists()) {
        language.LanguageComboBox.Mark(m_with.settings.Read(keys::Language));
        language.ApplyLanguage();
    } else {
        language.LanguageComboBox.Mark(0);
        m_with.dialogs.ShowLanguageDialog();
    }
    m_with.siteTexts.Load(m_with.localisation.Messages(), MessageWindow);
    m_with.ipForm.LoadIpAddressList();
    m_with.serialForm.LoadIpAddressIndex();
    m_with.serialForm.LoadCommSettings();
    m_with.transport.OpenConnection();
    m_with.downLoadForm.LoadDialogFolders();
    folders.downLoad = m_with.downLoadForm.initialFolder;
    m_with.upLoadForm.LoadDialogFolders();
    folders.upLoad = m_with.upLoadForm.initialFolder;
    if (language.LanguageComboBox.marked == 0)
        AddMessageLine("Attempting connection, please wait...");
    m_with.exchange.QueryLibrary();
    m_with.exchange.QueryLibrary();
    ShowCurrentLibrary(m_with.exchange.currentLibrary(), m_with.exchange.replyStatus(),
                       m_with.localisation.Messages(), m_with.prompts, MessageWindow);
}

bool MainForm::Refused() {
    if (!m_with.exchange.Busy())
        return false;
    m_with.prompts.DefaultBeep();
    return true;
}

void MainForm::QueryAndReport() {
    m_with.exchange.QueryLibrary();
    ShowCurrentLibrary(m_with.exchange.currentLibrary(), m_with.exchange.replyStatus(),
                       m_with.localisation.Messages(), m_with.prompts, MessageWindow);
}

void MainForm::DownBtnClick() {
    if (Refused())
        return;
    m_with.downLoadForm.OpenDownloadDialog();
}

void MainForm::UpBtnClick() {
    if (Refused())
        return;
    m_with.upLoadForm.OpenUploadDialog();
}

void MainForm::LibraryBtnClick() {
    if (Refused())
        return;
    m_with.changeLibForm.OpenChangeLibraryDialog();
}

void MainForm::MenuViewLibraryClick() {
    // Only files are read: the processor may be busy meanwhile.
    if (m_with.libraryViewForm.OpenBtnClick())
        m_with.dialogs.ShowLibraryViewer();
}

void MainForm::TextsApplied() {
    MenuViewLibrary.caption = m_with.localisation.Messages().Text(OwnMsg::ViewLibraryMenu);
    FormModel::TextsApplied();
}

void MainForm::ComBtnClick() {
    if (Refused())
        return;
    m_with.dialogs.ShowCommunicationsDialog();
}

void MainForm::MenuLanguageClick() {
    if (Refused())
        return;
    m_with.dialogs.ShowLanguageDialog();
}

void MainForm::ExitBtnClick() {
    m_with.dialogs.CloseMainWindow();
}

void MainForm::MenuAboutClick() {
    const MessageTexts& texts = m_with.localisation.Messages();
    m_with.dialogs.ShowAboutBox({texts.Text(OwnMsg::AboutTitle), texts.Text(OwnMsg::AboutSummary),
                                 texts.Text(OwnMsg::AboutVersion), texts.Text(OwnMsg::AboutBuilt),
                                 texts.Text(OwnMsg::AboutKeptBesideProgram),
                                 texts.Text(OwnMsg::AboutKeptForUser)});
}

void MainForm::ModelComboBoxChange(int line) {
    if (Refused()) {
        ShowModel();
        return;
    }
    try {
        m_with.model.SelectModel(line);
    } catch (...) {
        // The model was not stored and stays as it was; the list shows it again.
        ShowModel();
        throw;
    }
    ShowModel();
    QueryAndReport();
}

void MainForm::ShowModel() {
    ModelComboBox.Mark(m_with.model.ListLine());
    // An unlisted model (M-10) marks no line but its name still shows in the box.
    ModelComboBox.caption = std::string(LabelOf(m_with.model.ModelType()));
}

void MainForm::FormClose() {
    m_with.transport.CloseAtExit();
}

std::string* MainForm::TextSlot(std::string_view target, TextProperty property) {
    struct Target {
        std::string_view name;
        Control* control;
    };
    const Target targets[] = {
        {"MenuMain", &MenuMain},
        {"MenuDownLoad", &MenuDownLoad},
        {"MenuUpLoad", &MenuUpLoad},
        {"MenuLibrary", &MenuLibrary},
        {"MenuComPort", &MenuComPort},
        {"MenuLanguage", &MenuLanguage},
        {"MenuExit", &MenuExit},
        {"MenuAbout", &MenuAbout},
        {"DownBtn", &DownBtn},
        {"UpBtn", &UpBtn},
        {"LibraryBtn", &LibraryBtn},
        {"ComBtn", &ComBtn},
        {"ExitBtn", &ExitBtn},
        {"ModelLabel", &ModelLabel},
        {"ModelComboBox", &ModelComboBox},
        {"MessageLabel", &MessageLabel},
    };
    for (const auto& candidate : targets)
        if (candidate.name == target)
            return CaptionOrHint(*candidate.control, property);
    return nullptr;
}

} // namespace setfolio
