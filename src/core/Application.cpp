#include "core/Application.h"

namespace setfolio {

Application::Application(const Platform& platform)
    : settings(platform.programFolder), model(settings),
      transport(platform.port, platform.tcp, platform.loop, platform.prompts, platform.tcpPort),
      exchange(platform.loop, transport, model, platform.prompts),
      ipListFile(platform.programFolder), serialForm(settings, transport, localisation),
      ipForm(ipListFile, serialForm, platform.prompts),
      languageForm(settings, localisation, serialForm.ParityComboBox),
      changeLibForm(exchange, model, localisation, platform.prompts, messageLog, platform.dialogs),
      mainForm({settings, model, transport, exchange, localisation, serialForm, ipForm,
                languageForm, changeLibForm, platform.prompts, platform.dialogs, platform.loop,
                messageLog}) {}

} // namespace setfolio
