#pragma once

#include "core/ModelCatalogue.h"
#include "i18n/Messages.h"
#include "tables/ParameterTables.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// A sentence of the program's about a library file: a message and its values, the file's bytes
// as they are. For something that does not fit the model's tables, the section and key come
// first where there is one.
struct DecodedMessage {
    OwnMsg message;
    std::vector<std::string> values;

    bool operator==(const DecodedMessage&) const = default;
};

// The sentence in `language`, its values put in as they are.
std::string DecodedText(const DecodedMessage& problem, Language language = Language::English);

// One key of a library file, as stored and as a person reads it.
struct DecodedParameter {
    std::string name;
    std::string stored;
    // What the stored value means (a choice's text, or the value itself); nothing where there is
    // no meaning to show.
    std::optional<std::string> text;
    // Where the meaning is a sentence of the program's (a dump's size): that sentence, whose
    // English `text` holds.
    std::optional<DecodedMessage> meaning;
    // Why the key is not what the model's tables expect; nothing when it is.
    std::optional<DecodedMessage> problem;
    // The stored value is the number of a choice, and `text` that choice's text.
    bool choice = false;
};

struct DecodedSection {
    std::string name;
    std::vector<DecodedParameter> parameters;
};

// A library file read against the tables of the model its ModelNo names (or a model given for
// it). Nothing in a file stops the reading: what does not fit is kept and named in `problems`.
struct DecodedLibrary {
    std::optional<std::int32_t> modelType; // the model the file was read as
    ModelFamily family = ModelFamily::NoFamily;
    std::vector<DecodedSection> sections; // in file order
    // In file order, then the names that come again, then the rows the file lacks; each names
    // the section and key where one applies ("MnemonicParms/MeasUnits: ...").
    std::vector<DecodedMessage> problems;
    // Values no reader of the file sees, in file order: a key that comes again in its section,
    // and the keys of a section whose name came before. Readers take the first.
    struct Unused {
        std::string section;
        std::string name;
        std::string stored;
    };
    std::vector<Unused> unused;

    const DecodedParameter* Find(std::string_view section, std::string_view name) const;
};

// The tables of a model, assembled as a transfer of that model assembles them (with the site's
// own choice texts, when there are some).
ParameterTables TablesOf(std::int32_t modelType, const SiteVocabulary* site = nullptr);

// Reads the text of a library file. `modelType` overrides the file's own ModelNo. `tables` gives
// the tables of a model; a caller that reads many files may keep them.
using TablesSource = std::function<const ParameterTables&(std::int32_t modelType)>;
DecodedLibrary DecodeLibrary(std::string_view content, std::optional<std::int32_t> modelType,
                             const TablesSource& tables);
DecodedLibrary DecodeLibrary(std::string_view content,
                             std::optional<std::int32_t> modelType = std::nullopt,
                             const SiteVocabulary* site = nullptr);

// The decoded library as JSON: {"file", "model", "modelType", "family", "sections":
// [{"name", "parameters": [{"name", "stored", "text"}]}], "problems": [...]}, with each byte of a
// stored text written as the code point of the same value.
std::string DecodedLibraryJson(const DecodedLibrary& library, std::string_view file);

} // namespace setfolio
