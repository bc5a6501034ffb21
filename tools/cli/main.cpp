// setfolio-cli: the processor link without windows, for scripts and tests.
#include "CliOptions.h"

#include "core/CurrentModel.h"
#include "core/MessageLog.h"
#include "core/ProfileFile.h"
#include "core/Settings.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "link/Transport.h"
#include "platform/EventLoop.h"
#include "platform/Prompts.h"
#include "platform/TcpClient.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"
#include "tables/Assembly.h"
#include "tables/ParameterTables.h"
#include "tables/TablesJson.h"
#include "transfer/ChangeLibrary.h"
#include "transfer/CurrentLibraryLine.h"
#include "transfer/Download.h"
#include "transfer/TransferView.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <iostream>
#include <unistd.h>

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
    // Only --include-cal gets this far; the question was answered on the command line.
    bool WarningYesNo(const std::string&) override { return true; }
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

// Stands in for the download dialog: progress goes to standard error when that is a terminal.
class ConsoleTransferView : public TransferView {
public:
    explicit ConsoleTransferView(EventLoop& loop) : m_loop(loop), m_tty(::isatty(2) != 0) {}
    ~ConsoleTransferView() override {
        if (m_tty && m_shown)
            std::cerr << "\n";
    }
    void SetTransferMode(bool on, int range) override {
        if (on)
            m_maximum = range;
        m_position = 0;
    }
    void SetEnabled(bool) override {}
    void Pause(int ms) override {
        auto timer = m_loop.CreateTimer();
        bool done = false;
        timer->SetInterval(ms);
        timer->SetOnExpiry([&] { done = true; });
        timer->Start();
        m_loop.WaitUntil([&] { return done; });
    }
    void KeepOpen() override {}
    int Position() const override { return m_position; }
    void SetPosition(int position) override {
        m_position = position;
        if (m_tty) {
            std::cerr << "\r" << m_position << " / " << m_maximum << std::flush;
            m_shown = true;
        }
    }
    void SetMaximum(int maximum) override { m_maximum = maximum; }

private:
    EventLoop& m_loop;
    bool m_tty;
    bool m_shown = false;
    int m_position = 0;
    int m_maximum = 0;
};

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
        library = exchange.currentLibrary();
        if (options.command == "upload" && exchange.replyStatus() == ReplyStatus::Ok) {
            MessageLog log;
            const auto printing = log.appended.Subscribe(
                [](const std::string& line) { std::cout << line << std::endl; });
            ParameterTables tables;
            ConsoleTransferView view(loop);
            const TransferContext context{exchange, model, tables, log, texts, prompts};
            UploadState state;
            // The file's own model decides the tables; the conversion entry reads every file
            // as one of its own, as the dialog does.
            state.fileModelType =
                ProfileFile(options.file).ReadInteger("SystemSettings", "ModelNo", -1);
            if (model.Quirks().convertsEveryFile)
                state.fileModelType = model.ModelType();
            RunUpload(context, view, state,
                      {options.library, options.lastLibrary.has_value(),
                       options.lastLibrary.value_or(options.library), options.file,
                       options.includeCalibration});
            transport.CloseAtExit();
            return exchange.replyStatus() == ReplyStatus::Ok ? 0 : 1;
        }
        if (options.command == "download" && exchange.replyStatus() == ReplyStatus::Ok) {
            // The lines the message window would show, as they come.
            MessageLog log;
            const auto printing = log.appended.Subscribe(
                [](const std::string& line) { std::cout << line << std::endl; });
            ParameterTables tables;
            ConsoleTransferView view(loop);
            const TransferContext context{exchange, model, tables, log, texts, prompts};
            RunDownload(context, view,
                        {options.library, options.lastLibrary.has_value(),
                         options.lastLibrary.value_or(options.library), options.file});
            transport.CloseAtExit();
            return exchange.replyStatus() == ReplyStatus::Ok ? 0 : 1;
        }
        if (options.command == "select" && exchange.replyStatus() == ReplyStatus::Ok) {
            ChangeLibrary(exchange, model, exchange.currentLibrary(), options.library, {});
            library = options.library;
        }
        if (const auto line = CurrentLibraryLine(exchange.replyStatus(), library, texts))
            std::cout << *line << "\n";
        transport.CloseAtExit();
        return exchange.replyStatus() == ReplyStatus::Ok ? 0 : 1;
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
