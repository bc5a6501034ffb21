#include "Command.h"

#include "CliOptions.h"
#include "LibraryText.h"
#include "ProcessorOptions.h"

#include "library/LibraryDecoder.h"

#include <ostream>

namespace setfolio::cli {

namespace {

class ShowCommand : public Command {
public:
    ShowCommand()
        : Command("show", "FILE [--model MODEL] [--json]",
                  "Prints a library file with the meaning of every stored value.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("FILE", "The library file.");
        parser.addOptions({
            {"model", "Reads the file as MODEL instead of the model it names.", "MODEL"},
            {"json", "Prints JSON instead of text."},
        });
        DeclareVocabularyOption(parser);
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const std::string file = OnlyArgument(parser, "show needs a library file");
        std::optional<std::int32_t> model;
        if (parser.isSet("model"))
            model = ReadModel(Bytes(parser.value("model")));
        const SiteVocabulary vocabulary = ReadVocabularyOption(parser);
        const auto content = ReadGivenFile(file, io.err);
        if (!content)
            return ExitTrouble;
        const DecodedLibrary library = DecodeLibrary(*content, model, &vocabulary);
        io.out << (parser.isSet("json") ? DecodedLibraryJson(library, file) : LibraryText(library))
               << std::flush;
        return io.out ? ExitOk : ExitTrouble;
    }
    QString Notes() const override {
        return "Choices show the text they stand for, read from the tables of the file's model;\n"
               "keys the tables do not know, choices outside their list, names that come again\n"
               "(readers take the first) and keys the file lacks are listed as problems.\n"
               "Exit status: 0 the file was read, 2 it could not be (a folder, a file that is\n"
               "not there or may not be read: the reason is printed).\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeShowCommand() {
    return std::make_unique<ShowCommand>();
}

} // namespace setfolio::cli
