#include "CommandLine.h"

namespace setfolio::tools {

namespace {

// The option `name` as it was written: a single dash counts as a double one here.
QString AsWritten(const QString& name, const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--")
            break;
        if (!argument.startsWith('-'))
            continue;
        const qsizetype dashes = argument.startsWith("--") ? 2 : 1;
        if (argument.mid(dashes).section('=', 0, 0) == name)
            return argument.section('=', 0, 0);
    }
    return "--" + name;
}

} // namespace

std::optional<QString> Parse(QCommandLineParser& parser, const QStringList& arguments) {
    // Our options are words, so -model is --model rather than -m -o -d -e -l.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (parser.parse(arguments))
        return std::nullopt;
    // Qt keeps on after an unknown option and may then report something later instead; the
    // first thing the user got wrong is the more useful.
    if (!parser.unknownOptionNames().isEmpty())
        return "unknown option '" + AsWritten(parser.unknownOptionNames().constFirst(), arguments) +
               "'";
    // Qt's own words otherwise (no translator is installed, so they are these): a missing value
    // can only be that of the last argument.
    QString text = parser.errorText();
    if (text.startsWith("Missing value after"))
        return arguments.constLast() + " needs a value";
    if (text.endsWith('.'))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

QString HelpText(const QCommandLineParser& parser, const QString& usage, const QString& notes) {
    // Qt starts with a usage line of its own that names the program by its full path and knows
    // nothing of commands.
    QString text = parser.helpText();
    text = text.mid(text.indexOf('\n') + 1);
    return usage + text + (notes.isEmpty() ? QString() : "\n" + notes);
}

} // namespace setfolio::tools
