#include "backup/Inventory.h"
#include "core/Sha256.h"

#include <gtest/gtest.h>

using namespace setfolio;

namespace {

TEST(Inventory, ReadsEveryKindOfProcessor) {
    const Inventory inventory = ParseInventory("; the plant\r\n"
                                               "[Line 3]\r\n"
                                               "Model=C-12\r\n"
                                               "Tcp=192.168.1.20:4001        ; a device server\r\n"
                                               "Libraries=1-3,25,2\r\n"
                                               "\r\n"
                                               "[Bench]\n"
                                               "model=B-01\n"
                                               "Serial=/dev/ttyUSB0\n"
                                               "Baud=19200\n"
                                               "Parity=even\n"
                                               "Libraries=7\n"
                                               "IncludeCal=yes\n"
                                               "[V6]\n"
                                               "Model=16\n"
                                               "Tcp=[fe80::1]:23\n"
                                               "Libraries=0\n");
    ASSERT_TRUE(inventory.problems.empty()) << inventory.problems[0].text;
    ASSERT_EQ(inventory.processors.size(), 3u);
    const auto& line3 = inventory.processors[0];
    EXPECT_EQ(line3.modelType, 0);
    EXPECT_EQ(line3.libraries, (std::vector<int>{1, 2, 3, 25}));
    EXPECT_EQ(line3.LinkText(), "tcp 192.168.1.20:4001");
    const auto& bench = inventory.processors[1];
    EXPECT_TRUE(bench.includeCalibration);
    // Stop bits as the program and the other commands default them.
    EXPECT_EQ(bench.LinkText(), "serial /dev/ttyUSB0 19200 8E2");
    EXPECT_EQ(inventory.processors[2].LinkText(), "tcp [fe80::1]:23");
}

TEST(Inventory, EveryProblemIsNamedBySectionAndLine) {
    const Inventory inventory = ParseInventory("[A]\n"           // 1
                                               "Model=C-99\n"    // 2: unknown model
                                               "Tcp=h\n"         // 3
                                               "Libraries=5-1\n" // 4: a bad range
                                               "Colour=red\n"    // 5: unknown key
                                               "[B]\n"           // 6: no link
                                               "Model=C-12\n"
                                               "Libraries=1\n"
                                               "[C]\n" // 9
                                               "Model=C-12\n"
                                               "Serial=/dev/ttyS0\n"
                                               "Libraries=1\n"
                                               "[D]\n" // 13: the same device, other settings
                                               "Model=C-12\n"
                                               "Serial=/dev/ttyS0\n"
                                               "Baud=38400\n"
                                               "Libraries=2\n"
                                               "[a]\n" // 18: a second section of this name
                                               "Model=C-12\n"
                                               "Tcp=h:70000\n" // 20: a bad port
                                               "Libraries=1\n");
    std::vector<std::string> found;
    for (const auto& problem : inventory.problems)
        found.push_back(problem.section + ":" + std::to_string(problem.line));
    // In the order of the file, each key as it is written there.
    EXPECT_EQ(found,
              (std::vector<std::string>{"A:2", "A:4", "A:5", "B:6", "D:13", "a:18", "a:20"}));
    EXPECT_EQ(inventory.problems[2].text, "unknown key Colour");
    EXPECT_EQ(ParseInventory("").problems.size(), 1u);
}

TEST(Inventory, ALinkThatCannotBeUsedIsToldByItsLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"Tcp=", "Tcp needs a host"},
        {"Tcp=h:70000", "bad TCP port in h:70000"},
        {"Tcp=plc 7        ; the press", "bad TCP host in plc 7"},
        {"Serial=/dev/ttyS0\nParity=Mark", "Parity must be none, odd or even"},
        {"Serial=/dev/ttyS0\nBaud=+9600", "Baud cannot be +9600"},
        {"Serial=/dev/ttyS0\nDataBits=6", "DataBits cannot be 6"},
        {"Tcp=h\nStopBits=2", "StopBits belongs to a Serial link"},
    };
    for (const auto& [link, text] : cases) {
        const Inventory inventory = ParseInventory("[P]\nModel=C-12\nLibraries=1\n" + link);
        ASSERT_EQ(inventory.problems.size(), 1u) << link;
        EXPECT_EQ(inventory.problems[0].text, text);
        EXPECT_EQ(inventory.problems[0].line, link.find('\n') == link.npos ? 4 : 5) << link;
    }
}

TEST(Inventory, ReadsAsAProfileAndNamesLinesNoReaderWouldSee) {
    const Inventory inventory = ParseInventory("# the plant\n" // 1
                                               "Model=C-12\n"  // 2: outside any section
                                               "[P]\n"         // 3
                                               "Model=C-12\n"  // 4
                                               "Serial=\"/dev/ttyS0\"\n"
                                               "  # Baud=38400\n" // 6
                                               "Libraries=1\n"    // 7
                                               "[Q\n"             // 8: no closing bracket
                                               "Model=C-12\n");   // 9: Q's, not P's
    std::vector<std::string> found;
    for (const auto& problem : inventory.problems)
        found.push_back(problem.section + ":" + std::to_string(problem.line) + " " + problem.text);
    EXPECT_EQ(found, (std::vector<std::string>{":2 not a key and value in a section",
                                               "Q:8 the section's header has no closing ]"}));
    ASSERT_EQ(inventory.processors.size(), 1u);
    EXPECT_EQ(inventory.processors[0].LinkText(), "serial /dev/ttyS0 9600 8N2");
}

// A section's name is the folder of its files, beside the backup's own files.
TEST(Inventory, NamesAreUtf8FolderNamesApartFromTheBackupsOwnFiles) {
    const std::string longest(MaxSectionNameBytes, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"Linie \xC3\xA9", ""},
        {longest, ""},
        {"Line 3] ; the press", ""},
        {longest + "x", "the name is longer than 100 bytes"},
        {".git", "a name beginning with \".\" is kept for the backup's own files"},
        {".setfolio", "a name beginning with \".\" is kept for the backup's own files"},
        {"Manifest.JSON", "manifest.json is the backup's own file"},
        {"Line 3]x", "text after the section's closing ]"},
        {"Linie \xE9", "the line is not UTF-8 text"},
        {"Line \xED\xA0\x80", "the line is not UTF-8 text"}, // a surrogate
    };
    for (const auto& [name, problem] : cases) {
        const std::string header = "[" + name + (name.find(']') == name.npos ? "]" : "");
        const Inventory inventory = ParseInventory(header + "\nModel=C-12\nTcp=h\nLibraries=1\n");
        if (problem.empty()) {
            EXPECT_TRUE(inventory.problems.empty()) << name << ": " << inventory.problems[0].text;
            continue;
        }
        ASSERT_FALSE(inventory.problems.empty()) << name;
        EXPECT_EQ(inventory.problems[0].text, problem) << name;
        EXPECT_EQ(inventory.problems[0].line, 1) << name;
    }
    // What an editor may put before the first line.
    const Inventory marked = ParseInventory("\xEF\xBB\xBF[Linie \xC3\xA9]\nModel=C-12\nTcp=h\n"
                                            "Libraries=1\n");
    ASSERT_TRUE(marked.problems.empty()) << marked.problems[0].text;
    EXPECT_EQ(marked.processors[0].name, "Linie \xC3\xA9");
}

TEST(Inventory, LibraryListsAndDigests) {
    EXPECT_EQ(ParseLibraryList("0, 998-999"), (std::vector<int>{0, 998, 999}));
    for (const char* bad : {"", "1-", "a", "3-2", "1000", "-1", "1,,2"})
        EXPECT_EQ(ParseLibraryList(bad), std::nullopt) << bad;
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

} // namespace
