// The command line of setfolio-cli, read and carried out with the streams it is given.
#include "Command.h"
#include "CommandLine.h"

#include <algorithm>
#include <ostream>

namespace setfolio::cli {

namespace {

void PrintHelp(const QCommandLineParser& parser,
               const std::vector<std::unique_ptr<Command>>& commands, std::ostream& out) {
    QString notes = "Commands:\n";
    qsizetype width = 0;
    for (const auto& command : commands)
        width = std::max(width, command->Name().size());
    for (const auto& command : commands)
        notes += "  " + command->Name().leftJustified(width + 2) + command->Summary() + "\n";
    notes +=
        "\nExit status: 0 done, 1 the processor, the link or a file said no, 2 a usage "
        "error.\nshow, diff and verify, as diff(1): 0 the same, 1 different, 2 trouble (a file "
        "or the link failed).\n";
    out << tools::HelpText(parser,
                           "usage: setfolio-cli COMMAND [OPTIONS]\n"
                           "       setfolio-cli COMMAND --help\n"
                           "       setfolio-cli --version\n",
                           notes)
               .toStdString();
}

int ReportUsageError(const std::string& message, std::ostream& err) {
    err << "setfolio-cli: " << message << "\n"
        << "Try 'setfolio-cli --help' for more information.\n";
    return ExitUsage;
}

} // namespace

std::vector<std::unique_ptr<Command>> AllCommands() {
    std::vector<std::unique_ptr<Command>> commands;
#define SETFOLIO_CLI_MAKE_COMMAND(Name) commands.push_back(Make##Name##Command());
    SETFOLIO_CLI_COMMANDS(SETFOLIO_CLI_MAKE_COMMAND)
#undef SETFOLIO_CLI_MAKE_COMMAND
    return commands;
}

int RunCommandLine(const QStringList& arguments, const Streams& io) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Talks to a processor without windows, and without reading or writing Setfolio.ini.");
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    const QCommandLineOption version("version", "Shows the version.");
    parser.addOptions({help, version});
    parser.addPositionalArgument("COMMAND", "One of the commands below.");
    // Everything from the command's name on is the command's.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const auto problem = tools::Parse(parser, QStringList{"setfolio-cli"} + arguments);
    const auto commands = AllCommands();
    if (problem)
        return ReportUsageError(Bytes(*problem), io.err);
    if (parser.isSet(help)) {
        PrintHelp(parser, commands, io.out);
        return ExitOk;
    }
    if (parser.isSet(version)) {
        io.out << "setfolio-cli " << SETFOLIO_VERSION << "\n";
        return ExitOk;
    }
    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return ReportUsageError("no command given", io.err);
    const QString name = words.takeFirst();
    for (const auto& command : commands) {
        if (command->Name() == name)
            return command->Run(words, io);
    }
    return ReportUsageError("unknown command '" + Bytes(name) + "'", io.err);
}

} // namespace setfolio::cli
