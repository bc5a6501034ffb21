#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"

#include "transfer/ChangeLibrary.h"

namespace setfolio::cli {

namespace {

class SelectCommand : public Command {
public:
    SelectCommand()
        : Command("select", "N --model MODEL LINK",
                  "Makes library N active and prints the active library.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("N", "The library to make active, 0..999.");
        DeclareLinkOptions(parser);
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const int library =
            ReadLibraryNumber(OnlyArgument(parser, "select needs a library number"));
        const LinkSettings link = ReadLinkOptions(parser);
        return WithProcessor(link, io, [library](Processor& processor) {
            ChangeLibrary(processor.exchange, processor.model, processor.CurrentLibrary(), library,
                          {});
            return processor.ReportLibrary(library);
        });
    }
    QString Notes() const override { return LinkNotes(); }
};

} // namespace

std::unique_ptr<Command> MakeSelectCommand() {
    return std::make_unique<SelectCommand>();
}

} // namespace setfolio::cli
