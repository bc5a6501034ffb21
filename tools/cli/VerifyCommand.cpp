#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"
#include "StopSignals.h"
#include "Verification.h"

#include "library/NumberedNames.h"
#include "link/Exchange.h"
#include "platform/TcpClient.h"
#include "transfer/ChangeLibrary.h"

#include <QTimer>

#include <ostream>

namespace setfolio::cli {

namespace {

class VerifyCommand : public Command {
public:
    VerifyCommand()
        : Command("verify", "--model MODEL LINK --library N [--to M] --file PATH [--json]",
                  "Compares libraries of the processor with library files.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        DeclareLinkOptions(parser);
        DeclareTransferOptions(parser);
        parser.addOption({"json", "Prints JSON instead of text."});
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const LinkSettings link = ReadLinkOptions(parser);
        const TransferOptions libraries = ReadTransferOptions(parser);
        const bool json = parser.isSet("json");
        NoArguments(parser);
        // The files as a download of the same libraries names them.
        const auto expected = [&libraries, &io](int library) {
            const std::string path =
                libraries.last ? InsertLibraryNumber(libraries.file, library) : libraries.file;
            return ExpectedLibrary{path, ReadGivenFile(path, io.err)};
        };
        // A signal ends the library being read; the processor is put back all the same.
        const StopSignals stopping;
        bool putBack = true;
        bool compared = false;
        const int status = WithProcessor(link, io, [&](Processor& processor) -> int {
            compared = true;
            if (StopSignals::Caught() != 0)
                return ExitTrouble;
            const int active = processor.CurrentLibrary();
            const auto watch = StopSignals::AbortOnSignal(processor.exchange);
            const Verified verified = VerifyLibraries(processor, libraries, expected, false, json);
            watch->stop();
            putBack = PutBack(processor, active);
            if (!putBack)
                return ExitRefused;
            switch (verified) {
            case Verified::Same:
                return ExitOk;
            case Verified::Different:
                return ExitRefused;
            case Verified::NotRead:
            case Verified::FileUnreadable:
                break;
            }
            return ExitTrouble;
        });
        if (StopSignals::Caught() != 0 && putBack)
            return StopSignals::StoppedExitStatus();
        // A link that could not be opened, or a processor that did not answer, is trouble too:
        // 1 says only that a library differs (or that the processor was not put back).
        return compared || status == ExitOk ? status : ExitTrouble;
    }

    // Reading selected other libraries: unless the processor is back on `active` already, it is
    // selected once more (a signal may have ended the first try). Whether it is back; when not,
    // the processor is named.
    static bool PutBack(Processor& processor, int active) {
        if (processor.CurrentLibrary() == active)
            return true;
        std::string trouble = "no answer";
        try {
            processor.exchange.ForgetAbort();
            const Reply back = ChangeLibrary(processor.exchange, processor.model, -1, active, {});
            if (back.Ok())
                return true;
            if (back.status != ReplyStatus::NoConnection)
                trouble = "it answered " + std::string(NameOf(back.status));
        } catch (const TcpError& error) {
            trouble = error.what();
        }
        processor.Io().err << "setfolio-cli: the processor was left on library "
                           << processor.CurrentLibrary() << ", was " << active << ": " << trouble
                           << "\n";
        return false;
    }
    QString Notes() const override {
        return "Reads library N (or N to M) as a download does, but writes no file, puts the\n"
               "processor back on the library it was running, and lists what differs from PATH\n"
               "(for a block, from each library's numbered file, Line 003.lvf, Line 004.lvf,\n"
               "...) as diff does: each library that matches is named in a line, and each\n"
               "difference names its sides, the file and the processor. SIGINT, SIGTERM or\n"
               "SIGHUP ends the library being read and puts the processor back; the exit status\n"
               "is then 128 + the signal. Exit status, as diff(1): 0 the same, 1 different or\n"
               "the processor not put back, 2 trouble (a file could not be read, the link or\n"
               "the processor failed).\n\n" +
               LinkNotes();
    }
};

} // namespace

std::unique_ptr<Command> MakeVerifyCommand() {
    return std::make_unique<VerifyCommand>();
}

} // namespace setfolio::cli
