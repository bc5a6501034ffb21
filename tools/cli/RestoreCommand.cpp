#include "Command.h"
#include "GitProcess.h"
#include "LibraryText.h"
#include "PlantCommand.h"
#include "ProcessorOptions.h"
#include "StopSignals.h"

#include "backup/Inventory.h"
#include "backup/PlantBackup.h"
#include "backup/Restore.h"
#include "backup/RunLock.h"
#include "qt/QtLinkPlatform.h"
#include "tables/TablesJson.h"

#include <QFileInfo>

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace setfolio::cli {

namespace {

// "1-20, 25": a processor's libraries as a list, runs of numbers as ranges.
std::string LibraryRanges(const std::vector<int>& libraries) {
    std::vector<int> sorted = libraries;
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1)
            ++j;
        text += (text.empty() ? "" : ",") + std::to_string(sorted[i]) +
                (j > i ? "-" + std::to_string(sorted[j]) : "");
        i = j + 1;
    }
    return text;
}

// How a library of a restore (or a dry run) ended.
enum class Outcome { Equal, Differs, Failed, NotRun };

Outcome OutcomeOf(const LibraryBackup& library) {
    if (library.status == ReplyStatus::Pending && library.failure.empty())
        return Outcome::NotRun;
    if (library.status != ReplyStatus::Ok)
        return Outcome::Failed;
    return AnyDifference(library.differences) ? Outcome::Differs : Outcome::Equal;
}

std::string LibraryLine(const std::string& name, const LibraryBackup& library, bool dryRun) {
    const std::string head = name + ": library " + std::to_string(library.library);
    switch (OutcomeOf(library)) {
    case Outcome::Equal:
        return head + (dryRun ? " is as the backup holds it" : " restored, reads back equal");
    case Outcome::Differs: {
        std::string text =
            head + (dryRun ? " would change:\n" : " restored, but reads back different:\n") +
            DifferencesText(library.differences, "file", "processor");
        text.pop_back();
        return text;
    }
    case Outcome::NotRun:
        return head + (dryRun ? " not read" : " not restored");
    case Outcome::Failed:
        break;
    }
    std::string text = head + (dryRun ? " could not be read" : " failed") + " (" +
                       std::string(NameOf(library.status)) + ")";
    if (!library.failure.empty())
        text += " - " + library.failure;
    if (library.partlyWritten)
        text += " - left partly written";
    return text;
}

std::string RestoreJson(const std::string& from, bool dryRun, const RestorePlan& plan,
                        const std::vector<ProcessorBackup>& results, int signal) {
    std::string json = "{\"from\":" + JsonText(from) +
                       ",\"dryRun\":" + (dryRun ? "true" : "false") +
                       ",\"signal\":" + std::to_string(signal) + ",\"processors\":[";
    std::size_t next = 0; // the results are those of the processors not refused, in order
    for (std::size_t p = 0; p < plan.processors.size(); ++p) {
        const ProcessorRestore& restore = plan.processors[p];
        json += std::string(p ? ",\n" : "\n") + "{\"name\":" + JsonText(restore.processor.name) +
                ",\"link\":" + JsonText(restore.processor.LinkText()) +
                ",\"running\":" + JsonNumber(restore.running) + ",\"refused\":[";
        for (std::size_t r = 0; r < restore.refused.size(); ++r)
            json += (r ? "," : "") + JsonText(restore.refused[r]);
        json += "]";
        if (!restore.refused.empty() || next >= results.size()) {
            json += ",\"libraries\":[]}";
            continue;
        }
        const ProcessorBackup& result = results[next++];
        json += ",\"activeBefore\":" + JsonNumber(result.activeBefore) +
                ",\"activeAfter\":" + JsonNumber(result.activeAfter) +
                ",\"interrupted\":" + (result.interrupted ? "true" : "false") +
                ",\"failure\":" + JsonText(result.failure) +
                ",\"notPutBack\":" + JsonText(result.notPutBack) + ",\"libraries\":[";
        for (std::size_t l = 0; l < result.libraries.size(); ++l) {
            const LibraryBackup& library = result.libraries[l];
            static constexpr const char* Names[] = {"equal", "differs", "failed", "notRun"};
            json +=
                std::string(l ? ",\n" : "\n") + "{\"library\":" + std::to_string(library.library) +
                ",\"file\":" + JsonText(library.file) + ",\"outcome\":\"" +
                Names[static_cast<int>(OutcomeOf(library))] +
                "\",\"status\":" + JsonText(NameOf(library.status)) +
                ",\"partlyWritten\":" + (library.partlyWritten ? "true" : "false") +
                ",\"failure\":" + JsonText(library.failure) +
                ",\"differences\":" + DifferencesJson(library.differences, "file", "processor") +
                "}";
        }
        json += "]}";
    }
    return json + "]}\n";
}

class RestoreCommand : public Command {
public:
    RestoreCommand()
        : Command("restore",
                  "INVENTORY --from DIR [--section NAME]... [--libraries LIST] [--at REV] "
                  "[--dry-run] [--yes] [--json] [--jobs N] [--trace DIR]",
                  "Writes the libraries of a backup back into the processors of an inventory.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("INVENTORY", "The processors, one section each.");
        parser.addOptions({
            {"from", "The folder of the backup (required).", "DIR"},
            {"section", "Restores only this processor (the option may come again).", "NAME"},
            {"libraries",
             "Restores only these libraries (\"1-20,25\"), each of which the backup must hold.",
             "LIST"},
            {"at",
             "Takes the files as the git revision REV of DIR holds them (HEAD~3, "
             "main@{yesterday}, a commit), without touching the work tree.",
             "REV"},
            {"dry-run", "Reads and compares only: sends no value, lists what would change."},
            {"yes", "Restores without asking."},
            {"json", "Prints the run's outcome as JSON at the end."},
            {{"jobs", "workers"},
             "How many processors are restored at the same time (default 16).",
             "N"},
            {"trace", "Traces each processor's link into DIR/<section>.trace.", "DIR"},
        });
        DeclareVocabularyOption(parser);
    }

    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const std::string inventoryFile = OnlyArgument(parser, "restore needs an inventory");
        if (!parser.isSet("from"))
            throw UsageError("restore needs --from DIR");
        const std::string folder = Bytes(parser.value("from"));
        const int jobs = ReadJobsOption(parser);
        RestoreChoice choice;
        for (const QString& section : parser.values("section"))
            choice.sections.push_back(Bytes(section)); // as the inventory has the name
        if (parser.isSet("libraries")) {
            choice.libraries = ParseLibraryList(Bytes(parser.value("libraries")));
            if (!choice.libraries || choice.libraries->empty())
                throw UsageError("--libraries must be a list of libraries 0 to 999 (\"1-20,25\")");
        }
        choice.dryRun = parser.isSet("dry-run");
        const bool json = parser.isSet("json");
        const SiteVocabulary texts = ReadVocabularyOption(parser);
        const std::string traceFolder = ReadTraceOption(parser);
        const auto read = ReadInventoryFile(inventoryFile, io);
        if (!read)
            return ExitUsage;
        const Inventory& inventory = *read;
        if (!QFileInfo(QString::fromStdString(folder)).isDir())
            throw UsageError("no backup folder " + folder, false);
        // One run at a time on a backup's processors: a backup and a restore of one folder
        // would fight over them.
        const RunLock lock(folder);
        if (lock.State() == RunLock::Outcome::Taken)
            throw UsageError(
                "another backup or restore of " + folder + " is running" +
                    (lock.Holder().empty() ? std::string() : " (process " + lock.Holder() + ")"),
                false);
        if (lock.State() == RunLock::Outcome::CannotLock)
            throw UsageError(lock.Problem(), false);

        std::unique_ptr<BackupSource> source;
        if (parser.isSet("at")) {
            GitBackupOpening opening = GitRevisionBackup(folder, Bytes(parser.value("at")), RunGit);
            if (!opening.source)
                throw UsageError(opening.problem, false);
            source = std::move(opening.source);
        } else {
            source = FolderBackup(folder);
        }
        const RestorePlan plan = PlanRestore(inventory, *source, choice);
        if (!plan.problems.empty()) {
            for (const auto& problem : plan.problems)
                io.err << "setfolio-cli: " << problem << "\n";
            return ExitUsage;
        }
        for (const auto& processor : plan.processors) {
            for (const auto& refusal : processor.refused)
                io.out << processor.processor.name << ": not restored: " << refusal << "\n";
        }
        const Inventory runnable = plan.Runnable();
        if (!choice.dryRun && !runnable.processors.empty() && !parser.isSet("yes") &&
            !Confirmed(runnable, plan, io))
            return ExitUsage;
        return Restore(plan, runnable, *source, choice.dryRun, jobs, texts, traceFolder, json, io);
    }

    // Asks on a terminal, naming what is written; refuses elsewhere.
    static bool Confirmed(const Inventory& runnable, const RestorePlan& plan, const Streams& io) {
        if (!io.inIsTerminal) {
            io.err << "setfolio-cli: a restore overwrites the processors' libraries: give --yes "
                      "(or run it on a terminal to be asked)\n";
            return false;
        }
        io.err << "This writes into:\n";
        for (const auto& processor : runnable.processors) {
            const auto restore = std::find_if(
                plan.processors.begin(), plan.processors.end(),
                [&processor](const auto& p) { return p.processor.name == processor.name; });
            io.err << "  " << processor.name << " (" << processor.LinkText() << "): librar"
                   << (processor.libraries.size() == 1 ? "y " : "ies ")
                   << LibraryRanges(processor.libraries);
            if (restore->running)
                io.err << "; then library " << *restore->running << " runs";
            io.err << "\n";
        }
        io.err << "Restore? [y/N] " << std::flush;
        std::string answer;
        std::getline(io.in, answer);
        std::transform(answer.begin(), answer.end(), answer.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (answer == "y" || answer == "yes")
            return true;
        io.err << "Nothing restored.\n";
        return false;
    }

    int Restore(const RestorePlan& plan, const Inventory& runnable, const BackupSource& source,
                bool dryRun, int jobs, const SiteVocabulary& texts, const std::string& traceFolder,
                bool json, const Streams& io) {
        PlantBackup run(runnable, static_cast<std::size_t>(jobs),
                        RestoreJob([] { return std::make_unique<QtLinkPlatform>(); }, plan, dryRun,
                                   &texts, traceFolder));
        const StopSignals stopping(&run.StopFlag());
        // Every library is told, those restored well too: what reads back is the point.
        PlantPrinter printer(io, [dryRun](const std::string& name, const LibraryBackup& library,
                                          bool) { return LibraryLine(name, library, dryRun); });
        printer.ShowRun(run);
        const int stopSignal = StopSignals::Caught();
        const auto& results = run.Results();

        int equal = 0;
        int differ = 0;
        int failed = 0;
        bool allPutBack = true;
        int status = ExitOk;
        for (const auto& processor : plan.processors)
            status = processor.refused.empty() ? status : ExitRefused;
        for (std::size_t p = 0; p < results.size(); ++p) {
            const ProcessorBackup& result = results[p];
            const auto restore =
                std::find_if(plan.processors.begin(), plan.processors.end(),
                             [&result](const auto& r) { return r.processor.name == result.name; });
            if (!result.failure.empty() || !result.notPutBack.empty())
                status = ExitRefused;
            allPutBack = allPutBack && result.notPutBack.empty();
            for (const auto& library : result.libraries) {
                switch (OutcomeOf(library)) {
                case Outcome::Equal:
                    ++equal;
                    break;
                case Outcome::Differs:
                    ++differ;
                    status = ExitRefused;
                    break;
                case Outcome::Failed:
                case Outcome::NotRun:
                    ++failed;
                    status = ExitRefused;
                    break;
                }
            }
            if (result.failure.empty() && restore != plan.processors.end() && restore->running &&
                result.activeBefore) {
                if (dryRun && *restore->running != *result.activeBefore)
                    io.out << result.name << ": would run library " << *restore->running
                           << " (runs " << *result.activeBefore << " now)\n";
                else if (!dryRun && result.activeAfter &&
                         *result.activeAfter != *restore->running && result.notPutBack.empty())
                    io.out << result.name << ": left on library " << *result.activeAfter << ", not "
                           << *restore->running
                           << " as the backup recorded: not every library was restored\n";
            }
        }
        int refused = 0;
        for (const auto& processor : plan.processors)
            refused += processor.refused.empty() ? 0 : 1;
        if (dryRun)
            io.out << "Dry run of " << source.Name() << ": " << equal << " libraries as backed up, "
                   << differ << " would change, " << failed << " not read";
        else
            io.out << "Restored from " << source.Name() << ": " << equal
                   << " libraries read back equal, " << differ << " differ, " << failed
                   << " failed";
        io.out << (refused ? "; " + std::to_string(refused) + " processor" +
                                 (refused == 1 ? "" : "s") + " refused"
                           : std::string())
               << ".\n";
        if (stopSignal != 0)
            io.out << "Stopped by signal " << stopSignal << ".\n";
        if (json)
            io.out << RestoreJson(source.Name(), dryRun, plan, results, stopSignal);
        io.out << std::flush;
        return stopSignal != 0 && allPutBack ? StopSignals::StoppedExitStatus() : status;
    }

    QString Notes() const override {
        return "Writes DIR/<section>/Library NNN.lvf into library NNN of each section's\n"
               "processor: every library DIR/manifest.json lists for it (without a manifest,\n"
               "those the inventory lists), or those --libraries names. Each library is read\n"
               "back after it was written and compared with what its file sent, as\n"
               "upload --verify does; in the end the processor runs the library the backup\n"
               "recorded as running (without one, the library it ran before; after a stop, or\n"
               "when that library could not be written, the library it ran before).\n"
               "A processor is refused, before anything is sent to it, when a file is missing,\n"
               "holds a library of another model than the section's, or holds a value that\n"
               "cannot be sent. --dry-run sends no value: it reads each library, compares it\n"
               "with its file, every key, as verify does, and lists what a restore would\n"
               "change. Without --yes the restore asks on a terminal, naming the processors\n"
               "and libraries, and refuses elsewhere. --at REV reads the files as git holds\n"
               "them at REV (HEAD~3, main@{last tuesday}, a commit); the work tree and the\n"
               "index stay as they are.\n"
               "Processors run in parallel, those on one serial device one after the other.\n"
               "One run at a time on DIR, backup or restore: a second exits with 2. A failed\n"
               "write that had sent part of a library names it (\"left partly written\").\n"
               "SIGINT, SIGTERM or SIGHUP stops the run: no processor starts any more, the\n"
               "library at hand is ended, those running are put back on the library they ran\n"
               "before, and the exit status is 128 + the signal.\n"
               "Exit status: 0 every library restored and read back equal (a dry run: nothing\n"
               "would change), 1 a library failed or differs, a processor was refused or not\n"
               "put back (a dry run: something would change), 2 a usage, inventory, folder or\n"
               "revision problem, another run on DIR, or a restore not confirmed.\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeRestoreCommand() {
    return std::make_unique<RestoreCommand>();
}

} // namespace setfolio::cli
