#include "library/LibraryDecoder.h"

#include "core/CurrentModel.h"
#include "core/ProfileFile.h"
#include "core/Settings.h"
#include "core/TextFormat.h"
#include "tables/Assembly.h"
#include "tables/TablesJson.h"

#include <algorithm>
#include <unordered_map>

namespace setfolio {

namespace {

using profile::SameName;

template <typename Row> const Row* RowNamed(const ParmTable<Row>& list, std::string_view name) {
    for (const auto& row : list.Rows()) {
        if (SameName(row.name, name))
            return &row;
    }
    return nullptr;
}

std::string ModelName(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry ? std::string(entry->entry) : std::to_string(modelType);
}

// The text of choice `stored` of a vocabulary; otherwise why there is none.
std::optional<std::string> Choice(const TvvValues& values, const std::string& section,
                                  DecodedParameter& parameter) {
    const std::string& stored = parameter.stored;
    const auto index = profile::ParseInteger(stored);
    const auto count = std::min<std::int64_t>(std::max(values.count, 0),
                                              static_cast<std::int64_t>(values.values.size()));
    if (index && *index >= 0 && *index < count) {
        parameter.choice = true;
        return values.values[static_cast<std::size_t>(*index)];
    }
    parameter.problem = {OwnMsg::DecodedNotAChoice,
                         {section, parameter.name, stored, std::to_string(count)}};
    return std::nullopt;
}

class Decoder {
public:
    Decoder(std::string_view content, std::optional<std::int32_t> modelType,
            const TablesSource& tables)
        : m_profile(content) {
        if (!modelType) {
            const auto stored = m_profile.FindValue("SystemSettings", "ModelNo");
            if (stored)
                modelType = profile::ParseInteger(*stored);
        }
        m_library.modelType = modelType;
        if (!modelType) {
            m_library.problems.push_back({OwnMsg::DecodedNoModelNumber, {}});
            return;
        }
        m_library.family = FamilyOf(*modelType);
        if (m_library.family == ModelFamily::NoFamily) {
            m_library.problems.push_back(
                {OwnMsg::DecodedUnknownModel, {std::to_string(*modelType)}});
            return;
        }
        m_tables = &tables(*modelType);
    }

    DecodedLibrary Run() {
        for (const auto& section : m_profile.Sections()) {
            DecodedSection decoded{section.name, {}};
            for (const auto& [key, value] : section.entries) {
                DecodedParameter parameter{key, value, std::nullopt, std::nullopt, {}};
                Decode(section, parameter);
                if (parameter.problem)
                    m_library.problems.push_back(*parameter.problem);
                decoded.parameters.push_back(std::move(parameter));
            }
            m_library.sections.push_back(std::move(decoded));
        }
        ReportRepeats();
        ReportMissingRows();
        return std::move(m_library);
    }

private:
    ModelFamily Family() const { return m_library.family; }

    // What a reader of the file gets for a key: looked up in the file read once, so that a
    // large dump costs no more per line than a small one.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const {
        return m_profile.FindValue(section, key);
    }
    std::string Stored(std::string_view section, std::string_view key,
                       std::string_view defaultValue) const {
        auto value = Find(section, key);
        return value ? std::move(*value) : std::string(defaultValue);
    }

    void Decode(const profile::Section& section, DecodedParameter& parameter) const {
        const std::string& name = section.name;
        if (SameName(name, "SystemSettings")) {
            if (!SameName(parameter.name, "ModelNo"))
                parameter.problem = Problem(OwnMsg::DecodedNotAKey, name, parameter);
            else if (const auto type = profile::ParseInteger(parameter.stored);
                     type && EntryOf(*type))
                parameter.text = std::string(LabelOf(*type));
            else
                parameter.problem = Problem(OwnMsg::DecodedNotAModelNumber, name, parameter);
            return;
        }
        if (Family() == ModelFamily::NoFamily)
            return; // already said: nothing to read the values against
        if (Family() == ModelFamily::CodedFamily)
            DecodeCoded(name, parameter);
        else if (Family() == ModelFamily::MenuFamily)
            DecodeMenu(name, parameter);
        else
            DecodeBench(section, parameter);
    }

    void DecodeCoded(const std::string& section, DecodedParameter& parameter) const {
        const std::string& key = parameter.name;
        if (SameName(section, "MnemonicParms")) {
            if (const auto* row = RowNamed(m_tables->MnemonicList, key))
                parameter.text = Choice(row->values, section, parameter);
            else
                parameter.problem = Unknown(section, parameter);
        } else if (SameName(section, "CondMnemonicParms")) {
            if (const auto* row = RowNamed(m_tables->CondMnemonicList, key))
                DecodeConditional(section, *row, parameter);
            else
                parameter.problem = Unknown(section, parameter);
        } else if (SameName(section, "NumericParms")) {
            Plain(RowNamed(m_tables->NumericList, key) != nullptr, section, parameter);
        } else if (SameName(section, "HeaderParms")) {
            Plain(RowNamed(m_tables->HeaderList, key) != nullptr, section, parameter);
        } else {
            parameter.problem = NotASection(section, parameter);
        }
    }

    // The choices depend on what the source row holds: its stored index picks the value set.
    void DecodeConditional(const std::string& section, const TCondMnemonic& row,
                           DecodedParameter& parameter) const {
        const std::string source = Stored("MnemonicParms", row.source, "00");
        const auto set = profile::ParseInteger(source);
        const auto sets = std::min<std::int64_t>(std::max(row.count, 0),
                                                 static_cast<std::int64_t>(row.valueSets.size()));
        if (!set || *set < 0 || *set >= sets) {
            parameter.problem = {
                OwnMsg::DecodedSourceOutside,
                {section, parameter.name, row.source, source, std::to_string(sets)}};
            return;
        }
        parameter.text = Choice(row.valueSets[static_cast<std::size_t>(*set)], section, parameter);
    }

    void DecodeMenu(const std::string& section, DecodedParameter& parameter) const {
        if (SameName(section, "LibraryParms"))
            Plain(RowNamed(m_tables->LibraryParmList, parameter.name) != nullptr, section,
                  parameter);
        else if (SameName(section, "GlobalParms"))
            Plain(RowNamed(m_tables->GlobalParmList, parameter.name) != nullptr, section,
                  parameter);
        else
            parameter.problem = NotASection(section, parameter);
    }

    // A dump section: "Lines" counts its lines, which are kept as the processor wrote them.
    void DecodeBench(const profile::Section& section, DecodedParameter& parameter) const {
        if (!SameName(section.name, "Common") && !SameName(section.name, "User")) {
            parameter.problem = NotASection(section.name, parameter);
            return;
        }
        const auto lines = profile::ParseInteger(Stored(section.name, "Lines", "0"));
        if (SameName(parameter.name, "Lines")) {
            if (!lines || *lines < 0) {
                parameter.problem = Problem(OwnMsg::DecodedNotALineCount, section.name, parameter);
                return;
            }
            // Each line with its CR LF; one the file lacks goes as a blank. Counted from the
            // keys the section has, so that a count far beyond them costs nothing more.
            std::int64_t bytes = 0;
            std::int64_t stored = 0;
            for (const auto& [key, value] : section.entries) {
                const auto k = profile::ParseInteger(key);
                if (k && *k >= 1 && *k <= *lines && key == std::to_string(*k)) {
                    bytes += static_cast<std::int64_t>(value.size()) + 2;
                    ++stored;
                }
            }
            bytes += (*lines - stored) * 3;
            parameter.meaning = {OwnMsg::DecodedDumpSize,
                                 {std::to_string(*lines), std::to_string(bytes)}};
            parameter.text = DecodedText(*parameter.meaning);
            return;
        }
        const auto line = profile::ParseInteger(parameter.name);
        if (!line || *line < 1 || !lines || *line > *lines)
            parameter.problem = {
                OwnMsg::DecodedNotALine,
                {section.name, parameter.name, Stored(section.name, "Lines", "0")}};
    }

    void Plain(bool known, const std::string& section, DecodedParameter& parameter) const {
        if (known)
            parameter.text = parameter.stored;
        else
            parameter.problem = Unknown(section, parameter);
    }

    static DecodedMessage Problem(OwnMsg message, const std::string& section,
                                  const DecodedParameter& parameter) {
        return {message, {section, parameter.name}};
    }
    DecodedMessage Unknown(const std::string& section, const DecodedParameter& parameter) const {
        return {OwnMsg::DecodedNotAParameter,
                {section, parameter.name, ModelName(*m_library.modelType)}};
    }
    DecodedMessage NotASection(const std::string& section,
                               const DecodedParameter& parameter) const {
        return {OwnMsg::DecodedNotASection,
                {section, parameter.name, ModelName(*m_library.modelType)}};
    }

    // A name that comes again hides what follows it from every reader, so that the file says
    // more than any reader takes from it.
    void ReportRepeats() {
        const auto& repeats = m_profile.Repeats();
        for (std::size_t i = 0; i < repeats.size(); ++i) {
            const auto& repeat = repeats[i];
            if (!repeat.key.empty())
                m_library.unused.push_back({repeat.section, repeat.key, repeat.value});
            if (repeat.key.empty()) {
                std::size_t keys = 0;
                while (i + 1 + keys < repeats.size() && repeats[i + 1 + keys].inRepeatedSection)
                    ++keys;
                m_library.problems.push_back(
                    {OwnMsg::DecodedSectionAgain,
                     {repeat.section, std::to_string(repeat.line), std::to_string(keys)}});
            } else if (!repeat.inRepeatedSection) {
                m_library.problems.push_back(
                    {OwnMsg::DecodedKeyAgain,
                     {repeat.section, repeat.key, std::to_string(repeat.line), repeat.value,
                      Stored(repeat.section, repeat.key, "")}});
            }
        }
    }

    // Rows of the tables the file lacks: an upload sends the reader's default for them.
    void ReportMissingRows() {
        // Nothing in `uploaded`: an empty text.
        const auto missing = [this](const std::string& section, const auto& list,
                                    const char* uploaded) {
            for (const auto& row : list.Rows()) {
                if (Find(section, row.name))
                    continue;
                if (*uploaded)
                    m_library.problems.push_back(
                        {OwnMsg::DecodedMissingSends, {section, row.name, uploaded}});
                else
                    m_library.problems.push_back(
                        {OwnMsg::DecodedMissingSendsEmpty, {section, row.name}});
            }
        };
        missing("MnemonicParms", m_tables->MnemonicList, "00");
        missing("CondMnemonicParms", m_tables->CondMnemonicList, "00");
        missing("NumericParms", m_tables->NumericList, "0");
        missing("HeaderParms", m_tables->HeaderList, "");
        missing("LibraryParms", m_tables->LibraryParmList, "0");
        missing("GlobalParms", m_tables->GlobalParmList, "0");
    }

    profile::Index m_profile;
    const ParameterTables* m_tables = &m_none;
    ParameterTables m_none;
    DecodedLibrary m_library;
};

} // namespace

std::string DecodedText(const DecodedMessage& problem, Language language) {
    std::vector<std::string_view> values(problem.values.begin(), problem.values.end());
    return FormatText(OwnText(problem.message, language), values);
}

const DecodedParameter* DecodedLibrary::Find(std::string_view section,
                                             std::string_view name) const {
    for (const auto& candidate : sections) {
        if (!SameName(candidate.name, section))
            continue;
        for (const auto& parameter : candidate.parameters) {
            if (SameName(parameter.name, name))
                return &parameter;
        }
    }
    return nullptr;
}

ParameterTables TablesOf(std::int32_t modelType, const SiteVocabulary* site) {
    const Settings none("");
    CurrentModel model(none);
    model.Use(modelType);
    ParameterTables tables;
    tables.site = site;
    AssembleParameterTables(tables, model, modelType);
    return tables;
}

DecodedLibrary DecodeLibrary(std::string_view content, std::optional<std::int32_t> modelType,
                             const TablesSource& tables) {
    return Decoder(content, modelType, tables).Run();
}

DecodedLibrary DecodeLibrary(std::string_view content, std::optional<std::int32_t> modelType,
                             const SiteVocabulary* site) {
    ParameterTables assembled;
    return DecodeLibrary(
        content, modelType, [&](std::int32_t type) -> const auto& {
            assembled = TablesOf(type, site);
            return assembled;
        });
}

std::string DecodedLibraryJson(const DecodedLibrary& library, std::string_view file) {
    const auto* entry = library.modelType ? EntryOf(*library.modelType) : nullptr;
    std::string json =
        "{\"file\":" + JsonString(file) +
        ",\"model\":" + (entry ? JsonString(entry->entry) : "null") +
        ",\"modelType\":" + (library.modelType ? std::to_string(*library.modelType) : "null") +
        ",\"family\":" +
        (library.family == ModelFamily::NoFamily ? std::string("null")
                                                 : JsonString(NameOf(library.family))) +
        ",\n\"sections\":[";
    for (std::size_t s = 0; s < library.sections.size(); ++s) {
        const auto& section = library.sections[s];
        json += std::string(s ? ",\n" : "\n") + "{\"name\":" + JsonString(section.name) +
                ",\"parameters\":[";
        for (std::size_t p = 0; p < section.parameters.size(); ++p) {
            const auto& parameter = section.parameters[p];
            json += std::string(p ? ",\n" : "\n") + "{\"name\":" + JsonString(parameter.name) +
                    ",\"stored\":" + JsonString(parameter.stored) +
                    ",\"text\":" + (parameter.text ? JsonString(*parameter.text) : "null") + "}";
        }
        json += "]}";
    }
    json += "],\n\"problems\":[";
    for (std::size_t i = 0; i < library.problems.size(); ++i)
        json += std::string(i ? ",\n" : "\n") + JsonString(DecodedText(library.problems[i]));
    return json + "]}\n";
}

} // namespace setfolio
