#include "tables/TablesJson.h"

#include "core/ModelCatalogue.h"
#include "core/TextFormat.h"

#include <set>

namespace setfolio {

std::string JsonString(std::string_view bytes) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string json = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            json += "\\u00";
            json += Hex[byte >> 4];
            json += Hex[byte & 0x0F];
        } else {
            json += c;
        }
    }
    json += '"';
    return json;
}

std::string JsonText(std::string_view utf8) {
    std::string json = "\"";
    for (std::size_t at = 0; at < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = Utf8CharacterLength(utf8, at);
        if (byte >= 0x80 && length > 0) {
            json.append(utf8.substr(at, length));
            at += length;
            continue;
        }
        const std::string escaped = JsonString(utf8.substr(at, 1));
        json.append(escaped, 1, escaped.size() - 2);
        ++at;
    }
    return json + "\"";
}

namespace {

std::string Texts(const TvvValues& values) {
    std::string json = "[";
    for (std::int32_t i = 0; i < values.count; ++i) {
        if (i > 0)
            json += ',';
        json += JsonString(values.values[static_cast<std::size_t>(i)]);
    }
    return json + "]";
}

std::string Row(const TMnemonic& row) {
    return "{\"name\":" + JsonString(row.name) + ",\"code\":" + JsonString(row.code) +
           ",\"values\":" + Texts(row.values) + "}";
}

std::string Row(const TCondMnemonic& row) {
    std::string sets = "[";
    for (std::int32_t k = 0; k < row.count; ++k) {
        if (k > 0)
            sets += ',';
        sets += Texts(row.valueSets[static_cast<std::size_t>(k)]);
    }
    return "{\"name\":" + JsonString(row.name) + ",\"code\":" + JsonString(row.code) +
           ",\"source\":" + JsonString(row.source) + ",\"valueSets\":" + sets + "]}";
}

std::string Row(const TNumeric& row) {
    return "{\"name\":" + JsonString(row.name) + ",\"code\":" + JsonString(row.code) + "}";
}

std::string Row(const THeader& row) {
    return "{\"name\":" + JsonString(row.name) + ",\"code1\":" + JsonString(row.code1) +
           ",\"code2\":" + JsonString(row.code2) + "}";
}

std::string Row(const TdpParm& row) {
    return "{\"name\":" + JsonString(row.name) + ",\"menuPath\":" + JsonString(row.menuPath) + "}";
}

// `site`: the rows whose texts the site gave, marked as such.
template <class Record>
std::string List(std::string_view key, const ParmTable<Record>& table,
                 const std::set<std::string>* site = nullptr) {
    std::string json = ",\n\"" + std::string(key) + "\":[";
    bool first = true;
    for (const auto& row : table.Rows()) {
        json += first ? "\n" : ",\n";
        json += Row(row);
        if (site && site->contains(row.name)) {
            json.pop_back();
            json += ",\"site\":true}";
        }
        first = false;
    }
    return json + "]";
}

} // namespace

std::string TablesJson(const ParameterTables& tables, std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    const auto family = FamilyOf(modelType);
    std::string json = "{\"entry\":" + JsonString(entry ? entry->entry : "") +
                       ",\"modelType\":" + std::to_string(modelType) +
                       ",\"family\":" + JsonString(NameOf(family));
    const bool coded = family == ModelFamily::CodedFamily;
    const bool menu = family == ModelFamily::MenuFamily;
    const ParameterTables none;
    if (!menu) {
        const auto& source = coded ? tables : none;
        json += List("mnemonic", source.MnemonicList, &source.siteUse.rows);
        json += List("conditional", source.CondMnemonicList, &source.siteUse.rows);
        json += List("numeric", source.NumericList);
        json += List("header", source.HeaderList);
    }
    if (!coded) {
        const auto& source = menu ? tables : none;
        json += List("library", source.LibraryParmList);
        json += List("global", source.GlobalParmList);
    }
    return json + "\n}\n";
}

std::string JsonNumber(const std::optional<int>& value) {
    return value ? std::to_string(*value) : "null";
}

} // namespace setfolio
