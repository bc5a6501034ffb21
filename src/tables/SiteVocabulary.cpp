#include "tables/SiteVocabulary.h"

#include "core/AtomicFile.h"
#include "core/ModelCatalogue.h"
#include "core/TextFormat.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace setfolio {

namespace {

using Json = nlohmann::json;

// Where a byte offset of the text lies, for people: "line 3, column 7".
std::string Position(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const auto before = text.substr(0, offset);
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const auto lineStart = before.rfind('\n');
    const auto column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// A JSON string (UTF-8) as the processor's bytes: each character is one byte.
std::string Bytes(const std::string& utf8, const std::string& where) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
            ++i;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size() && lead <= 0xC3) {
            bytes += static_cast<char>(((lead & 0x1F) << 6) |
                                       (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            i += 2;
        } else {
            throw VocabularyError(where + ": a text may hold characters U+0000 to U+00FF only");
        }
    }
    return bytes;
}

std::vector<std::string> Texts(const Json& list, const std::string& where) {
    std::vector<std::string> texts;
    for (const auto& text : list) {
        if (!text.is_string())
            throw VocabularyError(where + ": a list of texts or a list of lists of texts");
        texts.push_back(Bytes(text.get<std::string>(), where));
    }
    return texts;
}

Json TextList(const std::vector<std::string>& texts) {
    Json list = Json::array();
    for (const auto& text : texts)
        list.push_back(Latin1ToUtf8(text));
    return list;
}

} // namespace

SiteVocabulary ParseSiteVocabulary(std::string_view text) {
    Json json;
    try {
        json = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        // The message of the library repeats the position in bytes; people count lines.
        std::string what = error.what();
        if (const auto colon = what.rfind(": "); colon != std::string::npos)
            what = what.substr(colon + 2);
        throw VocabularyError(Position(text, error.byte > 0 ? error.byte - 1 : 0) + ": " + what);
    } catch (const Json::exception& error) {
        // A number too large for any type, for one: no position, but still a clear refusal.
        throw VocabularyError(error.what());
    }
    if (!json.is_object())
        throw VocabularyError("the file holds no object of models");
    SiteVocabulary vocabulary;
    for (const auto& [model, rows] : json.items()) {
        bool known = false;
        for (const auto& entry : Catalogue())
            known = known || entry.entry == model;
        if (!known)
            throw VocabularyError(model + ": not a model of the catalogue");
        if (!rows.is_object())
            throw VocabularyError(model + ": its rows must be an object");
        auto& modelRows = vocabulary.models[model];
        for (const auto& [name, list] : rows.items()) {
            const std::string where = model + "/" + name;
            if (!list.is_array() || list.empty())
                throw VocabularyError(where + ": a list of texts or a list of lists of texts");
            SiteVocabulary::Row row;
            row.conditional = list.front().is_array();
            if (row.conditional) {
                for (const auto& set : list) {
                    if (!set.is_array())
                        throw VocabularyError(where + ": every set must be a list of texts");
                    row.sets.push_back(Texts(set, where));
                }
            } else {
                row.texts = Texts(list, where);
            }
            modelRows[name] = std::move(row);
        }
    }
    return vocabulary;
}

SiteVocabulary ReadSiteVocabulary(const std::string& path) {
    if (!FileExists(path))
        return {};
    const auto content = ReadWholeFile(path);
    if (!content)
        throw VocabularyError("the file cannot be read");
    return ParseSiteVocabulary(*content);
}

std::string SiteVocabularyJson(const SiteVocabulary& vocabulary) {
    std::string text = "{";
    bool firstModel = true;
    for (const auto& [model, rows] : vocabulary.models) {
        text += std::string(firstModel ? "\n" : ",\n") + "  " + Json(model).dump() + ": {";
        firstModel = false;
        bool firstRow = true;
        for (const auto& [name, row] : rows) {
            Json list = Json::array();
            if (row.conditional) {
                for (const auto& set : row.sets)
                    list.push_back(TextList(set));
            } else {
                list = TextList(row.texts);
            }
            text += std::string(firstRow ? "\n" : ",\n") + "    " + Json(name).dump(-1, ' ', true) +
                    ": " + list.dump(-1, ' ', true);
            firstRow = false;
        }
        text += "\n  }";
    }
    return text + "\n}\n";
}

void MergeSiteVocabulary(SiteVocabulary& into, const SiteVocabulary& from) {
    for (const auto& [model, rows] : from.models) {
        for (const auto& [name, row] : rows)
            into.models[model][name] = row;
    }
}

} // namespace setfolio
