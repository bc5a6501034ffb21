#include "backup/Manifest.h"
#include "backup/UnfinishedWrites.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace setfolio;
using setfolio::testing::TempFolder;

namespace {

LibraryBackup Read(int library, const std::string& file, const std::string& sha256,
                   bool changed = false) {
    LibraryBackup entry;
    entry.library = library;
    entry.status = ReplyStatus::Ok;
    entry.file = file;
    entry.bytes = sha256.size();
    entry.sha256 = sha256;
    entry.changed = changed;
    entry.seconds = 0.25 * library; // differs from run to run; must not reach the manifest
    return entry;
}

ProcessorBackup Processor(const std::string& name, std::optional<int> active,
                          std::vector<LibraryBackup> libraries) {
    ProcessorBackup processor;
    processor.name = name;
    processor.link = "tcp 127.0.0.1:4001";
    processor.activeBefore = active;
    processor.activeAfter = active;
    processor.libraries = std::move(libraries);
    return processor;
}

std::string Next(const std::string& manifest, const std::vector<ProcessorBackup>& run,
                 const std::string& now) {
    return ManifestJson(UpdatedManifest(ReadManifest(manifest), run, now));
}

TEST(Manifest, AQuietRunLeavesItByteForByteAndAChangeMovesOnlyItsOwnTime) {
    const std::string name = "Linie \xC3\xA9 \"3\" \\ tab\t";
    const std::vector<ProcessorBackup> first{
        Processor(name, 7,
                  {Read(1, name + "/Library 001.lvf", "aaaa", true),
                   Read(2, name + "/Library 002.lvf", "bbbb", true)}),
        Processor("B", 1, {Read(5, "B/Library 005.lvf", "cccc", true)})};
    const std::string manifest = ManifestJson(UpdatedManifest(std::nullopt, first, "T1"));
    EXPECT_NE(manifest.find("Linie \xC3\xA9"), std::string::npos) << "names stay UTF-8";

    // Nothing new: the same bytes, though the run's timings and flags differ.
    auto quiet = first;
    for (auto& processor : quiet) {
        for (auto& library : processor.libraries) {
            library.changed = false;
            library.seconds += 1;
        }
    }
    EXPECT_EQ(Next(manifest, quiet, "T2"), manifest);

    // Library 2 changed; B could not be reached at all; one of its libraries was never read.
    auto changed = quiet;
    changed[0].libraries[1] = Read(2, name + "/Library 002.lvf", "dddd", true);
    changed[1].activeBefore.reset();
    changed[1].failure = "no answer";
    changed[1].libraries[0].status = ReplyStatus::Pending;
    LibraryBackup neverRead;
    neverRead.library = 6;
    neverRead.file = "B/Library 006.lvf";
    neverRead.status = ReplyStatus::CommunicationError;
    changed[1].libraries.push_back(neverRead);
    const auto after = ReadManifest(Next(manifest, changed, "T3"));
    ASSERT_TRUE(after);
    ASSERT_EQ(after->processors.size(), 2u);
    const auto& line = after->processors[0];
    EXPECT_EQ(line.name, name);
    EXPECT_EQ(line.active, 7);
    ASSERT_EQ(line.libraries.size(), 2u);
    EXPECT_EQ(line.libraries[0].changed, "T1");
    EXPECT_EQ(line.libraries[1].changed, "T3");
    EXPECT_EQ(line.libraries[1].sha256, "dddd");
    const auto& b = after->processors[1];
    EXPECT_EQ(b.active, 1) << "what was known of a processor not reached stays";
    ASSERT_EQ(b.libraries.size(), 1u) << "a library never read has no file to describe";
    EXPECT_EQ(b.libraries[0].sha256, "cccc");
    EXPECT_EQ(b.libraries[0].changed, "T1");
    EXPECT_EQ(ManifestFiles(*after),
              (std::vector<std::string>{name + "/Library 001.lvf", name + "/Library 002.lvf",
                                        "B/Library 005.lvf"}));
}

TEST(Manifest, ReadingTakesWhatItCanAndRefusesWhatIsNoManifest) {
    for (const char* junk : {"", "{", "[]", "{\"processors\":{}}", "{\"processors\":[]} x",
                             "{\"processors\":[{\"name\":\"\\ud800\\u0041\"}]}"})
        EXPECT_FALSE(ReadManifest(junk)) << junk;
    EXPECT_FALSE(ReadManifest(std::string(100000, '['))) << "nesting is bounded";

    // A manifest of an earlier version: the run's own fields are ignored, a library that was not
    // read is skipped, and no time of change is known.
    const auto old = ReadManifest(
        R"({"start":"S","end":"E","processors":[{"name":"A\u00e9","model":"C-12","link":"l",)"
        R"("activeBefore":3,"activeAfter":3,"failure":null,"libraries":[)"
        R"({"library":1,"status":"Ok","file":"A/Library 001.lvf","bytes":4,"sha256":"aaaa",)"
        R"("changed":true,"seconds":0.1,"failure":null},)"
        R"({"library":2,"status":"Timeout","file":"A/Library 002.lvf","bytes":null,)"
        R"("sha256":null,"changed":false,"seconds":2.0,"failure":"x"}]}]})");
    ASSERT_TRUE(old);
    ASSERT_EQ(old->processors.size(), 1u);
    EXPECT_EQ(old->processors[0].name, "A\xC3\xA9");
    ASSERT_EQ(old->processors[0].libraries.size(), 1u);
    EXPECT_EQ(old->processors[0].libraries[0].changed, "");
    const auto updated = UpdatedManifest(
        old, {Processor("A\xC3\xA9", 3, {Read(1, "A/Library 001.lvf", "aaaa")})}, "NOW");
    EXPECT_EQ(updated.processors[0].libraries[0].changed, "NOW");
}

TEST(UnfinishedWrites, OnlyTheLeftoversOfOurOwnWritesGo) {
    const struct {
        const char* name;
        bool ours;
    } names[] = {
        {"Library 001.lvf.tmp-a1B2c3", true},   {"manifest.json.tmp-ZZZZZZ", true},
        {"last-run.json.tmp-000000", true},     {"Library 001.lvf", false},
        {"Library 01.lvf.tmp-a1B2c3", false},   {"Library 001.lvf.tmp-a1B2c", false},
        {"Library 001.lvf.tmp-a1B2c3d", false}, {"notes.txt.tmp-a1B2c3", false},
        {"Library 001.lvf.tmp-a1B2-3", false},  {".tmp-a1B2c3", false},
    };
    for (const auto& [name, ours] : names)
        EXPECT_EQ(IsUnfinishedWrite(name), ours) << name;

    TempFolder folder;
    namespace fs = std::filesystem;
    fs::create_directories(folder.File("Line 1"));
    fs::create_directories(folder.File("Other"));
    fs::create_directories(folder.File(".setfolio"));
    folder.Write("Line 1/Library 004.lvf.tmp-Qw3rty", "half");
    folder.Write("Line 1/Library 004.lvf", "whole");
    folder.Write("Line 1/mine.txt.tmp-Qw3rty", "the user's");
    folder.Write("manifest.json.tmp-abcdef", "half");
    folder.Write(".setfolio/last-run.json.tmp-abcdef", "half");
    folder.Write("Other/Library 004.lvf.tmp-Qw3rty", "not a section of this inventory");
    const auto removed = RemoveUnfinishedWrites(folder.Path(), {"Line 1", "Missing"});
    EXPECT_EQ(removed.size(), 3u);
    EXPECT_FALSE(fs::exists(folder.File("Line 1/Library 004.lvf.tmp-Qw3rty")));
    EXPECT_FALSE(fs::exists(folder.File("manifest.json.tmp-abcdef")));
    EXPECT_FALSE(fs::exists(folder.File(".setfolio/last-run.json.tmp-abcdef")));
    EXPECT_TRUE(fs::exists(folder.File("Line 1/Library 004.lvf")));
    EXPECT_TRUE(fs::exists(folder.File("Line 1/mine.txt.tmp-Qw3rty")));
    EXPECT_TRUE(fs::exists(folder.File("Other/Library 004.lvf.tmp-Qw3rty")));
}

} // namespace
