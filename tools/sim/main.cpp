// setfolio-sim: a simulated processor on a pseudo-terminal and/or a loopback TCP port.
#include "CommandLine.h"
#include "SimProcessor.h"
#include "tables/SiteVocabulary.h"

#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "link/LinkTrace.h"
#include "link/SerialLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <limits>
#include <optional>
#include <sys/timerfd.h>
#include <termios.h>
#include <tuple>
#include <unistd.h>

using namespace setfolio;
using namespace setfolio::sim;

namespace {

constexpr const char* Usage =
    "usage: setfolio-sim [--model MODEL] [--serial PATH | --com N --program EXE] [--tcp PORT]\n"
    "                    [--state FILE] [--active N] [--log FILE] [--baud N] [--faults FILE]\n";

constexpr const char* Notes =
    "MODEL: an entry name such as C-12 (the default) or a model type 0..46\n"
    "The FILE of --faults has one rule a line: refuse PREFIX CODE (an N-code, a menu code 1-5,\n"
    "or NAK), silent PREFIX, garbage PREFIX, flood PREFIX BYTES, slow-switch SECONDS,\n"
    "drop-after N, gone-after N (the connection ends and no new one is taken).\n"
    "It ends on Ctrl+C or SIGTERM and removes its link.\n";

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(g_signalPipe[1], &byte, 1);
}

// The log: the lines of a trace, appended to a file left open.
class FileSink : public TraceSink {
public:
    explicit FileSink(QFile& file) : m_file(file) {}
    void WriteLine(std::string_view line) override {
        m_file.write(line.data(), static_cast<qint64>(line.size()));
        m_file.write("\n", 1);
        m_file.flush();
    }

private:
    QFile& m_file;
};

QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

struct Options {
    std::int32_t modelType = 0;
    QString serialLink;
    int tcpPort = -1;
    QString stateFile;
    int active = -1;
    QString logFile;
    int baud = 0;
    QString faultsFile;
    QString vocabularyFile;
};

class Simulator {
public:
    Simulator(const Options& options, std::unique_ptr<SimProcessor> processor)
        : m_options(options), m_processor(std::move(processor)) {}
    ~Simulator() {
        if (m_timer >= 0)
            ::close(m_timer);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool Start(QString& error);
    void Stop();

private:
    void LoadState();
    void SaveState();
    void Log(const char* event, const std::string& bytes);
    // Answers in order: a reply never overtakes an earlier one, whatever their delays. With a
    // baud rate, `received` bytes have first to arrive over the wire, and every reply takes its
    // own wire time to leave.
    void Answer(std::size_t received, const std::vector<sim::Reply>& replies,
                const std::function<void(std::string)>& send);
    // Nanoseconds that `bytes` take on the wire (none without a baud rate).
    qint64 WireNanoseconds(std::size_t bytes) const;
    // Sends the replies that are due and sets the timer for the next one.
    void SendDueReplies();
    void ArmTimer();
    void OnSerialData();
    void FlushSerial();
    void OnTcpConnection();
    // Changes whenever the state worth saving changes.
    std::tuple<int, int, std::size_t> Revision() const {
        return {m_processor->activeLibrary, m_processor->revision, m_processor->libraries.size()};
    }

    Options m_options;
    std::unique_ptr<SimProcessor> m_processor;
    int m_master = -1;
    int m_slave = -1;
    QString m_linkCreated;
    std::unique_ptr<QSocketNotifier> m_serialNotifier;
    std::unique_ptr<QSocketNotifier> m_serialWritable;
    std::string m_serialOut; // replies the terminal has not taken yet
    QTcpServer m_server;
    QTcpSocket* m_socket = nullptr;
    QFile m_log;
    std::unique_ptr<LinkTrace> m_trace; // writes to m_log, in the program's trace format
    // When (on the monotonic clock, in nanoseconds) the last reply has left, and the last
    // command has arrived, over the emulated wire.
    qint64 m_lastDue = 0;
    qint64 m_inputDue = 0;
    // Replies waiting for their time, in the order they leave. A timer file rather than Qt's
    // millisecond timers: at 38400 baud a byte takes a quarter of a millisecond.
    struct Outgoing {
        qint64 due;
        std::string bytes;
        std::function<void(std::string)> send;
    };
    std::deque<Outgoing> m_outgoing;
    int m_timer = -1;
    std::unique_ptr<QSocketNotifier> m_timerNotifier;
};

bool Simulator::Start(QString& error) {
    m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timer < 0) {
        error = "cannot create a timer";
        return false;
    }
    m_timerNotifier = std::make_unique<QSocketNotifier>(m_timer, QSocketNotifier::Read);
    QObject::connect(m_timerNotifier.get(), &QSocketNotifier::activated,
                     [this] { SendDueReplies(); });
    if (!m_options.logFile.isEmpty()) {
        m_log.setFileName(m_options.logFile);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            error = "cannot open the log " + m_options.logFile;
            return false;
        }
        m_trace = std::make_unique<LinkTrace>(
            std::make_unique<FileSink>(m_log),
            [clock = std::make_shared<QElapsedTimer>()]() -> std::int64_t {
                if (!clock->isValid())
                    clock->start();
                return clock->elapsed();
            },
            LinkTrace::Side::Processor);
    }
    LoadState();
    if (m_options.active >= 0)
        m_processor->activeLibrary = m_options.active;

    if (!m_options.serialLink.isEmpty()) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            error = "cannot make a pseudo-terminal";
            return false;
        }
        const QString slavePath = QString::fromLocal8Bit(::ptsname(m_master));
        // Held open here too, so the line stays up while the program closes and reopens it.
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
        termios raw{};
        if (m_slave < 0 || ::tcgetattr(m_slave, &raw) != 0) {
            error = "cannot open " + slavePath;
            return false;
        }
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        QDir().mkpath(QFileInfo(m_options.serialLink).absolutePath());
        QFile::remove(m_options.serialLink);
        if (!QFile::link(slavePath, m_options.serialLink)) {
            error = "cannot make the link " + m_options.serialLink;
            return false;
        }
        m_linkCreated = m_options.serialLink;
        m_serialNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_serialNotifier.get(), &QSocketNotifier::activated,
                         [this] { OnSerialData(); });
        m_serialWritable = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
        m_serialWritable->setEnabled(false);
        QObject::connect(m_serialWritable.get(), &QSocketNotifier::activated,
                         [this] { FlushSerial(); });
        std::cout << "serial " << m_options.serialLink.toStdString() << " -> "
                  << slavePath.toStdString() << std::endl;
    }
    if (m_options.tcpPort >= 0) {
        if (!m_server.listen(QHostAddress::LocalHost, static_cast<quint16>(m_options.tcpPort))) {
            error = "cannot listen on 127.0.0.1:" + QString::number(m_options.tcpPort) + ": " +
                    m_server.errorString();
            return false;
        }
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { OnTcpConnection(); });
        std::cout << "tcp 127.0.0.1:" << m_server.serverPort() << std::endl;
    }
    std::cout << "ready " << LabelOf(m_options.modelType) << ", active library "
              << m_processor->activeLibrary << std::endl;
    return true;
}

void Simulator::Stop() {
    if (!m_linkCreated.isEmpty())
        QFile::remove(m_linkCreated);
    m_linkCreated.clear();
    if (m_socket)
        m_socket->abort();
}

void Simulator::LoadState() {
    if (m_options.stateFile.isEmpty())
        return;
    QFile file(m_options.stateFile);
    if (!file.open(QIODevice::ReadOnly))
        return; // a new state file
    const QJsonObject state = QJsonDocument::fromJson(file.readAll()).object();
    m_processor->activeLibrary = state.value("active").toInt(m_processor->activeLibrary);
    const QJsonObject libraries = state.value("libraries").toObject();
    for (auto it = libraries.begin(); it != libraries.end(); ++it) {
        Library library;
        const QJsonObject entry = it.value().toObject();
        const QJsonObject parameters = entry.value("parameters").toObject();
        for (auto p = parameters.begin(); p != parameters.end(); ++p)
            library.parameters[ToBytes(p.key())] = ToBytes(p.value().toString());
        for (const auto& line : entry.value("common").toArray())
            library.common.push_back(ToBytes(line.toString()));
        for (const auto& line : entry.value("user").toArray())
            library.user.push_back(ToBytes(line.toString()));
        m_processor->libraries[it.key().toInt()] = std::move(library);
    }
}

void Simulator::SaveState() {
    if (m_options.stateFile.isEmpty())
        return;
    QJsonObject libraries;
    for (const auto& [number, library] : m_processor->libraries) {
        QJsonObject parameters;
        for (const auto& [name, value] : library.parameters)
            parameters.insert(FromBytes(name), FromBytes(value));
        QJsonArray common;
        for (const auto& line : library.common)
            common.append(FromBytes(line));
        QJsonArray user;
        for (const auto& line : library.user)
            user.append(FromBytes(line));
        libraries.insert(
            QString::number(number),
            QJsonObject{{"parameters", parameters}, {"common", common}, {"user", user}});
    }
    // Replaced whole by a rename, so a reader never sees half a file. Not flushed to the disk:
    // the simulator saves after every change, and a test reads the file right after.
    const QByteArray json =
        QJsonDocument(QJsonObject{{"active", m_processor->activeLibrary}, {"libraries", libraries}})
            .toJson();
    const QString temporary = m_options.stateFile + ".new";
    QFile file(temporary);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(json) == json.size()) {
        file.close();
        std::rename(temporary.toLocal8Bit().constData(),
                    m_options.stateFile.toLocal8Bit().constData());
    }
}

void Simulator::Log(const char* event, const std::string& bytes) {
    if (!m_trace)
        return;
    const std::string_view what(event);
    if (what == "received")
        m_trace->Received(bytes);
    else if (what == "sent")
        m_trace->Sent(bytes);
    else
        m_trace->Closed(bytes);
}

namespace {

qint64 MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<qint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

qint64 Simulator::WireNanoseconds(std::size_t bytes) const {
    // A byte takes ten bit times: start, eight data bits, stop.
    return m_options.baud > 0 ? static_cast<qint64>(bytes) * 10'000'000'000 / m_options.baud : 0;
}

void Simulator::Answer(std::size_t received, const std::vector<sim::Reply>& replies,
                       const std::function<void(std::string)>& send) {
    m_inputDue = std::max(MonotonicNanoseconds(), m_inputDue) + WireNanoseconds(received);
    for (const auto& reply : replies) {
        const qint64 due = std::max(m_inputDue + qint64{reply.delayMs} * 1'000'000, m_lastDue) +
                           WireNanoseconds(reply.bytes.size());
        m_lastDue = due;
        m_outgoing.push_back({due, reply.bytes, send});
    }
    ArmTimer();
}

void Simulator::ArmTimer() {
    itimerspec when{};
    if (!m_outgoing.empty()) {
        // Zero would disarm the timer; a time already past fires at once.
        const qint64 due = std::max<qint64>(m_outgoing.front().due, 1);
        when.it_value.tv_sec = static_cast<time_t>(due / 1'000'000'000);
        when.it_value.tv_nsec = static_cast<long>(due % 1'000'000'000);
    }
    ::timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &when, nullptr);
}

void Simulator::SendDueReplies() {
    std::uint64_t expirations = 0;
    [[maybe_unused]] const auto got = ::read(m_timer, &expirations, sizeof expirations);
    const qint64 now = MonotonicNanoseconds();
    while (!m_outgoing.empty() && m_outgoing.front().due <= now) {
        Outgoing reply = std::move(m_outgoing.front());
        m_outgoing.pop_front();
        Log("sent", reply.bytes);
        reply.send(std::move(reply.bytes));
    }
    ArmTimer();
}

void Simulator::FlushSerial() {
    // The terminal takes a few kilobytes at a time; the rest waits until it has room again.
    std::string_view left = m_serialOut;
    while (!left.empty()) {
        const ssize_t written = ::write(m_master, left.data(), left.size());
        if (written <= 0)
            break;
        left.remove_prefix(static_cast<std::size_t>(written));
    }
    m_serialOut.erase(0, m_serialOut.size() - left.size());
    m_serialWritable->setEnabled(!m_serialOut.empty());
}

void Simulator::OnSerialData() {
    char buffer[4096];
    std::string received;
    for (;;) {
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        received.append(buffer, static_cast<std::size_t>(got));
    }
    if (received.empty())
        return;
    Log("received", received);
    const auto before = Revision();
    Answer(received.size(), m_processor->Receive(received), [this](std::string bytes) {
        m_serialOut += bytes;
        FlushSerial();
    });
    if (Revision() != before)
        SaveState();
}

void Simulator::OnTcpConnection() {
    QTcpSocket* socket = m_server.nextPendingConnection();
    if (m_socket)
        m_socket->abort(); // one connection at a time: the newest wins
    m_socket = socket;
    m_processor->Reconnect();
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QObject::destroyed, [this, socket] {
        if (m_socket == socket)
            m_socket = nullptr;
    });
    QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
        const QByteArray bytes = socket->readAll();
        const std::string received(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        Log("received", received);
        const auto before = Revision();
        Answer(received.size(), m_processor->Receive(received, true),
               [this, socket](std::string reply) {
                   if (m_socket == socket)
                       socket->write(reply.data(), static_cast<qint64>(reply.size()));
               });
        if (Revision() != before)
            SaveState();
        if (m_processor->Dropped()) {
            Log("close", "connection dropped");
            socket->disconnectFromHost();
            if (m_processor->Gone())
                m_server.close();
        }
    });
}

QString CheckArguments(const QCommandLineParser& parser, Options& options) {
    const auto value = [&parser](const char* name) { return parser.value(name); };
    if (!parser.positionalArguments().isEmpty())
        return "unexpected argument '" + parser.positionalArguments().constFirst() + "'";
    if (parser.isSet("model")) {
        const auto model = ModelNamed(value("model").toStdString());
        if (!model)
            return "unknown model " + value("model");
        options.modelType = *model;
    }
    // A whole number within [low, high] from option `name`, when it is given.
    const auto number = [&](const char* name, int low, int high, auto& into) -> QString {
        if (!parser.isSet(name))
            return {};
        bool ok = false;
        into = value(name).toInt(&ok);
        if (!ok || into < low || into > high)
            return QString("bad value for --") + name + ": " + value(name);
        return {};
    };
    for (const QString& error :
         {number("tcp", 0, 65535, options.tcpPort), number("active", 0, 999, options.active),
          number("baud", 1, std::numeric_limits<int>::max(), options.baud)}) {
        if (!error.isEmpty())
            return error;
    }
    options.serialLink = value("serial");
    options.stateFile = value("state");
    options.logFile = value("log");
    options.faultsFile = value("faults");
    options.vocabularyFile = value("vocabulary");
    if (parser.isSet("com")) {
        bool ok = false;
        const int com = value("com").toInt(&ok);
        if (!ok || com < 1 || com > ComPortCount || value("program").isEmpty())
            return "--com needs a number 1.." + QString::number(ComPortCount) + " and --program";
        // Where the program looks for its ports: beside it when its Setfolio.ini is there, else
        // in the user's configuration folder.
        const SettingsFolder folder = ChooseSettingsFolder(
            QFileInfo(value("program")).absolutePath().toStdString(),
            (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Setfolio")
                .toStdString());
        options.serialLink =
            QString::fromStdString(folder.path) + "/ports/COM" + QString::number(com);
    }
    if (options.serialLink.isEmpty() && options.tcpPort < 0)
        return "give a serial link (--serial or --com/--program) or --tcp";
    return {};
}

// Reads the command line into `options`. An exit status when there is nothing to run: help,
// the version, or a usage error (reported).
std::optional<int> ParseArguments(const QStringList& args, Options& options) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    const QCommandLineOption version("version", "Shows the version.");
    parser.setApplicationDescription("A simulated processor on a pseudo-terminal and/or a "
                                     "loopback TCP port.");
    parser.addOptions({
        help,
        version,
        {"model", "The model it plays; C-12 when none is given.", "MODEL"},
        {"serial", "Makes PATH a link to its pseudo-terminal.", "PATH"},
        {"com",
         "With --program: the program's COMN, that is PATH = FOLDER/ports/COMN, where FOLDER "
         "is the folder of EXE when a Setfolio.ini is there, else $XDG_CONFIG_HOME/Setfolio.",
         "N"},
        {"program", "The program whose COMN --com names.", "EXE"},
        {"tcp", "Also listens on 127.0.0.1:PORT (0 picks a free port).", "PORT"},
        {"state", "Its libraries as JSON, loaded at start and saved on every change.", "FILE"},
        {"active", "The active library at start, 0..999.", "N"},
        {"log", "Appends every command and reply, with times, to FILE.", "FILE"},
        {"baud",
         "Holds every command until its bytes have crossed an N-baud line, and every "
         "reply for its own wire time.",
         "N"},
        {"faults", "Misbehaves as the rules in FILE say.", "FILE"},
        {"vocabulary",
         "Shows the choice texts of FILE (a site's vocabulary file) in place of the built-in "
         "ones.",
         "FILE"},
    });
    auto error = tools::Parse(parser, args);
    if (parser.isSet(help)) {
        std::cout << tools::HelpText(parser, Usage, Notes).toStdString();
        return 0;
    }
    if (!error && parser.isSet(version)) {
        std::cout << "setfolio-sim " << SETFOLIO_VERSION << "\n";
        return 0;
    }
    if (!error) {
        if (const QString problem = CheckArguments(parser, options); !problem.isEmpty())
            error = problem;
    }
    if (!error)
        return std::nullopt;
    std::cerr << "setfolio-sim: " << error->toStdString() << "\n"
              << "Try 'setfolio-sim --help' for more information.\n";
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Options options;
    if (const auto exitStatus = ParseArguments(QCoreApplication::arguments(), options))
        return *exitStatus;
    SiteVocabulary texts;
    if (!options.vocabularyFile.isEmpty()) {
        try {
            texts = ReadSiteVocabulary(options.vocabularyFile.toStdString());
        } catch (const VocabularyError& bad) {
            std::cerr << "setfolio-sim: " << options.vocabularyFile.toStdString() << ": "
                      << bad.what() << "\n";
            return 2;
        }
    }
    auto processor = MakeProcessor(options.modelType, &texts);
    if (!options.faultsFile.isEmpty()) {
        QFile file(options.faultsFile);
        if (!file.open(QIODevice::ReadOnly)) {
            std::cerr << "setfolio-sim: cannot read " << options.faultsFile.toStdString() << "\n";
            return 2;
        }
        try {
            processor->SetFaults(ParseFaultRules(file.readAll().toStdString()));
        } catch (const std::exception& bad) {
            std::cerr << "setfolio-sim: " << bad.what() << "\n";
            return 2;
        }
    }

    if (::pipe(g_signalPipe) != 0)
        return 1;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    Simulator simulator(options, std::move(processor));
    QString error;
    if (!simulator.Start(error)) {
        std::cerr << "setfolio-sim: " << error.toStdString() << "\n";
        simulator.Stop();
        return 1;
    }
    const int result = QCoreApplication::exec();
    simulator.Stop();
    return result;
}
