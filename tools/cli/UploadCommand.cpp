#include "Command.h"
#include "Processor.h"
#include "ProcessorOptions.h"
#include "Verification.h"

#include "core/ModelCatalogue.h"
#include "core/ProfileFile.h"
#include "library/NumberedNames.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"
#include "transfer/UploadedValues.h"

namespace setfolio::cli {

namespace {

class UploadCommand : public Command {
public:
    UploadCommand()
        : Command("upload",
                  "--model MODEL LINK --library N [--to M] --file PATH [--include-cal] [--verify]",
                  "Writes library files into libraries of the processor.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        DeclareLinkOptions(parser);
        DeclareTransferOptions(parser);
        parser.addOption({"include-cal", "Bench models: also replaces the calibration data."});
        parser.addOption({"verify", "Reads each library back and compares it with what was sent."});
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const LinkSettings link = ReadLinkOptions(parser);
        const TransferOptions transfer = ReadTransferOptions(parser);
        const bool includeCalibration = parser.isSet("include-cal");
        const bool verify = parser.isSet("verify");
        NoArguments(parser);
        // The file's own model decides the tables; the conversion entry reads every file as one
        // of its own, as the dialog does.
        std::int32_t fileModelType =
            ProfileFile(transfer.file).ReadInteger("SystemSettings", "ModelNo", -1);
        if (QuirksOf(link.modelType).convertsEveryFile)
            fileModelType = link.modelType;
        return WithProcessor(link, io, [&](Processor& processor) -> int {
            const int status = processor.Transfer(
                transfer, [&](const TransferContext& context, TransferView& view) {
                    UploadState state;
                    state.fileModelType = fileModelType;
                    RunUpload(context, view, state,
                              {transfer.first, transfer.last.has_value(),
                               transfer.last.value_or(transfer.first), transfer.file,
                               includeCalibration});
                });
            if (status != ExitOk || !verify)
                return status;
            // What each library was sent, from its file as the upload numbered them.
            const auto series = ParseBlockFileName(transfer.file);
            const auto expected = [&](int library) {
                const std::string path = transfer.last && series
                                             ? series->FileFor(library - transfer.first)
                                             : transfer.file;
                auto content = ReadGivenFile(path, io.err);
                if (content)
                    content = UploadedValues(*content, fileModelType, link.modelType,
                                             library == transfer.first, includeCalibration);
                return ExpectedLibrary{path, std::move(content)};
            };
            switch (VerifyLibraries(processor, transfer, expected, true, false)) {
            case Verified::Same:
                return ExitOk;
            case Verified::Different:
            case Verified::NotRead:
                break;
            case Verified::FileUnreadable:
                return ExitUsage;
            }
            return ExitRefused;
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
