#include "backup/Manifest.h"

#include "core/ModelCatalogue.h"
#include "tables/TablesJson.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <map>

namespace setfolio {

namespace {

using Json = nlohmann::json;

// A member of a JSON object as text, when it is one.
const std::string* Text(const Json& object, const char* name) {
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get_ptr<const std::string*>()
                                                       : nullptr;
}

// A member of a JSON object as a whole number of at most 15 digits, when it is one.
std::optional<long long> Whole(const Json& object, const char* name) {
    if (!object.is_object())
        return std::nullopt;
    const auto found = object.find(name);
    if (found == object.end() || !found->is_number())
        return std::nullopt;
    const double number = found->get<double>();
    if (number < 0 || number > 9.0e15 || std::floor(number) != number)
        return std::nullopt;
    return static_cast<long long>(number);
}

// A member of a JSON object as an array, when it is one.
const Json* Array(const Json& object, const char* name) {
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(name);
    return found != object.end() && found->is_array() ? &*found : nullptr;
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
                ",\"active\":" + JsonNumber(processor.active) + ",\"libraries\":[";
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
    const Json document = Json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object())
        return std::nullopt;
    const Json* processors = Array(document, "processors");
    if (!processors)
        return std::nullopt;
    Manifest manifest;
    for (const Json& item : *processors) {
        const std::string* name = Text(item, "name");
        if (!name)
            continue;
        ManifestProcessor processor;
        processor.name = *name;
        processor.model = Text(item, "model") ? *Text(item, "model") : "";
        processor.link = Text(item, "link") ? *Text(item, "link") : "";
        if (const auto active = Whole(item, "active"); active && *active <= 999)
            processor.active = static_cast<int>(*active);
        if (const Json* libraries = Array(item, "libraries")) {
            for (const Json& entry : *libraries) {
                const auto number = Whole(entry, "library");
                const auto bytes = Whole(entry, "bytes");
                const std::string* file = Text(entry, "file");
                const std::string* sha256 = Text(entry, "sha256");
                if (!number || *number > 999 || !bytes || !file || !sha256)
                    continue;
                const std::string* changed = Text(entry, "changed");
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
