#include "Command.h"

#include "core/ModelCatalogue.h"

#include <algorithm>
#include <ostream>

namespace setfolio::cli {

namespace {

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

class ModelsCommand : public Command {
public:
    ModelsCommand()
        : Command("models", "",
                  "Lists the models, by entry name, with their model type and family.") {}

protected:
    void Declare(QCommandLineParser&) override {}
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        NoArguments(parser);
        std::size_t width = 5;
        for (const auto& entry : Catalogue())
            width = std::max(width, entry.entry.size());
        std::string text = Padded("MODEL", width) + "  TYPE  FAMILY\n";
        for (const auto& entry : Catalogue()) {
            const std::string type = std::to_string(entry.modelType);
            text += Padded(std::string(entry.entry), width) + "  " +
                    std::string(4 - std::min<std::size_t>(4, type.size()), ' ') + type + "  " +
                    std::string(NameOf(entry.family)) + "\n";
        }
        io.out << text << std::flush;
        return ExitOk;
    }
    QString Notes() const override {
        return "Every model the program knows, in the order of the program's model list: the\n"
               "name or the type is what --model takes.\n";
    }
};

} // namespace

std::unique_ptr<Command> MakeModelsCommand() {
    return std::make_unique<ModelsCommand>();
}

} // namespace setfolio::cli
