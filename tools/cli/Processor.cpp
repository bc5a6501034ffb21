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

#include <iostream>
#include <utility>

namespace setfolio::cli {

bool Processor::Ok() const {
    return exchange.replyStatus() == ReplyStatus::Ok;
}

int Processor::CurrentLibrary() const {
    return m_library;
}

int Processor::ReportLibrary(int library) const {
    if (const auto line = CurrentLibraryLine(exchange.replyStatus(), library, m_texts))
        std::cout << *line << "\n";
    return Ok() ? ExitOk : ExitRefused;
}

bool Processor::Run(const std::function<void(const TransferContext&, TransferView&)>& run,
                    std::function<void(int, const std::string&)> readInto) const {
    MessageLog log;
    const auto printing =
        log.appended.Subscribe([](const std::string& line) { std::cout << line << std::endl; });
    ParameterTables tables;
    tables.site = m_vocabulary;
    ConsoleTransferView view(m_loop);
    run(TransferContext{exchange, model, tables, log, m_texts, m_prompts, std::move(readInto),
                        &m_library},
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

int WithProcessor(const LinkSettings& link, const std::function<int(Processor&)>& work) {
    // The serial device is reached the way the program reaches it: as COM1 of a folder whose
    // ports/COM1 names the device.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::cerr << "setfolio-cli: cannot make a temporary folder\n";
        return ExitRefused;
    }
    const std::string folderPath = folder.path().toStdString();
    if (link.serial) {
        QDir(folder.path()).mkdir("ports");
        const QString device = QString::fromStdString(link.device);
        if (!QFile::link(QDir(device).absolutePath(), folder.path() + "/ports/COM1")) {
            std::cerr << "setfolio-cli: cannot name the device " << link.device << "\n";
            return ExitRefused;
        }
    }

    QtEventLoop loop;
    QtSerialPort port(folderPath);
    QtTcpClient tcp(loop);
    ConsolePrompts prompts;
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
    Processor processor(loop, exchange, model, prompts, texts, &link.vocabulary);
    try {
        transport.OpenConnection();
        processor.m_library = exchange.QueryLibrary().library.value_or(0);
        const int status =
            processor.Ok() ? work(processor) : processor.ReportLibrary(processor.CurrentLibrary());
        transport.CloseAtExit();
        return status;
    } catch (const TcpError& error) {
        std::cerr << "setfolio-cli: " << error.what() << "\n";
        return ExitRefused;
    }
}

} // namespace setfolio::cli
