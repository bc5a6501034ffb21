#include "Processor.h"

#include "Command.h"
#include "Console.h"

#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/Settings.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "platform/TcpClient.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "tables/ParameterTables.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/Download.h"
#include "transfer/TransferContext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <ostream>
#include <utility>

namespace setfolio::cli {

bool Processor::Ok() const {
    return exchange.replyStatus() == ReplyStatus::Ok;
}

int Processor::CurrentLibrary() const {
    return exchange.currentLibrary();
}

int Processor::ReportLibrary(int library) const {
    if (const auto line = CurrentLibraryLine(exchange.replyStatus(), library, m_texts))
        m_io.out << *line << "\n";
    return Ok() ? ExitOk : ExitRefused;
}

bool Processor::Run(const std::function<void(const TransferContext&, TransferView&)>& run,
                    std::function<void(int, const std::string&)> readInto) const {
    MessageLog log;
    const auto printing =
        log.appended.Subscribe([this](const std::string& line) { m_io.out << line << std::endl; });
    ParameterTables tables;
    tables.site = m_vocabulary;
    ConsoleTransferView view(m_loop, m_io.err, m_io.errIsTerminal);
    run(TransferContext{exchange, model, tables, log, m_texts, m_prompts, std::move(readInto)},
        view);
    return !view.Refused();
}

int Processor::Transfer(
    const std::function<void(const TransferContext&, TransferView&)>& run) const {
    const bool accepted = Run(run, {});
    return Ok() && accepted ? ExitOk : ExitRefused;
}

std::map<int, std::string> Processor::ReadBack(const TransferOptions& read) const {
    std::map<int, std::string> libraries;
    Run(
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
    // The serial device is reached the way the program reaches it: as COM1 of a folder whose
    // ports/COM1 names the device.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        io.err << "setfolio-cli: cannot make a temporary folder\n";
        return ExitRefused;
    }
    const std::string folderPath = folder.path().toStdString();
    if (link.serial) {
        QDir(folder.path()).mkdir("ports");
        const QString device = QString::fromStdString(link.device);
        if (!QFile::link(QDir(device).absolutePath(), folder.path() + "/ports/COM1")) {
            io.err << "setfolio-cli: cannot name the device " << link.device << "\n";
            return ExitRefused;
        }
    }

    QtEventLoop loop;
    QtSerialPort port(folderPath);
    QtTcpClient tcp(loop);
    ConsolePrompts prompts(io.err);
    const Settings settings(folderPath); // never written: the model is set directly below
    CurrentModel model(settings);
    model.Use(link.modelType);
    Transport transport(port, tcp, loop, prompts, link.port);
    Exchange exchange(loop, transport, model, prompts);
    MessageTexts texts;

    SerialSettings serial = link.serialSettings;
    serial.port = 1;
    transport.SetSerialSettingsSource([serial] { return serial; });
    transport.SetHostEntrySource([&link] { return link.host; });
    transport.SetConnectionType(link.serial ? ConnectionType::Serial : ConnectionType::Ethernet);
    Processor processor(loop, exchange, model, prompts, texts, &link.vocabulary, io);
    try {
        transport.OpenConnection();
        exchange.QueryLibrary();
        const int status =
            processor.Ok() ? work(processor) : processor.ReportLibrary(processor.CurrentLibrary());
        transport.CloseAtExit();
        return status;
    } catch (const TcpError& error) {
        io.err << "setfolio-cli: " << error.what() << "\n";
        return ExitRefused;
    }
}

} // namespace setfolio::cli
