#include "Command.h"

#include "CliOptions.h"
#include "ProcessorOptions.h"

#include "core/CurrentModel.h"
#include "core/ModelCatalogue.h"
#include "core/Settings.h"
#include "tables/Assembly.h"
#include "tables/ParameterTables.h"
#include "tables/TablesJson.h"

#include <ostream>

namespace setfolio::cli {

namespace {

// The tables are built into the program: no processor, hence no link options.
class TablesCommand : public Command {
public:
    TablesCommand() : Command("tables", "MODEL", "Prints a model's parameter tables as JSON.") {}

protected:
    void Declare(QCommandLineParser& parser) override {
        parser.addPositionalArgument("MODEL", "An entry name such as C-12, or a model type 0..46.");
        DeclareVocabularyOption(parser);
    }
    int Execute(const QCommandLineParser& parser, const Streams& io) override {
        // As the program assembles them before a transfer of that model.
        const std::string name = OnlyArgument(parser, "tables needs a model");
        const auto modelType = ModelNamed(name);
        if (!modelType)
            throw UsageError("unknown model '" + name + "'", false);
        const SiteVocabulary vocabulary = ReadVocabularyOption(parser);
        const Settings settings(""); // never read: the model is set directly below
        CurrentModel model(settings);
        model.Use(*modelType);
        ParameterTables tables;
        tables.site = &vocabulary;
        AssembleParameterTables(tables, model, model.ModelType());
        io.out << TablesJson(tables, model.ModelType()) << std::flush;
        return io.out ? ExitOk : ExitRefused;
    }
};

} // namespace

std::unique_ptr<Command> MakeTablesCommand() {
    return std::make_unique<TablesCommand>();
}

} // namespace setfolio::cli
