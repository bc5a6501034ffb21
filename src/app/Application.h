#pragma once

#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "forms/ChangeLibForm.h"
#include "forms/DownLoadForm.h"
#include "forms/EditIpForm.h"
#include "forms/LanguageForm.h"
#include "forms/LibraryViewForm.h"
#include "forms/MainForm.h"
#include "forms/PlantForm.h"
#include "forms/SerialForm.h"
#include "forms/UpLoadForm.h"
#include "i18n/Localisation.h"
#include "link/IpAddressList.h"
#include "transfer/ProcessorSession.h"

#include <string>

namespace setfolio {

class Dialogs;
class EventLoop;
class Prompts;
class SerialDevices;
class SerialPort;
class TcpClient;

// Everything the program is made of, built in one place from the platform it runs on. The
// program builds one with Qt's event loop, ports and windows; every test builds its own with
// fakes and a temporary folder.
struct Platform {
    EventLoop& loop;
    SerialPort& port;
    TcpClient& tcp;
    Prompts& prompts;
    Dialogs& dialogs;
    std::string settingsFolder; // Setfolio.ini, IpAddressList.txt and ports/
    std::uint16_t tcpPort = ProcessorTcpPort;
    // The serial devices the communications dialog offers; without them it shows none.
    const SerialDevices* serialDevices = nullptr;
    // Where the file selections start when the folder they would start in is not there; none:
    // they start there all the same.
    std::string documentsFolder = {};
    // The plant window's workers' event loops and ports, git, and the time (ISO 8601 UTC);
    // without them its actions find no processor and no history.
    PlantBackup::PlatformFactory plantPlatforms = {};
    GitRunner git = {};
    std::function<std::string()> now = {};
};

class Application {
public:
    explicit Application(const Platform& platform);

    Settings settings;
    CurrentModel model;
    Localisation localisation;
    MessageLog messageLog;
    RecentFolder recentFolder;
    // The processor: its link's settings come from the communications dialog's sources.
    ProcessorSession session;
    Transport& transport;
    Exchange& exchange;
    SiteTextsFile& siteTexts;
    ParameterTables& tables;
    IpAddressListFile ipListFile;
    SerialForm serialForm;
    EditIpForm ipForm;
    LanguageForm languageForm;
    ChangeLibForm changeLibForm;
    DownLoadForm downLoadForm;
    UpLoadForm upLoadForm;
    LibraryViewForm libraryViewForm;
    PlantForm plantForm;
    MainForm mainForm;
};

} // namespace setfolio
