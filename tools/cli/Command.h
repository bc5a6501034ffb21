#pragma once

#include "Streams.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace setfolio::cli {

// The words of the command line are read byte for byte as Latin-1, so that a file name that is
// not UTF-8 still names the same file; this gives the bytes back.
inline std::string Bytes(const QString& argument) {
    return argument.toLatin1().toStdString();
}

// What scripts may rely on.
enum ExitStatus : int {
    ExitOk = 0,
    ExitRefused = 1, // the processor, a file or the link said no
    ExitUsage = 2,   // the command line cannot be carried out
    // show, diff and verify, as diff(1) and cmp(1): 1 is kept for "they differ", and trouble (a
    // file that cannot be read, a link that failed) is 2.
    ExitTrouble = 2,
};

// Reads a file a command was given; nothing, with the reason printed on `err`, when it cannot be
// read.
std::optional<std::string> ReadGivenFile(const std::string& path, std::ostream& err);

// One command of setfolio-cli: its options, its --help and its work.
class Command {
public:
    // `synopsis` follows "setfolio-cli NAME" in the usage line; `summary` is one sentence.
    Command(QString name, QString synopsis, QString summary);
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const QString& Name() const { return m_name; }
    const QString& Summary() const { return m_summary; }

    // Parses the words after the command's name and carries the command out, writing to the
    // given streams: the exit status.
    int Run(const QStringList& arguments, const Streams& io);

protected:
    virtual void Declare(QCommandLineParser& parser) = 0;
    // Reads the options (a bad or missing one throws UsageError) before anything is done, then
    // does the work.
    virtual int Execute(const QCommandLineParser& parser, const Streams& io) = 0;
    // Lines for --help below the options.
    virtual QString Notes() const { return {}; }

    // The single positional argument of a command that takes one; `missing` when none is given.
    static std::string OnlyArgument(const QCommandLineParser& parser, const std::string& missing);
    static void NoArguments(const QCommandLineParser& parser);

private:
    QString m_name;
    QString m_synopsis;
    QString m_summary;
};

// Every command, in the order `setfolio-cli --help` lists them. Command Name lives in
// NameCommand.cpp, which defines MakeNameCommand().
#define SETFOLIO_CLI_COMMANDS(COMMAND)                                                             \
    COMMAND(Library)                                                                               \
    COMMAND(Select)                                                                                \
    COMMAND(Download)                                                                              \
    COMMAND(Upload)                                                                                \
    COMMAND(Show)                                                                                  \
    COMMAND(Diff)                                                                                  \
    COMMAND(Verify)                                                                                \
    COMMAND(Learn)                                                                                 \
    COMMAND(Backup)                                                                                \
    COMMAND(Restore)                                                                               \
    COMMAND(Tables)                                                                                \
    COMMAND(Models)

#define SETFOLIO_CLI_DECLARE_COMMAND(Name) std::unique_ptr<Command> Make##Name##Command();
SETFOLIO_CLI_COMMANDS(SETFOLIO_CLI_DECLARE_COMMAND)
#undef SETFOLIO_CLI_DECLARE_COMMAND

// Every command, in the order `setfolio-cli --help` lists them.
std::vector<std::unique_ptr<Command>> AllCommands();

// The whole command line after the program's name (--help, --version or a command and its
// words), carried out with the given streams: the exit status.
int RunCommandLine(const QStringList& arguments, const Streams& io);

} // namespace setfolio::cli
