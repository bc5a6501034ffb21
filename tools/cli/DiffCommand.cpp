#include "Command.h"

#include "CliOptions.h"
#include "LibraryText.h"
#include "ProcessorOptions.h"

#include "library/LibraryComparison.h"

#include <ostream>

namespace setfolio::cli {

namespace {

class DiffCommand : public Command {
public:
    DiffCommand()
        : Command("diff", "FILE_A FILE_B [--json]",
                  "Lists what differs between two library files.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("FILE_A", "The first library file.");
        parser.addPositionalArgument("FILE_B", "The second library file.");
        parser.addOption({"json", "Prints JSON instead of text."});
        DeclareVocabularyOption(parser);
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        const QStringList files = parser.positionalArguments();
        if (files.size() != 2)
            throw UsageError("diff needs two library files");
        const SiteVocabulary vocabulary = ReadVocabularyOption(parser);
        const std::string a = Bytes(files[0]);
        const std::string b = Bytes(files[1]);
        const auto contentA = ReadGivenFile(a, io.err);
        const auto contentB = ReadGivenFile(b, io.err);
        if (!contentA || !contentB)
            return ExitTrouble;
        const auto differences =
            CompareLibraries(DecodeLibrary(*contentA, std::nullopt, &vocabulary),
                             DecodeLibrary(*contentB, std::nullopt, &vocabulary),
                             ComparedKeys::Differing, UnusedValues::Compared);
        io.out << (parser.isSet("json") ? DifferencesJson(differences, a, b)
                                        : DifferencesText(differences))
               << std::flush;
        return AnyDifference(differences) ? ExitRefused : ExitOk;
    }
    QString Notes() const override {
        return "Each file is read with its own model's tables; a key only one file has is listed\n"
               "with (none) on the other side. Two choices with the same text are the same "
               "(listed\n"
               "as \"same text\"). A key that comes again is listed when the files differ in it,\n"
               "with its later values, though readers take the first. Exit status, as diff(1):\n"
               "0 the same, 1 different, 2 trouble.\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeDiffCommand() {
    return std::make_unique<DiffCommand>();
}

} // namespace setfolio::cli
