#include "Command.h"
#include "ProcessorOptions.h"

#include "backup/BackupJob.h"
#include "backup/Inventory.h"
#include "backup/Manifest.h"
#include "core/AtomicFile.h"
#include "qt/QtEventLoop.h"
#include "qt/QtSerialPort.h"
#include "qt/QtTcpClient.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>

namespace setfolio::cli {

namespace {

// What the threads share: the processors still to do, what each running one is at, the results.
class BackupRun {
public:
    BackupRun(const Inventory& inventory, std::string destination, bool restore,
              const SiteVocabulary& texts, const Streams& io)
        : m_destination(std::move(destination)), m_restore(restore), m_texts(texts), m_io(io),
          m_terminal(io.errIsTerminal), m_results(inventory.processors.size()) {
        // Processors that share a line (one serial device, one TCP port) run one after the other.
        std::map<std::string, std::size_t> lines;
        for (std::size_t i = 0; i < inventory.processors.size(); ++i) {
            const auto& processor = inventory.processors[i];
            const std::string line =
                processor.serial ? "serial " + processor.device
                                 : "tcp " + processor.host + ":" + std::to_string(processor.port);
            const auto [found, added] = lines.try_emplace(line, m_groups.size());
            if (added)
                m_groups.emplace_back();
            m_groups[found->second].push_back({i, &processor});
        }
    }

    std::size_t Groups() const { return m_groups.size(); }

    // Runs in a worker thread: one group after another until none is left.
    void Work() {
        for (;;) {
            std::vector<std::pair<std::size_t, const InventoryProcessor*>> group;
            {
                const std::lock_guard lock(m_mutex);
                if (m_next >= m_groups.size())
                    return;
                group = m_groups[m_next++];
            }
            for (const auto& [index, processor] : group)
                m_results[index] = BackUp(*processor);
        }
    }

    // The live lines of a terminal: one per running processor.
    std::vector<std::string> LiveLines() {
        const std::lock_guard lock(m_mutex);
        std::vector<std::string> lines;
        for (const auto& [name, line] : m_running)
            lines.push_back(line);
        return lines;
    }

    std::vector<ProcessorBackup>& Results() { return m_results; }

private:
    ProcessorBackup BackUp(const InventoryProcessor& processor) {
        // A serial device is reached as the program reaches it: COM1 of a folder whose ports/COM1
        // names the device.
        QTemporaryDir folder;
        if (processor.serial) {
            QDir(folder.path()).mkdir("ports");
            QFile::link(QDir(QString::fromStdString(processor.device)).absolutePath(),
                        folder.path() + "/ports/COM1");
        }
        QtEventLoop loop;
        QtSerialPort port(folder.path().toStdString());
        QtTcpClient tcp(loop);
        const std::size_t count = processor.libraries.size();
        Show(processor.name, processor.name + ": library 1 of " + std::to_string(count));
        BackupJob job(processor, m_destination, m_restore, &m_texts);
        ProcessorBackup result =
            job.Run({loop, port, tcp}, [&](std::size_t index, const LibraryBackup& library) {
                Finished(processor.name, library);
                if (index + 1 < count)
                    Show(processor.name, processor.name + ": library " + std::to_string(index + 2) +
                                             " of " + std::to_string(count));
            });
        const std::lock_guard lock(m_mutex);
        m_running.erase(processor.name);
        if (!result.failure.empty())
            Print(processor.name + ": " + result.failure);
        return result;
    }

    void Show(const std::string& name, const std::string& line) {
        const std::lock_guard lock(m_mutex);
        m_running[name] = line;
    }

    void Finished(const std::string& name, const LibraryBackup& library) {
        const std::lock_guard lock(m_mutex);
        if (m_terminal && library.status == ReplyStatus::Ok)
            return; // the live lines say it
        std::string line = name + ": library " + std::to_string(library.library) + " " +
                           std::string(NameOf(library.status));
        if (library.status == ReplyStatus::Ok)
            line += library.changed ? " (changed)" : " (unchanged)";
        else if (!library.failure.empty())
            line += " - " + library.failure;
        Print(line);
    }

    // Called with the mutex held.
    void Print(const std::string& line) {
        if (m_terminal)
            m_io.err << "\x1b[2K" << line << "\n" << std::flush;
        else
            m_io.out << line << std::endl;
    }

    std::string m_destination;
    bool m_restore;
    const SiteVocabulary& m_texts;
    const Streams& m_io;
    bool m_terminal;
    std::mutex m_mutex;
    std::vector<std::vector<std::pair<std::size_t, const InventoryProcessor*>>> m_groups;
    std::size_t m_next = 0;
    std::map<std::string, std::string> m_running;
    std::vector<ProcessorBackup> m_results;
};

// Draws the live lines over the ones drawn before.
class LiveLines {
public:
    explicit LiveLines(std::ostream& err) : m_err(err) {}
    void Draw(const std::vector<std::string>& lines) {
        Clear();
        for (const auto& line : lines)
            m_err << "\x1b[2K" << line.substr(0, 100) << "\n";
        m_drawn = lines.size();
        m_err << std::flush;
    }
    void Clear() {
        for (std::size_t i = 0; i < m_drawn; ++i)
            m_err << "\x1b[1A\x1b[2K";
        m_drawn = 0;
    }

private:
    std::ostream& m_err;
    std::size_t m_drawn = 0;
};

bool Git(const QString& folder, const QStringList& arguments, QString* output = nullptr) {
    QProcess git;
    git.setWorkingDirectory(folder);
    git.start("git", arguments);
    if (!git.waitForFinished(60000))
        return false;
    if (output)
        *output = QString::fromUtf8(git.readAllStandardOutput());
    return git.exitStatus() == QProcess::NormalExit && git.exitCode() == 0;
}

class BackupCommand : public Command {
public:
    BackupCommand()
        : Command("backup", "INVENTORY --dest DIR [--jobs N] [--git] [--no-restore] [--json]",
                  "Backs up the libraries of every processor of an inventory.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("INVENTORY", "The processors, one section each.");
        parser.addOptions({
            {"dest", "The folder the libraries go into (required).", "DIR"},
            {"jobs", "How many processors are backed up at the same time (default 16).", "N"},
            {"git", "Commits what changed when DIR is a git work tree."},
            {"no-restore", "Leaves each processor on the library read last."},
            {"json", "Prints the manifest at the end."},
        });
        DeclareVocabularyOption(parser);
    }

    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const std::string inventoryFile = OnlyArgument(parser, "backup needs an inventory");
        if (!parser.isSet("dest"))
            throw UsageError("backup needs --dest DIR");
        const std::string destination = Bytes(parser.value("dest"));
        int jobs = 16;
        if (parser.isSet("jobs")) {
            bool ok = false;
            jobs = parser.value("jobs").toInt(&ok);
            if (!ok || jobs < 1 || jobs > 256)
                throw UsageError("--jobs must be 1 to 256");
        }
        const SiteVocabulary texts = ReadVocabularyOption(parser);
        const auto content = ReadWholeFile(inventoryFile);
        if (!content)
            throw UsageError("cannot read " + inventoryFile, false);
        const Inventory inventory = ParseInventory(*content);
        if (!inventory.problems.empty()) {
            for (const auto& problem : inventory.problems)
                io.err << inventoryFile << ":" << problem.line << ": "
                       << (problem.section.empty() ? "" : "[" + problem.section + "] ")
                       << problem.text << "\n";
            return ExitUsage;
        }
        if (!QDir().mkpath(QString::fromStdString(destination)))
            throw UsageError("cannot make " + destination, false);
        return BackUp(inventory, destination, jobs, !parser.isSet("no-restore"), texts,
                      parser.isSet("git"), parser.isSet("json"), io);
    }

    int BackUp(const Inventory& inventory, const std::string& destination, int jobs, bool restore,
               const SiteVocabulary& texts, bool git, bool json, const Streams& io) {
        const QString start = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        const bool terminal = io.errIsTerminal;
        BackupRun run(inventory, destination, restore, texts, io);
        std::vector<std::unique_ptr<QThread>> threads;
        const auto workers = std::min<std::size_t>(static_cast<std::size_t>(jobs), run.Groups());
        QEventLoop waiting;
        std::size_t running = workers;
        for (std::size_t i = 0; i < workers; ++i) {
            threads.emplace_back(QThread::create([&run] { run.Work(); }));
            QObject::connect(threads.back().get(), &QThread::finished, &waiting, [&] {
                if (--running == 0)
                    waiting.quit();
            });
            threads.back()->start();
        }
        LiveLines live(io.err);
        QTimer redraw;
        if (terminal) {
            QObject::connect(&redraw, &QTimer::timeout, [&] { live.Draw(run.LiveLines()); });
            redraw.start(250);
        }
        if (running > 0)
            waiting.exec();
        for (const auto& thread : threads)
            thread->wait();
        redraw.stop();
        live.Clear();

        const auto& results = run.Results();
        const QString end = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        const std::string manifest = ManifestJson(results, start.toStdString(), end.toStdString());
        int status = ExitOk;
        for (const auto& result : results)
            status = result.AllOk() ? status : ExitRefused;
        if (!WriteFileAtomically(destination + "/manifest.json", manifest)) {
            io.err << "setfolio-cli: cannot write " << destination << "/manifest.json\n";
            status = ExitRefused;
        }
        const BackupCounts counts = CountLibraries(results);
        io.out << "Libraries: " << counts.changed << " changed, " << counts.unchanged
               << " unchanged, " << counts.failed << " failed.\n";
        if (git && !Commit(destination, counts, io))
            status = ExitRefused;
        if (json)
            io.out << manifest;
        io.out << std::flush;
        return status;
    }

    // A commit of the run's files and manifest, when a library changed.
    static bool Commit(const std::string& destination, const BackupCounts& counts,
                       const Streams& io) {
        const QString folder = QString::fromStdString(destination);
        QString inside;
        if (!Git(folder, {"rev-parse", "--is-inside-work-tree"}, &inside) ||
            inside.trimmed() != "true") {
            io.err << "setfolio-cli: " << destination << " is not a git work tree\n";
            return false;
        }
        if (counts.changed == 0) {
            io.out << "Nothing changed: no commit.\n";
            return true;
        }
        const QString message = QString("Backup: %1 changed, %2 unchanged, %3 failed libraries")
                                    .arg(counts.changed)
                                    .arg(counts.unchanged)
                                    .arg(counts.failed);
        if (!Git(folder, {"add", "--all", "."}) ||
            !Git(folder, {"-c", "user.name=setfolio-cli", "-c", "user.email=setfolio-cli@localhost",
                          "commit", "--quiet", "-m", message})) {
            io.err << "setfolio-cli: git could not commit in " << destination << "\n";
            return false;
        }
        io.out << "Committed: " << message.toStdString() << "\n";
        return true;
    }

    QString Notes() const override {
        return "INVENTORY is a profile file with one section per processor:\n"
               "  [Line 3]\n"
               "  Model=C-12\n"
               "  Tcp=192.168.1.20:4001        ; or Serial=/dev/ttyUSB0 (Baud=, Parity=,\n"
               "                               ; DataBits=, StopBits= as for the link options)\n"
               "  Libraries=1-20,25\n"
               "  IncludeCal=no                ; bench models: also the calibration section\n"
               "Each library goes to DIR/<section>/Library NNN.lvf, written only when its bytes\n"
               "changed; DIR/manifest.json records the run. Processors run in parallel, those\n"
               "on one serial device one after the other. Exit status: 0 every library read,\n"
               "1 any failed, 2 a usage or inventory error.\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeBackupCommand() {
    return std::make_unique<BackupCommand>();
}

} // namespace setfolio::cli
