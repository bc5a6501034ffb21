#include "backup/Manifest.h"

#include "core/ModelCatalogue.h"
#include "tables/TablesJson.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace setfolio {

namespace {

// Just enough JSON to read a manifest back: a value and its members.
struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    // An object's members: names and values side by side (a vector may hold the type it is a
    // member of, a pair may not).
    std::vector<std::string> names;
    std::vector<Json> values;

    const Json* Member(std::string_view name) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name)
                return &values[i];
        }
        return nullptr;
    }
    const std::string* Text(std::string_view name) const {
        const Json* value = Member(name);
        return value && value->kind == Kind::String ? &value->text : nullptr;
    }
    std::optional<long long> Whole(std::string_view name) const {
        const Json* value = Member(name);
        if (!value || value->kind != Kind::Number || value->number < 0 || value->number > 9.0e15 ||
            std::floor(value->number) != value->number)
            return std::nullopt;
        return static_cast<long long>(value->number);
    }
    const std::vector<Json>* Array(std::string_view name) const {
        const Json* value = Member(name);
        return value && value->kind == Kind::Array ? &value->items : nullptr;
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    std::optional<Json> Document() {
        Json value;
        if (!Value(value, 0))
            return std::nullopt;
        Space();
        return m_at == m_text.size() ? std::optional<Json>(std::move(value)) : std::nullopt;
    }

private:
    void Space() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\n' ||
                                        m_text[m_at] == '\r' || m_text[m_at] == '\t'))
            ++m_at;
    }
    bool Take(char c) {
        Space();
        if (m_at < m_text.size() && m_text[m_at] == c) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }

    bool Value(Json& value, int depth) {
        if (depth > 32)
            return false;
        Space();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text[m_at];
        if (c == '{') {
            value.kind = Json::Kind::Object;
            ++m_at;
            if (Take('}'))
                return true;
            do {
                std::string key;
                Space();
                Json member;
                if (!String(key) || !Take(':') || !Value(member, depth + 1))
                    return false;
                value.names.push_back(std::move(key));
                value.values.push_back(std::move(member));
            } while (Take(','));
            return Take('}');
        }
        if (c == '[') {
            value.kind = Json::Kind::Array;
            ++m_at;
            if (Take(']'))
                return true;
            do {
                Json item;
                if (!Value(item, depth + 1))
                    return false;
                value.items.push_back(std::move(item));
            } while (Take(','));
            return Take(']');
        }
        if (c == '"') {
            value.kind = Json::Kind::String;
            return String(value.text);
        }
        if (Word("null"))
            return true;
        if (Word("true") || Word("false")) {
            value.kind = Json::Kind::Bool;
            return true;
        }
        return Number(value);
    }

    bool Number(Json& value) {
        const std::size_t start = m_at;
        while (m_at < m_text.size() &&
               std::string_view("+-0123456789.eE").find(m_text[m_at]) != std::string_view::npos)
            ++m_at;
        if (m_at == start)
            return false;
        const std::string digits(m_text.substr(start, m_at - start));
        char* end = nullptr;
        value.kind = Json::Kind::Number;
        value.number = std::strtod(digits.c_str(), &end);
        return end == digits.c_str() + digits.size();
    }

    static void AppendUtf8(std::string& out, unsigned long code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool Hex4(unsigned long& code) {
        if (m_at + 4 > m_text.size())
            return false;
        const std::string digits(m_text.substr(m_at, 4));
        char* end = nullptr;
        code = std::strtoul(digits.c_str(), &end, 16);
        m_at += 4;
        return end == digits.c_str() + 4;
    }

    bool String(std::string& out) {
        if (m_at >= m_text.size() || m_text[m_at] != '"')
            return false;
        ++m_at;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size())
                return false;
            const char escaped = m_text[m_at++];
            static constexpr std::string_view From = "\"\\/bfnrt", To = "\"\\/\b\f\n\r\t";
            if (const auto at = From.find(escaped); at != std::string_view::npos) {
                out += To[at];
                continue;
            }
            unsigned long code = 0;
            if (escaped != 'u' || !Hex4(code))
                return false;
            if (code >= 0xD800 && code < 0xDC00 && Word("\\u")) {
                unsigned long low = 0;
                if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            AppendUtf8(out, code);
        }
        return false;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

std::string Number(const std::optional<int>& value) {
    return value ? std::to_string(*value) : "null";
}

std::string ModelName(std::int32_t modelType) {
    const auto* entry = EntryOf(modelType);
    return entry ? std::string(entry->entry) : std::string();
}

} // namespace

std::string ManifestJson(const Manifest& manifest) {
    std::string json = "{\"processors\":[";
    for (std::size_t p = 0; p < manifest.processors.size(); ++p) {
        const auto& processor = manifest.processors[p];
        json += std::string(p ? ",\n" : "\n") + "{\"name\":" + JsonText(processor.name) +
                ",\"model\":" + JsonText(processor.model) +
                ",\"link\":" + JsonText(processor.link) +
                ",\"active\":" + Number(processor.active) + ",\"libraries\":[";
        for (std::size_t l = 0; l < processor.libraries.size(); ++l) {
            const auto& library = processor.libraries[l];
            json += std::string(l ? ",\n" : "\n") +
                    "{\"library\":" + std::to_string(library.library) +
                    ",\"file\":" + JsonText(library.file) +
                    ",\"bytes\":" + std::to_string(library.bytes) +
                    ",\"sha256\":" + JsonText(library.sha256) +
                    ",\"changed\":" + JsonText(library.changed) + "}";
        }
        json += "]}";
    }
    return json + "]}\n";
}

std::optional<Manifest> ReadManifest(std::string_view json) {
    const auto document = JsonReader(json).Document();
    if (!document || document->kind != Json::Kind::Object)
        return std::nullopt;
    const auto* processors = document->Array("processors");
    if (!processors)
        return std::nullopt;
    Manifest manifest;
    for (const Json& item : *processors) {
        const std::string* name = item.Text("name");
        if (!name)
            continue;
        ManifestProcessor processor;
        processor.name = *name;
        processor.model = item.Text("model") ? *item.Text("model") : "";
        processor.link = item.Text("link") ? *item.Text("link") : "";
        if (const auto active = item.Whole("active"); active && *active <= 999)
            processor.active = static_cast<int>(*active);
        if (const auto* libraries = item.Array("libraries")) {
            for (const Json& entry : *libraries) {
                const auto number = entry.Whole("library");
                const auto bytes = entry.Whole("bytes");
                const std::string* file = entry.Text("file");
                const std::string* sha256 = entry.Text("sha256");
                if (!number || *number > 999 || !bytes || !file || !sha256)
                    continue;
                const std::string* changed = entry.Text("changed");
                processor.libraries.push_back({static_cast<int>(*number), *file,
                                               static_cast<std::size_t>(*bytes), *sha256,
                                               changed ? *changed : ""});
            }
        }
        manifest.processors.push_back(std::move(processor));
    }
    return manifest;
}

Manifest UpdatedManifest(const std::optional<Manifest>& previous,
                         const std::vector<ProcessorBackup>& run, std::string_view now) {
    std::map<std::string, const ManifestProcessor*> before;
    std::map<std::string, const ManifestLibrary*> files;
    if (previous) {
        for (const auto& processor : previous->processors) {
            before.emplace(processor.name, &processor);
            for (const auto& library : processor.libraries)
                files.emplace(library.file, &library);
        }
    }
    Manifest manifest;
    for (const auto& processor : run) {
        ManifestProcessor entry;
        entry.name = processor.name;
        entry.model = ModelName(processor.modelType);
        entry.link = processor.link;
        entry.active = processor.activeBefore;
        if (const auto known = before.find(processor.name); !entry.active && known != before.end())
            entry.active = known->second->active;
        for (const auto& library : processor.libraries) {
            const auto known = files.find(library.file);
            const ManifestLibrary* old = known == files.end() ? nullptr : known->second;
            if (library.status != ReplyStatus::Ok) {
                if (old)
                    entry.libraries.push_back(*old);
                continue;
            }
            const bool same = old && old->sha256 == library.sha256 && old->bytes == library.bytes &&
                              !old->changed.empty();
            entry.libraries.push_back({library.library, library.file, library.bytes, library.sha256,
                                       same ? old->changed : std::string(now)});
        }
        manifest.processors.push_back(std::move(entry));
    }
    return manifest;
}

std::vector<std::string> ManifestFiles(const Manifest& manifest) {
    std::vector<std::string> files;
    for (const auto& processor : manifest.processors) {
        for (const auto& library : processor.libraries)
            files.push_back(library.file);
    }
    return files;
}

BackupCounts CountLibraries(const std::vector<ProcessorBackup>& processors) {
    BackupCounts counts;
    for (const auto& processor : processors) {
        for (const auto& library : processor.libraries) {
            if (library.status != ReplyStatus::Ok)
                ++counts.failed;
            else if (library.changed)
                ++counts.changed;
            else
                ++counts.unchanged;
        }
    }
    return counts;
}

} // namespace setfolio
