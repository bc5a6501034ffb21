#include "Command.h"
#include "GitProcess.h"
#include "PlantCommand.h"
#include "ProcessorOptions.h"
#include "StopSignals.h"

#include "backup/BackupRun.h"
#include "backup/Inventory.h"
#include "backup/PlantBackup.h"
#include "qt/QtLinkPlatform.h"

#include <QDateTime>

#include <memory>
#include <ostream>
#include <vector>

namespace setfolio::cli {

namespace {

// A library's line: on a terminal, one read well is told by the live lines.
std::string BackupLine(const std::string& name, const LibraryBackup& library, bool terminal) {
    if (terminal && library.status == ReplyStatus::Ok)
        return {};
    std::string line = name + ": library " + std::to_string(library.library) + " " +
                       std::string(NameOf(library.status));
    if (library.status == ReplyStatus::Ok)
        line += library.changed ? " (changed)" : " (unchanged)";
    else if (!library.failure.empty())
        line += " - " + library.failure;
    return line;
}

class BackupCommand : public Command {
public:
    BackupCommand()
        : Command(
              "backup",
              "INVENTORY --dest DIR [--jobs N] [--git [--push] [--remote REMOTE]] [--no-restore] "
              "[--json] [--trace DIR]",
              "Backs up the libraries of every processor of an inventory.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("INVENTORY", "The processors, one section each.");
        parser.addOptions({
            {"dest", "The folder the libraries go into (required).", "DIR"},
            {"jobs", "How many processors are backed up at the same time (default 16).", "N"},
            {"git", "Commits the backup's own files when they changed; DIR must be in a git "
                    "work tree on a branch, with no merge, rebase, cherry-pick or bisect under "
                    "way."},
            {"push", "With --git: pushes the branch to its upstream after the commit."},
            {"remote",
             "With --git: pushes the branch to REMOTE (a remote's name, a URL or a "
             "path) instead of its upstream.",
             "REMOTE"},
            {"no-restore", "Leaves each processor on the library read last."},
            {"json", "Prints the run's record at the end."},
            {"trace", "Traces each processor's link into DIR/<section>.trace.", "DIR"},
        });
        DeclareVocabularyOption(parser);
    }

    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const std::string inventoryFile = OnlyArgument(parser, "backup needs an inventory");
        if (!parser.isSet("dest"))
            throw UsageError("backup needs --dest DIR");
        const std::string destination = Bytes(parser.value("dest"));
        const int jobs = ReadJobsOption(parser);
        const bool git = parser.isSet("git");
        const bool push = parser.isSet("push") || parser.isSet("remote");
        if (push && !git)
            throw UsageError("--push and --remote need --git");
        const SiteVocabulary texts = ReadVocabularyOption(parser);
        const std::string traceFolder = ReadTraceOption(parser);
        const auto read = ReadInventoryFile(inventoryFile, io);
        if (!read)
            return ExitUsage;
        const Inventory& inventory = *read;
        BackupSettings settings{destination, git, push, Bytes(parser.value("remote")), false};
        BackupRun backup(inventory, settings, RunGit);
        const auto problems = backup.Prepare();
        if (!problems.empty()) {
            for (const auto& problem : problems)
                io.err << "setfolio-cli: " << problem << "\n";
            return ExitUsage;
        }
        return BackUp(inventory, backup, destination, jobs, !parser.isSet("no-restore"), texts, git,
                      push, parser.isSet("json"), traceFolder, io);
    }

    int BackUp(const Inventory& inventory, BackupRun& backup, const std::string& destination,
               int jobs, bool restore, const SiteVocabulary& texts, bool git, bool push, bool json,
               const std::string& traceFolder, const Streams& io) {
        const auto now = [] {
            return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
        };
        const std::string start = now();
        PlantBackup run(inventory, static_cast<std::size_t>(jobs),
                        PlantBackup::LibraryJob([] { return std::make_unique<QtLinkPlatform>(); },
                                                destination, restore, &texts, traceFolder));
        PlantPrinter printer(io, BackupLine);
        // Held to the end: a signal that comes while the record is written or the commit made
        // lets them finish.
        const StopSignals stopping(&run.StopFlag());
        printer.ShowRun(run);
        const int stopSignal = StopSignals::Caught();

        const BackupRun::Outcome outcome = backup.Finish(run.Results(), start, stopSignal, now);
        int status = outcome.failures.empty() ? ExitOk : ExitRefused;
        bool allPutBack = true;
        for (const auto& result : outcome.record.processors) {
            status = result.AllOk() ? status : ExitRefused;
            allPutBack = allPutBack && result.notPutBack.empty();
        }
        // The lines on standard error in the order things went wrong.
        for (std::size_t f = 0; f <= outcome.failures.size(); ++f) {
            if (f == outcome.commitWarningAt && !outcome.commitWarning.empty())
                io.err << "setfolio-cli: " << outcome.commitWarning << "\n";
            if (f < outcome.failures.size())
                io.err << "setfolio-cli: " << outcome.failures[f] << "\n";
        }
        const BackupCounts& counts = outcome.counts;
        io.out << "Libraries: " << counts.changed << " changed, " << counts.unchanged
               << " unchanged, " << counts.failed << " failed.\n";
        if (stopSignal != 0) {
            io.out << "Stopped by signal " << stopSignal << (git ? ": nothing committed" : "")
                   << ".\n";
        } else if (git) {
            if (outcome.nothingToCommit)
                io.out << "Nothing changed: no commit.\n";
            else if (outcome.committed)
                io.out << "Committed: " << outcome.commitMessage << "\n";
            if (push && outcome.pushed)
                io.out << "Pushed " << backup.Branch() << ".\n";
        }
        if (!outcome.recordWritten) {
            io.err << "setfolio-cli: cannot write " << outcome.recordFile << "\n";
            status = ExitRefused;
        }
        if (json)
            io.out << outcome.recordText;
        io.out << std::flush;
        // A processor left on another library needs someone's attention more than a stop does.
        return StopSignals::Caught() != 0 && allPutBack ? StopSignals::StoppedExitStatus() : status;
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
               "written only when its bytes changed (through a symbolic link, which stays).\n"
               "DIR/manifest.json lists each library's size, SHA-256 and the time its content\n"
               "last changed, and is rewritten only when one of these changed;\n"
               "DIR/.setfolio/last-run.json records the run itself (what --json prints).\n"
               "Processors run in parallel, those on one serial device one after the other.\n"
               "One run at a time into DIR: a second exits with 2. Before any processor is\n"
               "asked anything, DIR, every section's folder and every library file must be\n"
               "writable. Each processor is put back on the library it was running, also after\n"
               "a failed library or a lost link (over one new connection; no further library\n"
               "of it is read then). SIGINT, SIGTERM or SIGHUP stops the run: no processor\n"
               "starts any more, the library being read is ended, those running are put back\n"
               "on their library, the record is written and the exit status is 128 + the\n"
               "signal. A processor that could not be put back is named (\"Line 3 left on\n"
               "library 1, was 9: no answer\").\n"
               "With --git the commit holds only the backup's own files (manifest.json and the\n"
               "library files), whatever else is staged or changed; nothing is committed when\n"
               "none changed. --push pushes the branch after it, also when a run before could\n"
               "not; a failed push leaves the local commit and exits 1.\n"
               "Exit status: 0 every library read, 1 any failed, a processor not put back or a\n"
               "failed commit or push, 2 a usage, inventory, repository or destination error,\n"
               "or another run into DIR.\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeBackupCommand() {
    return std::make_unique<BackupCommand>();
}

} // namespace setfolio::cli
