// setfolio-cli: the processor link without windows, for scripts and tests.
#include "CliOptions.h"

#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "tables/Assembly.h"
#include "tables/TablesJson.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <iostream>

using namespace setfolio;

namespace {

// Boxes become lines on standard error; there is nobody to beep at.
class ConsolePrompts : public Prompts {
public:
    void ErrorBox(const std::string& text) override {
        std::string line = text;
        for (auto& c : line) {
            if (c == '\r')
                c = ' ';
        }
        std::cerr << "setfolio-cli: " << line << "\n";
    }
    void WarningBeep() override {}
    void DefaultBeep() override {}
};

// The tables of a model as the program assembles them before a transfer of that model.
int RunTables(const cli::Options& options) {
    const Settings settings(""); // never read: the model is set directly below
    CurrentModel model(settings);
    model.Use(options.modelType);
    ParameterTables tables;
    AssembleParameterTables(tables, model, model.ModelType());
    std::cout << TablesJson(tables, model.ModelType()) << std::flush;
    return std::cout ? 0 : 1;
}

int Run(const cli::Options& options) {
    // The serial device is reached the way the program reaches it: as COM1 of a folder whose
    // ports/COM1 names the device.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::cerr << "setfolio-cli: cannot make a temporary folder\n";
        return 1;
    }
    const std::string folderPath = folder.path().toStdString();
    if (options.serial) {
        QDir(folder.path()).mkdir("ports");
        const QString device = QString::fromStdString(options.device);
        if (!QFile::link(QDir(device).absolutePath(), folder.path() + "/ports/COM1")) {
            std::cerr << "setfolio-cli: cannot name the device " << options.device << "\n";
            return 1;
        }
    }

    QtEventLoop loop;
    QtSerialPort port(folderPath);
    QtTcpClient tcp(loop);
    ConsolePrompts prompts;
    const Settings settings(folderPath); // never written: the model is set directly below
    CurrentModel model(settings);
    model.Use(options.modelType);
    Transport transport(port, tcp, loop, prompts, options.port);
    Exchange exchange(loop, transport, model, prompts);
    MessageTexts texts;

    SerialSettings serial = options.serialSettings;
    serial.port = 1;
    transport.SetSerialSettingsSource([serial] { return serial; });
    transport.SetHostEntrySource([&options] { return options.host; });
    transport.SetConnectionType(options.serial ? ConnectionType::Serial : ConnectionType::Ethernet);
    try {
        transport.OpenConnection();
        int library = 0;
        exchange.QueryLibrary();
        library = exchange.currentLibrary;
        if (options.command == "select" && exchange.replyStatus == ReplyStatus::Ok) {
            ChangeLibrary(exchange, model, exchange.currentLibrary, options.library, {});
            library = options.library;
        }
        if (const auto line = CurrentLibraryLine(exchange.replyStatus, library, texts))
            std::cout << *line << "\n";
        transport.CloseAtExit();
        return exchange.replyStatus == ReplyStatus::Ok ? 0 : 1;
    } catch (const TcpError& error) {
        std::cerr << "setfolio-cli: " << error.what() << "\n";
        return 1;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    const auto parsed = cli::ParseOptions(args);
    if (!parsed.options) {
        std::cerr << "setfolio-cli: " << parsed.error << "\n";
        if (parsed.showUsage)
            std::cerr << cli::Usage;
        return 2;
    }
    if (parsed.options->command == "tables")
        return RunTables(*parsed.options);
    return Run(*parsed.options);
}
