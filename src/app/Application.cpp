#include "app/Application.h"

namespace setfolio {

Application::Application(const Platform& platform)
    : settings(platform.settingsFolder), model(settings),
      transport(platform.port, platform.tcp, platform.loop, platform.prompts, platform.tcpPort),
      exchange(platform.loop, transport, model, platform.prompts),
      ipListFile(platform.settingsFolder),
      serialForm(settings, transport, localisation, platform.dialogs),
      ipForm(ipListFile, serialForm, platform.prompts, localisation),
      languageForm(settings, localisation, serialForm.ParityComboBox),
      changeLibForm(exchange, model, localisation, platform.prompts, messageLog, platform.dialogs),
      siteTexts(platform.settingsFolder + "/" + SiteTextsFileName),
      downLoadForm(TransferContext{exchange, model, tables, messageLog, localisation.Messages(),
                                   platform.prompts},
                   settings, platform.dialogs, platform.loop, localisation),
      upLoadForm(TransferContext{exchange, model, tables, messageLog, localisation.Messages(),
                                 platform.prompts},
                 settings, platform.dialogs, platform.loop, localisation),
      libraryViewForm(localisation, platform.dialogs, platform.prompts, &siteTexts.Vocabulary()),
      mainForm({settings, model, transport, exchange, localisation, serialForm, ipForm,
                languageForm, changeLibForm, downLoadForm, upLoadForm, libraryViewForm, siteTexts,
                platform.prompts, platform.dialogs, platform.loop, messageLog}) {
    tables.site = &siteTexts.Vocabulary();
    downLoadForm.recentFolder = &recentFolder;
    upLoadForm.recentFolder = &recentFolder;
    libraryViewForm.recentFolder = &recentFolder;
    if (platform.serialDevices)
        serialForm.AttachPorts(PortLinks(platform.settingsFolder), *platform.serialDevices,
                               platform.prompts);
}

} // namespace setfolio
