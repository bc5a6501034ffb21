#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"

#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"

namespace setfolio::cli {

namespace {

class UploadCommand : public Command {
public:
    UploadCommand()
        : Command("upload", "--model MODEL LINK --library N [--to M] --file PATH [--include-cal]",
                  "Writes library files into libraries of the processor.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        DeclareLinkOptions(parser);
        DeclareTransferOptions(parser);
        parser.addOption({"include-cal", "Bench models: also replaces the calibration data."});
    }
    int Execute(const QCommandLineParser& parser) override {
        const LinkSettings link = ReadLinkOptions(parser);
        const TransferOptions transfer = ReadTransferOptions(parser);
        const bool includeCalibration = parser.isSet("include-cal");
        NoArguments(parser);
        return WithProcessor(link, [&](Processor& processor) {
            return processor.Transfer([&](const TransferContext& context, TransferView& view) {
                // The file's own model decides the tables; the conversion entry reads every
                // file as one of its own, as the dialog does.
                UploadState state;
                state.fileModelType =
                    ProfileFile(transfer.file).ReadInteger("SystemSettings", "ModelNo", -1);
                if (QuirksOf(link.modelType).convertsEveryFile)
                    state.fileModelType = link.modelType;
                RunUpload(context, view, state,
                          {transfer.first, transfer.last.has_value(),
                           transfer.last.value_or(transfer.first), transfer.file,
                           includeCalibration});
            });
        });
    }
    QString Notes() const override {
        return "Writes PATH into library N or, with --to, the numbered series of files that\n"
               "PATH starts (Line 003.lvf, Line 004.lvf, ...) into libraries N to M. The file's\n"
               "own model decides what is sent; with model 46 any file is sent with that\n"
               "conversion model's tables.\n\n" +
               LinkNotes();
    }
};

} // namespace

std::unique_ptr<Command> MakeUploadCommand() {
    return std::make_unique<UploadCommand>();
}

} // namespace setfolio::cli
