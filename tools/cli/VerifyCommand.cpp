#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"
#include "Verification.h"

#include "library/NumberedNames.h"

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
        bool compared = false;
        const int status = WithProcessor(link, io, [&](Processor& processor) -> int {
            compared = true;
            switch (VerifyLibraries(processor, libraries, expected, false, json)) {
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
        // A link that could not be opened, or a processor that did not answer, is trouble too:
        // 1 says only that a library differs.
        return compared || status == ExitOk ? status : ExitTrouble;
    }
    QString Notes() const override {
        return "Reads library N (or N to M) as a download does, but writes no file, puts the\n"
               "processor back on the library it was running, and lists what differs from PATH\n"
               "(for a block, from each library's numbered file, Line 003.lvf, Line 004.lvf,\n"
               "...) as diff does: each library that matches is named in a line, and each "
               "difference\n"
               "names its sides, the file and the processor. Exit status, as diff(1): 0 the same,\n"
               "1 different, 2 trouble (a file could not be read, the link or the processor\n"
               "failed).\n\n" +
               LinkNotes();
    }
};

} // namespace

std::unique_ptr<Command> MakeVerifyCommand() {
    return std::make_unique<VerifyCommand>();
}

} // namespace setfolio::cli
