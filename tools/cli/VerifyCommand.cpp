#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"
#include "Verification.h"

#include "core/AtomicFile.h"
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
        const auto expected = [&libraries, &io](int library) -> std::optional<std::string> {
            const std::string path =
                libraries.last ? InsertLibraryNumber(libraries.file, library) : libraries.file;
            auto content = ReadWholeFile(path);
            if (!content)
                io.err << "setfolio-cli: cannot read " << path << "\n";
            return content;
        };
        return WithProcessor(link, io, [&](Processor& processor) {
            return VerifyLibraries(processor, libraries, expected, false, json);
        });
    }
    QString Notes() const override {
        return "Reads library N (or N to M) as a download does, but writes no file, puts the\n"
               "processor back on the library it was running, and lists what differs from PATH\n"
               "(for a block, from each library's numbered file, Line 003.lvf, Line 004.lvf,\n"
               "...) as diff does. Exit status: 0 the same, 1 different or not read, 2 "
               "trouble.\n\n" +
               LinkNotes();
    }
};

} // namespace

std::unique_ptr<Command> MakeVerifyCommand() {
    return std::make_unique<VerifyCommand>();
}

} // namespace setfolio::cli
