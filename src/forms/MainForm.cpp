#include "forms/MainForm.h"

#include "core/AtomicFile.h"
#include "core/CalendarTime.h"
#include "core/CurrentModel.h"
#include "core/Guarded.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "core/Utf8Path.h"
#include "forms/ChangeLibForm.h"
#include "forms/ControlTexts.h"
#include "forms/DownLoadForm.h"
#include "forms/EditIpForm.h"
#include "forms/LanguageForm.h"
#include "forms/LibraryViewForm.h"
#include "forms/SerialForm.h"
#include "forms/UpLoadForm.h"
#include "link/Exchange.h"
#include "link/IpAddressList.h"
#include "link/Transport.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/SiteTexts.h"

#include <ctime>

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
    MenuPlant.caption = m_with.localisation.Messages().Text(OwnMsg::PlantMenu);
    MenuLibrary.caption = "&Library";
    MenuComPort.caption = "Communications";
    MenuLanguage.caption = "Lan&guage";
    MenuExit.caption = "E&xit";
    MenuAbout.caption = "&About";
    MessageSave.caption = m_with.localisation.Messages().Text(OwnMsg::LogSave);
    MenuTrace.caption = m_with.localisation.Messages().Text(OwnMsg::TraceMenu);
    MessageClear.caption = m_with.localisation.Messages().Text(OwnMsg::LogClear);
    m_with.localisation.Attach(TextWindow::MainForm, *this);
    m_exchanges = m_with.exchange.exchanged.Subscribe([this](const Reply& reply) {
        m_lastAnswer = reply.status;
        statusChanged.Emit();
    });

    m_startupTimer = m_with.loop.CreateTimer();
    m_startupTimer->SetInterval(StartupDelayMs);
    m_startupTimer->SetOnExpiry([this] {
        // The steps before a failing one (the language, above all) stay in force, and the
        // window shows them whether or not a later step failed.
        RunGuarded(m_with.prompts, [this] { StartupTimerTimer(); });
        Changed();
    });
}

MainForm::~MainForm() {
    if (m_trace)
        m_with.transport.SetTrace(nullptr);
}

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
    languageSettled.Emit();
    m_with.siteTexts.Load(m_with.localisation.Messages(), MessageWindow);
    m_with.ipForm.LoadIpAddressList();
    m_with.serialForm.LoadIpAddressIndex();
    m_with.serialForm.LoadCommSettings();
    // Shown before the link is tried: a report of a failure names the link the line shows.
    statusChanged.Emit();
    m_with.transport.OpenConnection();
    m_with.downLoadForm.LoadDialogFolders();
    folders.downLoad = m_with.downLoadForm.initialFolder;
    m_with.upLoadForm.LoadDialogFolders();
    folders.upLoad = m_with.upLoadForm.initialFolder;
    if (language.LanguageComboBox.marked == 0)
        AddMessageLine("Attempting connection, please wait...");
    m_with.exchange.QueryLibrary();
    QueryAndReport();
}

bool MainForm::Refused() {
    if (!m_with.exchange.Busy())
        return false;
    m_with.prompts.DefaultBeep();
    return true;
}

void MainForm::QueryAndReport() {
    const Reply reply = m_with.exchange.QueryLibrary();
    ShowCurrentLibrary(reply.library.value_or(0), reply.status, m_with.localisation.Messages(),
                       m_with.prompts, MessageWindow);
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

void MainForm::MenuPlantClick() {
    // The plant window reaches its processors over links of its own: the main window's link
    // may be busy meanwhile.
    m_with.dialogs.ShowPlantWindow();
}

void MainForm::TextsApplied() {
    MenuViewLibrary.caption = m_with.localisation.Messages().Text(OwnMsg::ViewLibraryMenu);
    MenuPlant.caption = m_with.localisation.Messages().Text(OwnMsg::PlantMenu);
    MessageSave.caption = m_with.localisation.Messages().Text(OwnMsg::LogSave);
    MenuTrace.caption = m_with.localisation.Messages().Text(OwnMsg::TraceMenu);
    MessageClear.caption = m_with.localisation.Messages().Text(OwnMsg::LogClear);
    FormModel::TextsApplied();
}

void MainForm::ComBtnClick() {
    if (Refused())
        return;
    bool accepted = false;
    const Subscription onOk =
        m_with.serialForm.accepted.Subscribe([&accepted] { accepted = true; });
    m_with.dialogs.ShowCommunicationsDialog();
    statusChanged.Emit();
    // The new link is tried at once, so that the user sees whether it works.
    if (accepted)
        QueryAndReport();
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
                                 texts.Text(OwnMsg::AboutKeptForUser),
                                 std::string(LanguageCode(texts.CurrentLanguage()))});
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

std::string MainForm::MenuTitle() const {
    const std::string& caption = MenuMain.caption;
    return caption.find('&') == std::string::npos ? "&" + caption : caption;
}

std::string MainForm::StatusLinkText() const {
    std::string text = LinkText();
    if (m_trace)
        text += " \u00b7 " + m_with.localisation.Messages().Text(OwnMsg::TraceOn);
    return text;
}

std::string MainForm::LinkText() const {
    const MessageTexts& texts = m_with.localisation.Messages();
    const Transport& transport = m_with.transport;
    if (!m_with.serialForm.SettingsLoaded())
        return {};
    if (transport.Type() == ConnectionType::Ethernet) {
        // The entry chosen now, even before the connection to it is tried.
        const std::string entry = m_with.serialForm.HostEntry();
        if (const auto address = ParseHostEntry(entry, transport.DefaultTcpPort()))
            return TcpLinkText(address->host, address->port, texts);
        return TcpLinkText(entry.empty() ? entry : transport.HostAddress(), transport.TcpPort(),
                           texts);
    }
    SerialSettings serial;
    try {
        serial = m_with.serialForm.CurrentSerialSettings();
    } catch (const std::exception&) {
        return "COM ?"; // a stored setting outside its list
    }
    const std::string& file = m_with.settings.SettingsFilePath();
    const std::string folder = FolderOf(file);
    // The device the open port uses (after the line recovered, the one it found then); else
    // the device the port will not open because it is gone; else where the port leads now.
    const SerialPort& port = m_with.transport.Port();
    std::optional<PortDevice> device;
    if (const std::string inUse = port.OpenDevicePath(); !inUse.empty())
        device = DeviceInUse(inUse);
    else if (std::string missing = port.MissingDevice(serial.port); !missing.empty())
        device = PortDevice{std::move(missing), false};
    else
        device = DeviceOfPort(folder, serial.port);
    return SerialLinkText(serial, device, texts);
}

std::string MainForm::StatusAnswerText() const {
    return AnswerText(m_lastAnswer, m_with.localisation.Messages());
}

namespace {

// "2026-05-04 13:07:45", local time.
std::string TimeOfLine(std::time_t time) {
    const std::tm local = LocalCalendarTime(time);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, length);
}

} // namespace

void MainForm::MessageSaveClick(const std::function<std::string(const std::string&)>& asShown) {
    const MessageTexts& texts = m_with.localisation.Messages();
    const auto chosen = m_with.dialogs.ChooseFileToSave(
        {texts.Text(OwnMsg::LogSaveTitle), texts.Text(OwnMsg::TextFilesFilter),
         m_messagesFile.empty() ? folders.downLoad : m_messagesFile, "txt"});
    if (!chosen)
        return;
    m_messagesFile = *chosen;
    const auto& lines = MessageWindow.Lines();
    const auto& times = MessageWindow.Times();
    std::string content;
    for (std::size_t k = 0; k < lines.size(); ++k)
        content += TimeOfLine(times[k]) + "  " + asShown(lines[k]) + "\n";
    if (IsWriteProtected(*chosen) || !WriteFileAtomically(*chosen, content)) {
        m_with.prompts.WarningBeep();
        m_with.prompts.ErrorBox(texts.Format(OwnMsg::LogCannotSave, {*chosen}));
        return;
    }
    AddMessageLine(texts.Format(OwnMsg::LogSaved, {*chosen}));
}

std::optional<WindowPlacement> MainForm::StoredPlacement() const {
    return ParsePlacement(m_with.settings.Read(keys::MainWindowPlacement));
}

void MainForm::StorePlacement(const WindowPlacement& placement) {
    if (!m_with.settings.SettingsFileExists())
        return;
    try {
        m_with.settings.Write(keys::MainWindowPlacement, FormatPlacement(placement));
    } catch (const std::exception&) {
        // The window's place is a convenience: a settings file that cannot be written has been
        // reported where it matters, and the program ends anyway.
    }
}

void MainForm::MenuTraceClick() {
    const MessageTexts& texts = m_with.localisation.Messages();
    if (m_trace) {
        m_with.transport.SetTrace(nullptr);
        m_trace.reset();
        MenuTrace.checked = false;
        AddMessageLine(texts.Format(OwnMsg::TraceStopped, {m_with.settings.Read(keys::TraceFile)}));
        statusChanged.Emit();
        changed.Emit();
        return;
    }
    const std::string last = m_with.settings.Read(keys::TraceFile);
    const auto chosen = m_with.dialogs.ChooseFileToSave(
        {texts.Text(OwnMsg::TraceTitle), texts.Text(OwnMsg::TextFilesFilter),
         last.empty() ? folders.downLoad : last, "txt"});
    if (!chosen)
        return;
    try {
        EventLoop& loop = m_with.loop;
        m_trace = std::make_unique<LinkTrace>(std::make_unique<FileTraceSink>(*chosen),
                                              [&loop] { return loop.NowMs(); });
    } catch (const std::runtime_error&) {
        m_with.prompts.WarningBeep();
        m_with.prompts.ErrorBox(texts.Format(OwnMsg::TraceCannotWrite, {*chosen}));
        return;
    }
    m_with.transport.SetTrace(m_trace.get());
    MenuTrace.checked = true;
    try {
        m_with.settings.Write(keys::TraceFile, *chosen);
    } catch (const std::exception&) {
        // Only the file offered next time is lost.
    }
    AddMessageLine(texts.Format(OwnMsg::TraceStarted, {*chosen}));
    statusChanged.Emit();
    changed.Emit();
}

void MainForm::FormClose() {
    m_with.transport.CloseAtExit();
    m_with.transport.SetTrace(nullptr);
    m_trace.reset();
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
        {"MenuTrace", &MenuTrace},
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
