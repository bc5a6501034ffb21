#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"

#include "transfer/Download.h"

namespace setfolio::cli {

namespace {

class DownloadCommand : public Command {
public:
    DownloadCommand()
        : Command("download", "--model MODEL LINK --library N [--to M] --file PATH",
                  "Copies libraries of the processor into library files.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        DeclareLinkOptions(parser);
        DeclareTransferOptions(parser);
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const LinkSettings link = ReadLinkOptions(parser);
        const TransferOptions transfer = ReadTransferOptions(parser);
        NoArguments(parser);
        return WithProcessor(link, io, [&transfer](Processor& processor) {
            return processor.Transfer(
                transfer, [&](const TransferContext& context, TransferView& view) {
                    RunDownload(context, view,
                                {transfer.first, transfer.last.has_value(),
                                 transfer.last.value_or(transfer.first), transfer.file});
                });
        });
    }
    QString Notes() const override {
        return "Prints the lines the message window would show, and the progress on standard\n"
               "error when that is a terminal. A block's files get the library number in their\n"
               "names (Line 003.lvf, Line 004.lvf, ...). A file is replaced only when its\n"
               "library was read completely.\n\n" +
               LinkNotes();
    }
};

} // namespace

std::unique_ptr<Command> MakeDownloadCommand() {
    return std::make_unique<DownloadCommand>();
}

} // namespace setfolio::cli
