#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"

#include "core/AtomicFile.h"
#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "i18n/Messages.h"
#include "link/Exchange.h"
#include "tables/Assembly.h"
#include "tables/ParameterTables.h"
#include "transfer/VocabularyLearning.h"

#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <istream>
#include <ostream>
#include <set>
#include <unistd.h>

namespace setfolio::cli {

namespace {

// Ctrl+C while learning is the user's Abort: what was changed is still put back.
int g_interrupts[2] = {-1, -1};

extern "C" void OnInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(g_interrupts[1], &byte, 1);
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        const std::string name = list.substr(start, comma - start);
        if (!name.empty())
            names.push_back(name);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return names;
}

bool Confirmed(const std::string& question, const Streams& io) {
    io.out << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(io.in, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

class LearnCommand : public Command {
public:
    LearnCommand()
        : Command("learn",
                  "--model MODEL LINK --scratch-library N [--rows NAME,...] --out FILE [--yes]",
                  "Learns the choice texts a processor shows, using a library given up for it.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        DeclareLinkOptions(parser);
        parser.addOptions({
            {"scratch-library",
             "The library whose rows are set to every choice in turn (required); they are put "
             "back afterwards.",
             "N"},
            {"rows", "Only these rows, separated by commas.", "NAME,..."},
            {"out", "The vocabulary file the texts go into (required); rows already in it stay.",
             "FILE"},
            {"yes", "Does not ask before changing the scratch library."},
        });
    }

    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const LinkSettings link = ReadLinkOptions(parser);
        if (!parser.isSet("scratch-library"))
            throw UsageError("learn needs --scratch-library: a library it may change");
        const int scratch = ReadLibraryNumber(Bytes(parser.value("scratch-library")));
        if (!parser.isSet("out"))
            throw UsageError("learn needs --out FILE");
        const std::string out = Bytes(parser.value("out"));
        const auto rows = Split(Bytes(parser.value("rows")));
        NoArguments(parser);
        if (FamilyOf(link.modelType) != ModelFamily::CodedFamily)
            throw UsageError("only models of the coded family have choice texts to learn");
        SiteVocabulary known;
        try {
            known = ReadSiteVocabulary(out);
        } catch (const VocabularyError& error) {
            throw UsageError(out + " cannot be used: " + error.what(), false);
        }
        if (!parser.isSet("yes") &&
            !Confirmed("learn sets every choice of " +
                           (rows.empty() ? std::string("every choice row")
                                         : parser.value("rows").toStdString()) +
                           " of library " + std::to_string(scratch) +
                           " in turn and puts each row back afterwards. Go on?",
                       io)) {
            io.out << "Nothing was changed.\n";
            return ExitRefused;
        }
        return WithProcessor(link, io, [&](Processor& processor) {
            return Learn(processor, link, scratch, rows, out, known);
        });
    }

    int Learn(Processor& processor, const LinkSettings& link, int scratch,
              const std::vector<std::string>& rows, const std::string& out, SiteVocabulary known) {
        ParameterTables tables;
        AssembleTables(processor, tables);
        // Ctrl+C aborts; the program goes on to put things back.
        if (::pipe(g_interrupts) != 0)
            return ExitRefused;
        QSocketNotifier interrupts(g_interrupts[0], QSocketNotifier::Read);
        QObject::connect(&interrupts, &QSocketNotifier::activated, [&processor] {
            char byte = 0;
            [[maybe_unused]] const auto ignored = ::read(g_interrupts[0], &byte, 1);
            processor.exchange.Abort();
        });
        const auto previous = std::signal(SIGINT, OnInterrupt);
        const LearningOutcome outcome = LearnVocabulary(
            processor.exchange, processor.model, tables, processor.CurrentLibrary(), scratch, rows,
            [&processor](const std::string& row) { processor.Progress().Draw("Learning " + row); });
        std::signal(SIGINT, previous);
        ::close(g_interrupts[0]);
        ::close(g_interrupts[1]);
        processor.Progress().Clear();
        return Report(processor, link, outcome, out, std::move(known));
    }

    static void AssembleTables(Processor& processor, ParameterTables& tables);

    // Why the processor would not take a choice, in words.
    static std::string Reason(ReplyStatus status, const MessageTexts& texts) {
        std::string why = texts.StatusText(status);
        if (why.empty())
            why = NameOf(status);
        if (why.ends_with('!'))
            why.pop_back();
        switch (status) {
        case ReplyStatus::NoConnection:
            return "the processor did not answer: " + why;
        case ReplyStatus::CommunicationError:
        case ReplyStatus::UnknownError:
            return "the reply could not be understood: " + why;
        default:
            return "the processor refused the value: " + why;
        }
    }

    // One line per row a choice of which stayed unknown: the choices, and why.
    static void ReportRefusals(const std::vector<LearningOutcome::Unknown>& unknown,
                               const MessageTexts& texts, std::ostream& lines) {
        std::vector<std::string> rows;
        for (const auto& choice : unknown) {
            if (std::find(rows.begin(), rows.end(), choice.row) == rows.end())
                rows.push_back(choice.row);
        }
        for (const auto& row : rows) {
            std::string choices;
            std::vector<std::string> reasons;
            int count = 0;
            for (const auto& choice : unknown) {
                if (choice.row != row)
                    continue;
                ++count;
                choices += (choices.empty() ? "" : ", ") +
                           (choice.set >= 0 ? "set " + std::to_string(choice.set) + " " : "") +
                           std::to_string(choice.choice);
                const std::string reason = Reason(choice.status, texts);
                if (std::find(reasons.begin(), reasons.end(), reason) == reasons.end())
                    reasons.push_back(reason);
            }
            std::string why;
            for (const auto& reason : reasons)
                why += (why.empty() ? "" : "; ") + reason;
            lines << row << ": " << why << " (choice" << (count > 1 ? "s " : " ") << choices
                  << "); the built-in text" << (count > 1 ? "s are" : " is") << " kept.\n";
        }
    }

    static int Report(Processor& processor, const LinkSettings& link,
                      const LearningOutcome& outcome, const std::string& out,
                      SiteVocabulary known) {
        const MessageTexts& texts = processor.Texts();
        std::ostream& lines = processor.Io().out;
        int status = ExitOk;
        ReportRefusals(outcome.unknown, texts, lines);
        std::set<std::string> refusedRows;
        for (const auto& choice : outcome.unknown)
            refusedRows.insert(choice.row);
        const std::size_t refused = refusedRows.size();
        lines << "Rows of " << LabelOf(link.modelType) << ": " << outcome.ownTexts.size()
              << " learned (texts of the processor's own), " << outcome.builtInTexts.size()
              << " unchanged (as built in), " << refused << " refused.\n";
        if (refused > 0)
            status = ExitRefused;
        if (!outcome.learned.Empty()) {
            MergeSiteVocabulary(known, outcome.learned);
            if (!WriteFileAtomically(out, SiteVocabularyJson(known))) {
                processor.Io().err << "setfolio-cli: cannot write " << out << "\n";
                status = ExitRefused;
            } else {
                lines << "The texts read are in " << out << ".\n";
            }
        }
        if (outcome.stopped != ReplyStatus::Ok) {
            lines << "Learning stopped early: "
                  << (outcome.stopped == ReplyStatus::Aborted ? std::string("aborted by user.")
                                                              : texts.StatusText(outcome.stopped))
                  << "\n";
            status = ExitRefused;
        }
        if (!outcome.notRestored.empty()) {
            lines << "These rows could not be put back to the choice they had:";
            for (const auto& row : outcome.notRestored)
                lines << " " << row;
            lines << "\n";
            status = ExitRefused;
        }
        if (!outcome.restoredLibrary) {
            lines << "The library that was active could not be selected again.\n";
            status = ExitRefused;
        }
        processor.ReportLibrary(outcome.activeLibrary);
        return status;
    }

    QString Notes() const override {
        return "Uses library N, which must be one that may be changed: its current choices are\n"
               "noted, every choice of each row is set in turn and the text the processor shows\n"
               "for it is read (for a conditional row, under each choice of its source row),\n"
               "then every row is set back and the library that was active is selected again,\n"
               "also after Ctrl+C or a lost link; rows that could not be put back are named.\n"
               "A choice the processor refuses stays unknown and keeps its built-in text; each\n"
               "such row is named in a line with the reason, and the exit status is then 1. The\n"
               "summary counts the rows learned (texts of the processor's own), unchanged (as\n"
               "built in) and refused.\n\n" +
               LinkNotes();
    }
};

// The model's tables with the built-in texts: what is learned replaces them in the file.
void LearnCommand::AssembleTables(Processor& processor, ParameterTables& tables) {
    AssembleParameterTables(tables, processor.model, processor.model.ModelType());
}

} // namespace

std::unique_ptr<Command> MakeLearnCommand() {
    return std::make_unique<LearnCommand>();
}

} // namespace setfolio::cli
