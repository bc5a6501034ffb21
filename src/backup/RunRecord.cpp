#include "backup/RunRecord.h"

#include "backup/Manifest.h"
#include "core/ModelCatalogue.h"
#include "tables/TablesJson.h"

#include <cstdio>

namespace setfolio {

namespace {

std::string TextOrNull(const std::string& text) {
    return text.empty() ? "null" : JsonText(text);
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

std::string RunRecordJson(const RunRecord& record) {
    std::string json = "{\"start\":" + JsonText(record.start) + ",\"end\":" + JsonText(record.end) +
                       ",\"interrupted\":" + (record.interrupted ? "true" : "false") +
                       ",\"signal\":" + (record.signal ? std::to_string(record.signal) : "null") +
                       ",\"commit\":" + TextOrNull(record.commit) + ",\n\"failures\":[";
    for (std::size_t f = 0; f < record.failures.size(); ++f)
        json += (f ? "," : "") + JsonText(record.failures[f]);
    json += "],\n\"processors\":[";
    for (std::size_t p = 0; p < record.processors.size(); ++p) {
        const auto& processor = record.processors[p];
        const auto* entry = EntryOf(processor.modelType);
        json += std::string(p ? ",\n" : "\n") + "{\"name\":" + JsonText(processor.name) +
                ",\"model\":" + JsonText(entry ? entry->entry : "") +
                ",\"link\":" + JsonText(processor.link) +
                ",\"activeBefore\":" + JsonNumber(processor.activeBefore) +
                ",\"activeAfter\":" + JsonNumber(processor.activeAfter) +
                ",\"interrupted\":" + (processor.interrupted ? "true" : "false") +
                ",\"notPutBack\":" + TextOrNull(processor.notPutBack) +
                ",\"failure\":" + TextOrNull(processor.failure) + ",\"libraries\":[";
        for (std::size_t l = 0; l < processor.libraries.size(); ++l) {
            const auto& library = processor.libraries[l];
            const bool read = library.status == ReplyStatus::Ok;
            json += std::string(l ? ",\n" : "\n") +
                    "{\"library\":" + std::to_string(library.library) +
                    ",\"status\":" + JsonText(StatusName(library)) +
                    ",\"file\":" + JsonText(library.file) +
                    ",\"bytes\":" + (read ? std::to_string(library.bytes) : "null") +
                    ",\"sha256\":" + (read ? JsonText(library.sha256) : "null") +
                    ",\"changed\":" + (library.changed ? "true" : "false") +
                    ",\"seconds\":" + Seconds(library.seconds) +
                    ",\"failure\":" + TextOrNull(library.failure) + "}";
        }
        json += "]}";
    }
    return json + "]}\n";
}

} // namespace setfolio
