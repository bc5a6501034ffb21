#include "backup/Manifest.h"

#include "core/ModelCatalogue.h"
#include "tables/TablesJson.h"

#include <cstdio>

namespace setfolio {

namespace {

std::string Number(const std::optional<int>& value) {
    return value ? std::to_string(*value) : "null";
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string StatusName(const LibraryBackup& library) {
    return library.status == ReplyStatus::Pending ? "NotRead" : std::string(NameOf(library.status));
}

} // namespace

std::string ManifestJson(const std::vector<ProcessorBackup>& processors, std::string_view start,
                         std::string_view end) {
    std::string json =
        "{\"start\":" + JsonString(start) + ",\"end\":" + JsonString(end) + ",\n\"processors\":[";
    for (std::size_t p = 0; p < processors.size(); ++p) {
        const auto& processor = processors[p];
        const auto* entry = EntryOf(processor.modelType);
        json += std::string(p ? ",\n" : "\n") + "{\"name\":" + JsonText(processor.name) +
                ",\"model\":" + JsonString(entry ? entry->entry : "") +
                ",\"link\":" + JsonText(processor.link) +
                ",\"activeBefore\":" + Number(processor.activeBefore) +
                ",\"activeAfter\":" + Number(processor.activeAfter) + ",\"failure\":" +
                (processor.failure.empty() ? "null" : JsonString(processor.failure)) +
                ",\"libraries\":[";
        for (std::size_t l = 0; l < processor.libraries.size(); ++l) {
            const auto& library = processor.libraries[l];
            const bool read = library.status == ReplyStatus::Ok;
            json +=
                std::string(l ? ",\n" : "\n") + "{\"library\":" + std::to_string(library.library) +
                ",\"status\":" + JsonString(StatusName(library)) +
                ",\"file\":" + JsonText(library.file) +
                ",\"bytes\":" + (read ? std::to_string(library.bytes) : "null") +
                ",\"sha256\":" + (read ? JsonString(library.sha256) : "null") +
                ",\"changed\":" + (library.changed ? "true" : "false") +
                ",\"seconds\":" + Seconds(library.seconds) +
                ",\"failure\":" + (library.failure.empty() ? "null" : JsonString(library.failure)) +
                "}";
        }
        json += "]}";
    }
    return json + "]}\n";
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
