#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"

namespace setfolio::cli {

namespace {

class LibraryCommand : public Command {
public:
    LibraryCommand()
        : Command("library", "--model MODEL LINK", "Prints the processor's active library.") {}

protected:
    void Declare(QCommandLineParser& parser) override { DeclareLinkOptions(parser); }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const LinkSettings link = ReadLinkOptions(parser);
        NoArguments(parser);
        return WithProcessor(link, io, [](Processor& processor) {
            return processor.ReportLibrary(processor.CurrentLibrary());
        });
    }
    QString Notes() const override { return LinkNotes(); }
};

} // namespace

std::unique_ptr<Command> MakeLibraryCommand() {
    return std::make_unique<LibraryCommand>();
}

} // namespace setfolio::cli
