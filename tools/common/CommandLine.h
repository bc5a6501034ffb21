#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace setfolio::tools {

// Parses `arguments` (the program's name first). When they do not parse: one line that names
// the problem as the user wrote it ("unknown option '--frob'", "--model needs a value").
std::optional<QString> Parse(QCommandLineParser& parser, const QStringList& arguments);

// The parser's option list under `usage` (one or more "usage: ..." lines) and `notes` below it.
QString HelpText(const QCommandLineParser& parser, const QString& usage, const QString& notes = {});

} // namespace setfolio::tools
