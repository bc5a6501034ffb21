#pragma once

#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "link/LinkTrace.h"
#include "link/Transport.h"
#include "tables/ParameterTables.h"
#include "transfer/SiteTexts.h"
#include "transfer/TransferContext.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace setfolio {

class EventLoop;
class Prompts;
class SerialPort;
class TcpClient;

// The event loop and the ports a processor is reached through.
struct LinkPlatform {
    EventLoop& loop;
    SerialPort& port;
    TcpClient& tcp;
};

// An event loop and ports that belong to one thread, built by a front end for a worker (a
// backup's) that reaches processors from that thread.
class ThreadPlatform {
public:
    virtual ~ThreadPlatform() = default;
    virtual LinkPlatform Link() = 0;
};

// How one processor is reached: a serial line (a device path, or a COM number, with its line
// settings) or TCP to `host[:port]`.
struct LinkDescription {
    bool serial = false;
    std::string device; // opened instead of serialSettings.port when given
    SerialSettings serialSettings{1, 9600, Parity::None, 8, 1};
    std::string host;
    std::uint16_t tcpPort = ProcessorTcpPort; // for a host that names no port of its own
};

// A serial link to `device` (a path) with these line settings.
LinkDescription SerialDeviceLink(const std::string& device, SerialSettings settings);
// A TCP link to `host` or `host:port`, port `tcpPort` when the host names none.
LinkDescription TcpLink(const std::string& host, std::uint16_t tcpPort);

// Everything that talks to one processor, built in one place: the model, the transport and the
// exchange over it, the parameter tables and the site's choice texts. Nothing else builds a
// transport or an exchange.
class ProcessorSession {
public:
    // A processor of a fixed link and model (the command line, a backup, learning): the session
    // keeps the model itself, stores no setting, and uses `vocabulary` as the site's texts.
    ProcessorSession(const LinkPlatform& platform, Prompts& prompts, const LinkDescription& link,
                     std::int32_t modelType, SiteVocabulary vocabulary = {});
    // The desktop's: the model the settings keep, the link's settings given later through the
    // transport's sources, and the site's texts read from `siteTextsPath`.
    ProcessorSession(const LinkPlatform& platform, Prompts& prompts, CurrentModel& model,
                     std::uint16_t tcpPort, std::string siteTextsPath);
    ProcessorSession(const ProcessorSession&) = delete;
    ProcessorSession& operator=(const ProcessorSession&) = delete;

private:
    // Declared first: the public members are built from them.
    Prompts& m_prompts;
    const Settings m_noSettings{""}; // never written: a fixed model is not stored
    std::optional<CurrentModel> m_ownModel;
    std::unique_ptr<LinkTrace> m_trace; // outlives the transport, which traces its closing

public:
    CurrentModel& model;
    Transport transport;
    Exchange exchange;
    SiteTextsFile siteTexts;
    ParameterTables tables;

    // Traces every command and reply of this session, and the link's opening and closing, to
    // `sink` from now on; a null sink ends the trace.
    void SetTrace(std::unique_ptr<TraceSink> sink);
    bool Tracing() const { return m_trace != nullptr; }

    // Opens the link and asks the processor for its active library: the processor's reply. A TCP
    // or port error propagates.
    Reply Open();
    // What a transfer works with, its lines going to `log` in `texts`; `activeLibrary` (when
    // given) is kept up to date with the processor's active library.
    TransferContext Context(MessageLog& log, const MessageTexts& texts,
                            std::function<void(int, const std::string&)> readInto = {},
                            std::int32_t* activeLibrary = nullptr);
};

} // namespace setfolio
