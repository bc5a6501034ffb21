#include "Processor.h"

#include "Command.h"
#include "Console.h"

#include "core/MessageLog.h"
#include "i18n/Messages.h"
#include "platform/TcpClient.h"
#include "qt/QtLinkPlatform.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/Download.h"
#include "transfer/ProcessorSession.h"

#include <ostream>
#include <utility>

namespace setfolio::cli {

Processor::Processor(EventLoop& loop, ProcessorSession& session, const MessageTexts& texts,
                     const Streams& io, ProgressLine& progress)
    : exchange(session.exchange), model(session.model), m_loop(loop), m_session(session),
      m_texts(texts), m_io(io), m_progress(progress) {}

void Processor::Print(const std::string& line) const {
    m_progress.Clear();
    m_io.out << line << std::endl;
}

const SiteVocabulary* Processor::Vocabulary() const {
    return &m_session.siteTexts.Vocabulary();
}

bool Processor::Ok() const {
    return exchange.replyStatus() == ReplyStatus::Ok;
}

int Processor::CurrentLibrary() const {
    return m_library;
}

int Processor::ReportLibrary(int library) const {
    if (const auto line = CurrentLibraryLine(exchange.replyStatus(), library, m_texts))
        Print(*line);
    return Ok() ? ExitOk : ExitRefused;
}

bool Processor::Run(const ProgressCaption& caption,
                    const std::function<void(const TransferContext&, TransferView&)>& run,
                    std::function<void(int, const std::string&)> readInto) const {
    MessageLog log;
    const auto printing = log.appended.Subscribe([this](const std::string& line) { Print(line); });
    ConsoleTransferView view(m_loop, exchange, m_progress, caption);
    run(m_session.Context(log, m_texts, std::move(readInto), &m_library), view);
    m_progress.Clear();
    return !view.Refused();
}

int Processor::Transfer(
    const TransferOptions& libraries,
    const std::function<void(const TransferContext&, TransferView&)>& run) const {
    const bool accepted =
        Run({"Library", libraries.first, libraries.last.value_or(libraries.first)}, run, {});
    return Ok() && accepted ? ExitOk : ExitRefused;
}

std::map<int, std::string> Processor::ReadBack(const TransferOptions& read,
                                               const std::string& what) const {
    std::map<int, std::string> libraries;
    Run(
        {what, read.first, read.last.value_or(read.first)},
        [&read](const TransferContext& context, TransferView& view) {
            RunDownload(
                context, view,
                {read.first, read.last.has_value(), read.last.value_or(read.first), read.file});
        },
        [&libraries](int library, const std::string& content) { libraries[library] = content; });
    return libraries;
}

int WithProcessor(const LinkSettings& link, const Streams& io,
                  const std::function<int(Processor&)>& work) {
    QtLinkPlatform qt;
    ProgressLine progress(io.err, io.errIsTerminal);
    ConsolePrompts prompts(io.err, progress);
    ProcessorSession session(qt.Link(), prompts,
                             link.serial ? SerialDeviceLink(link.device, link.serialSettings)
                                         : TcpLink(link.host, link.port),
                             link.modelType, link.vocabulary);
    if (!link.tracePath.empty()) {
        try {
            session.SetTrace(std::make_unique<FileTraceSink>(link.tracePath));
        } catch (const std::runtime_error& error) {
            io.err << "setfolio-cli: " << error.what() << "\n";
            return ExitUsage;
        }
    }
    const MessageTexts texts;
    Processor processor(qt.loop, session, texts, io, progress);
    bool opened = false;
    try {
        processor.m_library = session.Open().library.value_or(0);
        opened = true;
        const int status =
            processor.Ok() ? work(processor) : processor.ReportLibrary(processor.CurrentLibrary());
        session.transport.CloseAtExit();
        return status;
    } catch (const TcpError& error) {
        progress.Clear();
        // An attempt that timed out has been reported with the address already.
        if (opened || !prompts.Reported()) {
            const std::string address = link.host + " port " + std::to_string(link.port);
            io.err << "setfolio-cli: "
                   << (opened ? "the connection to " + address + " failed"
                              : "cannot connect to " + address)
                   << ": " << error.what() << "\n";
        }
        return ExitRefused;
    }
}

} // namespace setfolio::cli
