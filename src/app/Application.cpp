#include "app/Application.h"

#include "core/Utf8Path.h"

namespace setfolio {

Application::Application(const Platform& platform)
    : settings(platform.settingsFolder), model(settings),
      session({platform.loop, platform.port, platform.tcp}, platform.prompts, model,
              platform.tcpPort, JoinPath(platform.settingsFolder, SiteTextsFileName)),
      transport(session.transport), exchange(session.exchange), siteTexts(session.siteTexts),
      tables(session.tables), ipListFile(platform.settingsFolder),
      serialForm(settings, transport, localisation, platform.dialogs, platform.prompts),
      ipForm(ipListFile, serialForm, platform.prompts, localisation),
      languageForm(settings, localisation, serialForm.ParityComboBox),
      changeLibForm(exchange, model, localisation, platform.prompts, messageLog, platform.dialogs),
      downLoadForm(session.Context(messageLog, localisation.Messages()), settings, platform.dialogs,
                   platform.loop, localisation),
      upLoadForm(session.Context(messageLog, localisation.Messages()), settings, platform.dialogs,
                 platform.loop, localisation),
      libraryViewForm(localisation, platform.dialogs, platform.prompts, &siteTexts.Vocabulary()),
      plantForm({settings, localisation, platform.dialogs, platform.prompts, libraryViewForm,
                 platform.plantPlatforms, platform.git, &siteTexts.Vocabulary(), platform.now}),
      mainForm({settings, model, transport, exchange, localisation, serialForm, ipForm,
                languageForm, changeLibForm, downLoadForm, upLoadForm, libraryViewForm, siteTexts,
                platform.prompts, platform.dialogs, platform.loop, messageLog}) {
    recentFolder.SetDocumentsFolder(platform.documentsFolder);
    downLoadForm.recentFolder = &recentFolder;
    upLoadForm.recentFolder = &recentFolder;
    libraryViewForm.recentFolder = &recentFolder;
    if (platform.serialDevices)
        serialForm.AttachPorts(PortLinks(platform.settingsFolder), *platform.serialDevices,
                               platform.prompts);
}

} // namespace setfolio
