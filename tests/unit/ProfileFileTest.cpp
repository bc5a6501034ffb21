#include "core/ProfileFile.h"
#include "core/AtomicFile.h"

#include "PosixOnly.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#ifndef _WIN32
#include <sys/resource.h>
#endif

using namespace setfolio;
using setfolio::testing::TempFolder;

namespace {

struct ReadCase {
    const char* content;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

// What a reader walking the numbered lines finds: the first key of that name in the first
// section of that name.
std::optional<std::string> FoundInLines(std::string_view content, std::string_view section,
                                        std::string_view key) {
    bool inSection = false;
    for (const auto& line : profile::Lines(content)) {
        if (line.kind == profile::NumberedLine::Kind::Section) {
            if (inSection)
                return std::nullopt;
            inSection = profile::SameName(line.name, section);
        } else if (inSection && line.kind == profile::NumberedLine::Kind::Entry &&
                   profile::SameName(line.name, key)) {
            return line.value;
        }
    }
    return std::nullopt;
}

TEST(ProfileText, FindsValuesWithWindowsSemantics) {
    const ReadCase cases[] = {
        {"[A]\r\nk=v\r\n", "A", "k", "v"},
        {"[systemsettings]\r\nmodelno=16\r\n", "SystemSettings", "ModelNo", "16"},
        {"[A]\r\nk =  two words \t\r\n", "A", "k", "two words"},
        {"[A]\r\nk=\"  quoted  \"\r\n", "A", "k", "  quoted  "},
        {"[A]\r\nk=\"\r\n", "A", "k", "\""},           // a lone quote is text
        {"[A]\r\nk=\"x\" y\r\n", "A", "k", "\"x\" y"}, // only a fully quoted value loses them
        {"[A]\nk=unix\n", "A", "k", "unix"},
        {"[A]\r\nk=last line without end", "A", "k", "last line without end"},
        {"  [ A ]  \r\n  k=v\r\n", "A", "k", "v"},
        {"[A]\r\nk=first\r\nk=second\r\n", "A", "k", "first"},
        {"[A]\r\nx=1\r\n[B]\r\nk=b\r\n", "A", "k", std::nullopt}, // keys stay in their section
        {"k=outside\r\n[A]\r\n", "A", "k", std::nullopt},
        {"[A]\r\n;k=comment\r\n", "A", "k", std::nullopt},
        {"[AB]\r\nk=v\r\n", "A", "k", std::nullopt},
        {"[A]\r\nk=\r\n", "A", "k", ""},
        {"[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        {"", "A", "k", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profile::FindValue(c.content, c.section, c.key), c.expected)
            << "content: " << c.content;
        EXPECT_EQ(FoundInLines(c.content, c.section, c.key), c.expected)
            << "numbered lines of: " << c.content;
        EXPECT_EQ(profile::Index(c.content).FindValue(c.section, c.key), c.expected)
            << "index of: " << c.content;
    }
}

TEST(ProfileText, NumbersEveryLineAndHidesNoRepeatedSection) {
    using Kind = profile::NumberedLine::Kind;
    const std::string content = "; plant\r\n"     // 1
                                "[A]\r\n"         // 2
                                " k = \"v\" \r\n" // 3
                                "\r\n"            // 4
                                "[a]\n"           // 5: again, and listed again
                                "K=w\n"           // 6
                                "no equals\n"     // 7
                                "=no key\n"       // 8
                                "[B";             // 9: no closing bracket
    const struct {
        Kind kind;
        std::string name;
        std::string value;
    } expected[] = {
        {Kind::Comment, "", ""}, {Kind::Section, "A", ""}, {Kind::Entry, "k", "v"},
        {Kind::Blank, "", ""},   {Kind::Section, "a", ""}, {Kind::Entry, "K", "w"},
        {Kind::Other, "", ""},   {Kind::Other, "", ""},    {Kind::Other, "", ""},
    };
    const auto lines = profile::Lines(content);
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(lines[i].kind, expected[i].kind) << lines[i].number;
        EXPECT_EQ(lines[i].name, expected[i].name) << lines[i].number;
        EXPECT_EQ(lines[i].value, expected[i].value) << lines[i].number;
    }
    EXPECT_EQ(lines[2].text, " k = \"v\" ") << "the line as written, without its end";
    // Sections, read from the same lines, hides the repeated section behind the first.
    const auto sections = profile::Sections(content);
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].entries, (std::vector<std::pair<std::string, std::string>>{{"k", "v"}}));
}

TEST(ProfileText, AnIndexListsWhatNoReaderSeesAndWhatReadsCut) {
    const std::string content = "[A]\r\n"   // 1
                                "k=1\r\n"   // 2
                                "K = 2\r\n" // 3: again
                                "[B]\r\n"   // 4
                                "long=" +
                                std::string(2048, 'x') +
                                "\r\n"     // 5
                                "[a]\r\n"  // 6: again
                                "k=4\r\n"  // 7
                                "n=5\r\n"  // 8
                                "[b]\r\n"; // 9: again
    const profile::Index index(content);
    std::vector<std::string> repeats;
    for (const auto& repeat : index.Repeats())
        repeats.push_back(std::to_string(repeat.line) + " " + repeat.section + "/" + repeat.key +
                          "=" + repeat.value + (repeat.inRepeatedSection ? " hidden" : ""));
    EXPECT_EQ(repeats, (std::vector<std::string>{"3 A/K=2", "6 a/=", "7 a/k=4 hidden",
                                                 "8 a/n=5 hidden", "9 b/="}));
    EXPECT_EQ(index.FindValue("a", "K"), "1");
    EXPECT_EQ(index.Find("A", "n"), nullptr);
    EXPECT_TRUE(index.Cut("b", "LONG"));
    EXPECT_FALSE(index.Cut("A", "k"));
    EXPECT_EQ(index.Sections().size(), 2u);
    EXPECT_EQ(index.Sections()[0].entries.size(), 1u);
}

TEST(ProfileText, KeepsBytesOfProcessorTexts) {
    // Bytes above 127 and inner blanks are values like any other.
    EXPECT_EQ(profile::FindValue("[H]\r\nTitle=K\xc4\xdcHL  2\r\n", "H", "Title"),
              std::string("K\xc4\xdcHL  2"));
}

TEST(ProfileText, CapsReadsAt2047Characters) {
    const std::string longValue(3000, 'x');
    const auto value = profile::FindValue("[A]\r\nk=" + longValue + "\r\n", "A", "k");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), 2047u);
}

struct WriteCase {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST(ProfileText, WritesInPlaceOrAppendsAndKeepsEveryOtherByte) {
    const WriteCase cases[] = {
        // New file, new section at the end.
        {"", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"[A]\r\nx=1", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        // Replace in place: neighbours, odd spacing and LF-only lines untouched.
        {"; note\r\n[A]\r\nk = old \r\ny=2\n", "a", "K", "new", "; note\r\n[A]\r\nk=new\r\ny=2\n"},
        {"[A]\nk=old\n[B]\n", "A", "k", "new", "[A]\nk=new\n[B]\n"},
        // Missing key: after the last line of its own section, before the blank lines.
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "k", "v",
         "[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
        {"[A]\r\n[B]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n[B]\r\n"},
        {"[A]\r\nx=1", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
        // Blanks are written as given (a reader drops them).
        {"", "A", "k", "  12.5  ", "[A]\r\nk=  12.5  \r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profile::SetValue(c.before, c.section, c.key, c.value), c.after)
            << "before: " << c.before;
    }
}

TEST(ProfileText, SetValuesWritesWhatSetValueInTurnWould) {
    using Entries = std::vector<profile::KeyValue>;
    const std::pair<const char*, Entries> writes[] = {
        {"User", {{"Lines", "3"}, {"1", "#USER 12"}, {"2", " a=b "}, {"3", "[c]"}}},
        // Keys again, in another case and with blanks: the first spelling, the last value.
        {"a", {{"k", "1"}, {" K ", "2"}, {"new", "x"}, {"NEW", "y"}, {"x", "z"}}},
        {"User", {}},
    };
    const char* befores[] = {
        "",
        "[User]\r\nLines=5\r\n1=old\r\n2=old\r\n3=old\r\n4=old\r\n5=old\r\n",
        "[user]\r\n  lines = 1\r\n1=old\r\n\r\n[Other]\r\n2=keep\r\n[User]\r\n3=second\r\n",
        "[User]",
        "[User]\r\nx=1",
        "; c\n[A]\nk=1\n",
        "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
        "[SystemSettings]\r\nModelNo=5",
    };
    for (const auto& [section, entries] : writes) {
        for (const char* before : befores) {
            std::string expected = before;
            for (const auto& entry : entries)
                expected = profile::SetValue(expected, section, entry.key, entry.value);
            EXPECT_EQ(profile::SetValues(before, section, entries), expected)
                << "[" << section << "] before: " << before;
        }
    }
}

TEST(ProfileText, ReadsIntegersAsDecimalOrHex) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"42", 42},
        {"-1", -1},
        {"+7", 7},
        {"0x2A", 42},
        {"0X2a", 42},
        {"$2A", 42},
        {"$FFFFFFFF", -1},
        {"007", 7},
        {"abc", {}},
        {"12abc", {}},
        {"", {}},
        {"0x", {}},
        {"$", {}},
        {"2147483648", {}},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"1 2", {}},
        {"0x1FFFFFFFF", {}},
        {"-", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(profile::ParseInteger(text), expected) << text;
}

TEST(ProfileFileOnDisk, ReadsDefaultsWithoutFileAndRoundTrips) {
    TempFolder folder;
    const ProfileFile file(folder.File("a.ini"));
    EXPECT_EQ(file.ReadText("A", "k", "dflt"), "dflt");
    EXPECT_EQ(file.ReadInteger("A", "k", -1), -1);
    EXPECT_FALSE(file.Exists());

    file.WriteInteger("A", "n", 0x2A);
    file.WriteText("A", "t", "  12.5  ");
    file.WriteText("B", "k", "x");
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(file.ReadInteger("a", "N", 0), 42);
    EXPECT_EQ(file.ReadText("A", "t", ""), "12.5");
    EXPECT_EQ(folder.Read("a.ini"), "[A]\r\nn=42\r\nt=  12.5  \r\n[B]\r\nk=x\r\n");
    EXPECT_EQ(folder.EntryCount(), 1u) << "no temporary file may be left behind";

    EXPECT_TRUE(file.Delete());
    EXPECT_FALSE(file.Exists());
}

TEST(ProfileFileOnDisk, RefusesAValueThatWouldBreakTheLine) {
    TempFolder folder;
    folder.Write("a.ini", "[A]\r\nk=old\r\n");
    const ProfileFile file(folder.File("a.ini"));
    EXPECT_THROW(file.WriteText("A", "k", "one\r\n[Evil]\r\nx=1"), WriteError);
    EXPECT_THROW(file.WriteText("A", "k", "one\ntwo"), WriteError);
    EXPECT_EQ(folder.Read("a.ini"), "[A]\r\nk=old\r\n");
}

TEST(ProfileFileOnDisk, FailedWriteNamesTheFileAndCreatesNothing) {
    TempFolder folder;
    const std::string path = folder.File("missing-folder/a.ini");
    const ProfileFile file(path);
    try {
        file.WriteText("A", "k", "v");
        FAIL() << "write into a missing folder succeeded";
    } catch (const WriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(folder.EntryCount(), 0u);
}

#ifndef _WIN32
// Caps the size of files this process may write, so that a write runs out of room part-way
// through, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

TEST(ProfileFileOnDisk, WriteThatFailsMidwayLeavesThePreviousFileByteForByte) {
#ifdef _WIN32
    SETFOLIO_POSIX_ONLY("a full disk is imitated with the file-size limit (RLIMIT_FSIZE)");
#else
    TempFolder folder;
    const std::string before = "; kept as it is\r\n[A]\nk=old\r\n[B]\r\nx= 1 \r\n";
    folder.Write("a.ini", before);
    const ProfileFile file(folder.File("a.ini"));
    {
        const FileSizeLimit limit(before.size() + 10);
        EXPECT_THROW(file.WriteText("A", "k", std::string(500, 'n')), WriteError);
    }
    EXPECT_EQ(folder.Read("a.ini"), before);
    EXPECT_EQ(folder.EntryCount(), 1u) << "the half-written temporary file must be removed";
    EXPECT_EQ(file.ReadText("A", "k", ""), "old");
#endif
}

TEST(ProfileFileOnDisk, ReplacingKeepsTheFilesPermissions) {
    SETFOLIO_POSIX_ONLY("permission bits; Windows files keep their folder's access rules");
    TempFolder folder;
    folder.Write("a.ini", "[A]\r\nk=1\r\n");
    std::filesystem::permissions(folder.File("a.ini"), std::filesystem::perms(0600));
    ProfileFile(folder.File("a.ini")).WriteInteger("A", "k", 2);
    EXPECT_EQ(std::filesystem::status(folder.File("a.ini")).permissions(),
              std::filesystem::perms(0600));
}

} // namespace

namespace {

// A folder reads as no file at all, not as an empty one; every read that fails says why.
TEST(WholeFile, AFolderOrAMissingFileIsNoContentAndSaysWhy) {
    TempFolder folder;
    folder.Write("empty.lvf", "");
    folder.Write("bytes.lvf", std::string("A\0\r\n\xff", 5));
    const struct {
        std::string path;
        std::optional<std::string> bytes;
        std::string problem;
    } cases[] = {
        {folder.File("empty.lvf"), "", ""},
        {folder.File("bytes.lvf"), std::string("A\0\r\n\xff", 5), ""},
        {folder.Path(), std::nullopt, "it is a folder"},
        {folder.File("missing.lvf"), std::nullopt, "no such file or directory"},
    };
    for (const auto& [path, bytes, problem] : cases) {
        const auto read = setfolio::ReadFileContent(path);
        EXPECT_EQ(read.bytes, bytes) << path;
        EXPECT_EQ(read.problem, problem) << path;
        EXPECT_EQ(setfolio::ReadWholeFile(path), bytes) << path;
    }
}

} // namespace
