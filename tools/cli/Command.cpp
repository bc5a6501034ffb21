#include "Command.h"

#include "CliOptions.h"
#include "CommandLine.h"

#include "core/AtomicFile.h"

#include <ostream>

namespace setfolio::cli {

std::optional<std::string> ReadGivenFile(const std::string& path, std::ostream& err) {
    auto read = ReadFileContent(path);
    if (!read.bytes)
        err << "setfolio-cli: cannot read " << path << ": " << read.problem << "\n";
    return std::move(read.bytes);
}

Command::Command(QString name, QString synopsis, QString summary)
    : m_name(std::move(name)), m_synopsis(std::move(synopsis)), m_summary(std::move(summary)) {}

int Command::Run(const QStringList& arguments, const Streams& io) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    parser.addOption(help);
    parser.setApplicationDescription(m_summary);
    Declare(parser);
    const auto problem = tools::Parse(parser, QStringList{m_name} + arguments);
    if (parser.isSet(help)) {
        const QString usage =
            "usage: setfolio-cli " + m_name + (m_synopsis.isEmpty() ? "" : " " + m_synopsis) + "\n";
        io.out << tools::HelpText(parser, usage, Notes()).toStdString();
        return ExitOk;
    }
    try {
        if (problem)
            throw UsageError(Bytes(*problem));
        return Execute(parser, io);
    } catch (const UsageError& error) {
        io.err << "setfolio-cli: " << error.what() << "\n";
        if (error.offerHelp)
            io.err << "Try 'setfolio-cli " << Bytes(m_name) << " --help' for more information.\n";
        return ExitUsage;
    }
}

std::string Command::OnlyArgument(const QCommandLineParser& parser, const std::string& missing) {
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        throw UsageError(missing);
    if (arguments.size() > 1)
        throw UsageError("unexpected argument '" + Bytes(arguments[1]) + "'");
    return Bytes(arguments.constFirst());
}

void Command::NoArguments(const QCommandLineParser& parser) {
    const QStringList arguments = parser.positionalArguments();
    if (!arguments.isEmpty())
        throw UsageError("unexpected argument '" + Bytes(arguments.constFirst()) + "'");
}

} // namespace setfolio::cli
