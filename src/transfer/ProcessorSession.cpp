#include "transfer/ProcessorSession.h"

#include "platform/EventLoop.h"

#include <utility>

namespace setfolio {

LinkDescription SerialDeviceLink(const std::string& device, SerialSettings settings) {
    LinkDescription link;
    link.serial = true;
    link.device = device;
    link.serialSettings = settings;
    // The number only stands for the port in messages; the device is what opens.
    link.serialSettings.port = 1;
    return link;
}

LinkDescription TcpLink(const std::string& host, std::uint16_t tcpPort) {
    LinkDescription link;
    link.host = host;
    link.tcpPort = tcpPort;
    return link;
}

ProcessorSession::ProcessorSession(const LinkPlatform& platform, Prompts& prompts,
                                   const LinkDescription& link, std::int32_t modelType,
                                   SiteVocabulary vocabulary)
    : m_prompts(prompts), m_ownModel(std::in_place, m_noSettings), model(*m_ownModel),
      transport(platform.port, platform.tcp, platform.loop, prompts, link.tcpPort),
      exchange(platform.loop, transport, model, prompts), siteTexts("") {
    model.Use(modelType);
    platform.port.SetDevicePath(link.device);
    siteTexts.Use(std::move(vocabulary));
    tables.site = &siteTexts.Vocabulary();
    transport.SetSerialSettingsSource([serial = link.serialSettings] { return serial; });
    transport.SetHostEntrySource([host = link.host] { return host; });
    transport.SetConnectionType(link.serial ? ConnectionType::Serial : ConnectionType::Ethernet);
}

ProcessorSession::ProcessorSession(const LinkPlatform& platform, Prompts& prompts,
                                   CurrentModel& currentModel, std::uint16_t tcpPort,
                                   std::string siteTextsPath)
    : m_prompts(prompts), model(currentModel),
      transport(platform.port, platform.tcp, platform.loop, prompts, tcpPort),
      exchange(platform.loop, transport, model, prompts), siteTexts(std::move(siteTextsPath)) {
    tables.site = &siteTexts.Vocabulary();
}

void ProcessorSession::SetTrace(std::unique_ptr<TraceSink> sink) {
    transport.SetTrace(nullptr);
    m_trace.reset();
    if (!sink)
        return;
    EventLoop& loop = exchange.Loop();
    m_trace = std::make_unique<LinkTrace>(std::move(sink), [&loop] { return loop.NowMs(); });
    transport.SetTrace(m_trace.get());
}

Reply ProcessorSession::Open() {
    transport.OpenConnection();
    return exchange.QueryLibrary();
}

TransferContext ProcessorSession::Context(MessageLog& log, const MessageTexts& texts,
                                          std::function<void(int, const std::string&)> readInto,
                                          std::int32_t* activeLibrary) {
    return TransferContext{exchange,     model, tables, log, texts, m_prompts, std::move(readInto),
                           activeLibrary};
}

} // namespace setfolio
