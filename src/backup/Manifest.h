#pragma once

#include "backup/BackupJob.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setfolio {

// What DIR/manifest.json says: only what changes with the libraries, so that a run that finds
// nothing new leaves it byte for byte as it was (the run itself goes to the run record).
struct ManifestLibrary {
    int library = 0;
    std::string file; // relative to the destination
    std::size_t bytes = 0;
    std::string sha256;
    std::string changed; // when the file's content last changed (UTC, ISO 8601)
};

struct ManifestProcessor {
    std::string name;
    std::string model;
    std::string link;
    std::optional<int> active; // the library it was running
    std::vector<ManifestLibrary> libraries;
};

struct Manifest {
    std::vector<ManifestProcessor> processors;
};

// {"processors": [{"name", "model", "link", "active", "libraries": [{"library", "file", "bytes",
// "sha256", "changed"}]}]}, one library a line.
std::string ManifestJson(const Manifest& manifest);

// The manifest a file holds; nothing when it is not one. Entries it cannot make sense of are
// left out.
std::optional<Manifest> ReadManifest(std::string_view json);

// The manifest after a run: each library read now with its bytes and digest, keeping the time
// of its last change from `previous` when the digest is the same, else `now`; a library not read
// this time keeps what `previous` said of its file (the file is still there), and one never read
// is left out. A processor not reached keeps the running library `previous` knew.
Manifest UpdatedManifest(const std::optional<Manifest>& previous,
                         const std::vector<ProcessorBackup>& run, std::string_view now);

// Every file a manifest names, relative to the destination.
std::vector<std::string> ManifestFiles(const Manifest& manifest);

// How many libraries of a run were written anew, held the same bytes already, or failed.
struct BackupCounts {
    int changed = 0;
    int unchanged = 0;
    int failed = 0;
};
BackupCounts CountLibraries(const std::vector<ProcessorBackup>& processors);

} // namespace setfolio
