#include "Command.h"
#include "ProcessorOptions.h"
#include "StopSignals.h"

#include "backup/Inventory.h"
#include "backup/Manifest.h"
#include "backup/PlantBackup.h"
#include "backup/RunLock.h"
#include "core/AtomicFile.h"
#include "qt/QtLinkPlatform.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>

#include <map>
#include <memory>
#include <ostream>
#include <vector>

namespace setfolio::cli {

namespace {

// Prints what a backup's workers report, from the one thread that takes their events: the live
// lines of a terminal (one per running processor) are cleared before any other line is printed
// and drawn again after it.
class BackupPrinter {
public:
    explicit BackupPrinter(const Streams& io) : m_io(io), m_terminal(io.errIsTerminal) {}

    void Show(const PlantEvent& event) {
        using Kind = PlantEvent::Kind;
        switch (event.kind) {
        case Kind::ProcessorStarted:
            m_running[event.processor] = Progress(event.name, 0, event.libraryCount);
            break;
        case Kind::LibraryFinished:
            Finished(event.name, event.library);
            if (event.libraryIndex + 1 < event.libraryCount)
                m_running[event.processor] =
                    Progress(event.name, event.libraryIndex + 1, event.libraryCount);
            break;
        case Kind::ProcessorFinished:
            m_running.erase(event.processor);
            break;
        case Kind::ProcessorFailed:
            m_running.erase(event.processor);
            if (!event.failure.empty())
                Print(event.name + ": " + event.failure);
            if (!event.notPutBack.empty())
                Print(event.name + " " + event.notPutBack);
            break;
        case Kind::RunFinished:
            m_running.clear();
            break;
        }
        if (m_terminal)
            Draw();
    }

    // Before the summary: the live lines go.
    void Clear() {
        for (std::size_t i = 0; i < m_drawn; ++i)
            m_io.err << "\x1b[1A\x1b[2K";
        m_drawn = 0;
        m_io.err << std::flush;
    }

private:
    static std::string Progress(const std::string& name, std::size_t index, std::size_t count) {
        return name + ": library " + std::to_string(index + 1) + " of " + std::to_string(count);
    }

    void Finished(const std::string& name, const LibraryBackup& library) {
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

    void Print(const std::string& line) {
        if (!m_terminal) {
            m_io.out << line << std::endl;
            return;
        }
        Clear();
        m_io.err << "\x1b[2K" << line << "\n";
    }

    void Draw() {
        Clear();
        for (const auto& [index, line] : m_running)
            m_io.err << "\x1b[2K" << line.substr(0, 100) << "\n";
        m_drawn = m_running.size();
        m_io.err << std::flush;
    }

    const Streams& m_io;
    bool m_terminal;
    std::map<std::size_t, std::string> m_running; // by place in the inventory
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
        // One run at a time into a folder, and nothing sent before the files are known to fit.
        const RunLock lock(destination);
        if (lock.State() == RunLock::Outcome::Taken)
            throw UsageError(
                "another backup into " + destination + " is running" +
                    (lock.Holder().empty() ? std::string() : " (process " + lock.Holder() + ")"),
                false);
        if (lock.State() == RunLock::Outcome::CannotLock)
            throw UsageError(lock.Problem(), false);
        const auto problems = DestinationProblems(inventory, destination);
        if (!problems.empty()) {
            for (const auto& problem : problems)
                io.err << "setfolio-cli: " << problem << "\n";
            return ExitUsage;
        }
        return BackUp(inventory, destination, jobs, !parser.isSet("no-restore"), texts,
                      parser.isSet("git"), parser.isSet("json"), io);
    }

    int BackUp(const Inventory& inventory, const std::string& destination, int jobs, bool restore,
               const SiteVocabulary& texts, bool git, bool json, const Streams& io) {
        const QString start = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        PlantBackup run(inventory, static_cast<std::size_t>(jobs),
                        PlantBackup::LibraryJob([] { return std::make_unique<QtLinkPlatform>(); },
                                                destination, restore, &texts));
        BackupPrinter printer(io);
        // Held to the end: a signal that comes while the record is written or the commit made
        // lets them finish.
        const StopSignals stopping(&run.StopFlag());
        run.Start();
        for (;;) {
            const PlantEvent event = run.NextEvent();
            printer.Show(event);
            if (event.kind == PlantEvent::Kind::RunFinished)
                break;
        }
        const int stopSignal = StopSignals::Caught();
        printer.Clear();

        const auto& results = run.Results();
        const QString end = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
        const std::string manifest = ManifestJson(results, start.toStdString(), end.toStdString());
        int status = ExitOk;
        bool allPutBack = true;
        for (const auto& result : results) {
            status = result.AllOk() ? status : ExitRefused;
            allPutBack = allPutBack && result.notPutBack.empty();
        }
        if (!WriteFileAtomically(destination + "/manifest.json", manifest)) {
            io.err << "setfolio-cli: cannot write " << destination << "/manifest.json\n";
            status = ExitRefused;
        }
        const BackupCounts counts = CountLibraries(results);
        io.out << "Libraries: " << counts.changed << " changed, " << counts.unchanged
               << " unchanged, " << counts.failed << " failed.\n";
        if (stopSignal != 0)
            io.out << "Stopped by signal " << stopSignal << (git ? ": nothing committed" : "")
                   << ".\n";
        else if (git && !Commit(destination, counts, io))
            status = ExitRefused;
        if (json)
            io.out << manifest;
        io.out << std::flush;
        // A processor left on another library needs someone's attention more than a stop does.
        return StopSignals::Caught() != 0 && allPutBack ? StopSignals::StoppedExitStatus() : status;
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
               "The inventory is UTF-8. Each library goes to DIR/<section>/Library NNN.lvf,\n"
               "written only when its bytes changed (through a symbolic link, which stays);\n"
               "DIR/manifest.json records the run. Processors run in parallel, those on one\n"
               "serial device one after the other. One run at a time into DIR: a second exits\n"
               "with 2. Before any processor is asked anything, DIR, every section's folder and\n"
               "every library file must be writable. Each processor is put back on the library\n"
               "it was running, also after a failed library or a lost link (over one new\n"
               "connection; no further library of it is read then). SIGINT, SIGTERM or SIGHUP\n"
               "stops the run: no processor starts any more, the library being read is ended,\n"
               "those running are put back on their library, the manifest is written and the\n"
               "exit status is 128 + the signal. A processor that could not be put back is\n"
               "named (\"Line 3 left on library 1, was 9: no answer\").\n"
               "Exit status: 0 every library read, 1 any failed or a processor not put back,\n"
               "2 a usage, inventory or destination error, or another run into DIR.\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeBackupCommand() {
    return std::make_unique<BackupCommand>();
}

} // namespace setfolio::cli
