#include "SimWorld.h"
#include "core/ProfileFile.h"
#include "platform/Timer.h"
#include "transfer/BenchTransfer.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace setfolio;
using setfolio::testing::AppWorld;
using setfolio::testing::SimWorld;

namespace {

constexpr std::int32_t B01 = 5;
const std::string Ack = "\x06";
const std::string Nak = "\x15";

// A bench processor (B-01) whose active library is 5.
struct BenchWorld : SimWorld {
    BenchWorld() : SimWorld(B01, 5) {}

    // Answers as the simulator does, and notes the queue sizes in force whenever something is
    // sent.
    void WatchQueues() {
        port.SetPeer([this](const std::string& sent) {
            inputSizes.push_back(port.inputQueueSize);
            outputSizes.push_back(port.outputQueueSize);
            for (const auto& reply : processor->Receive(sent))
                port.Receive(reply.bytes, reply.delayMs + 3);
        });
    }
    // A processor that takes every library select and gives `ack` for each dump's first line,
    // `delayMs` later.
    void AnswerDumps(std::string ack, std::int64_t delayMs) {
        port.SetPeer([this, ack, delayMs](const std::string& sent) {
            if (sent == "SYST.LIBRARY.SELECT?\r")
                port.Receive("5" + Ack + "\r\n", 3);
            else if (sent.starts_with("SYST.LIBRARY.SELECT:"))
                port.Receive(Ack + "\r\n", 3);
            else if (sent.starts_with("#") && !ack.empty())
                port.Receive(ack + "\r\n", delayMs);
            if (sent.starts_with("#"))
                firstLineSentAt = loop.Now();
        });
    }

    // Opens the upload dialog, chooses the file, ticks "Include Cal data" as asked and presses OK.
    bool UploadBench(const std::string& file, int first, bool calibration,
                     std::optional<int> last = {}) {
        bool closed = false;
        dialogs.onUpload = [&] {
            auto& form = app.upLoadForm;
            dialogs.fileToOpen = file;
            form.FileBtnClick();
            form.LibrarySpinEdit.value = first;
            form.LibrarySpinEditExit();
            form.IncludeCommonCB.checked = calibration;
            if (last) {
                form.ToLibCB.checked = true;
                form.ToLibCBClick();
                form.ToLibrarySpinEdit.value = *last;
            }
            closed = form.OKBtnClick();
            form.FormClose();
        };
        app.mainForm.UpBtnClick();
        return closed;
    }

    std::vector<std::size_t> inputSizes;
    std::vector<std::size_t> outputSizes;
    std::int64_t firstLineSentAt = -1;
};

// A library file as a bench download writes it.
std::string BenchFile(const std::vector<std::string>& common, const std::vector<std::string>& user,
                      int commonLines = -1, int userLines = -1) {
    std::string text = "[SystemSettings]\r\nModelNo=5\r\n";
    const auto section = [&](const char* name, const std::vector<std::string>& lines, int count) {
        if (lines.empty())
            return;
        text += "[" + std::string(name) +
                "]\r\nLines=" + std::to_string(count < 0 ? static_cast<int>(lines.size()) : count) +
                "\r\n";
        for (std::size_t k = 0; k < lines.size(); ++k)
            text += std::to_string(k + 1) + "=" + lines[k] + "\r\n";
    };
    section("Common", common, commonLines);
    section("User", user, userLines);
    return text;
}

TEST(BenchDownload, DumpLinesAreStoredInOrderWithoutTheClosingLine) {
    BenchWorld world;
    world.WatchQueues();
    world.TakeSent();
    const auto path = world.Path("Line.lvf");
    EXPECT_TRUE(world.Download(path, 7));
    EXPECT_EQ(world.ResultLine(), "Download of library 7 to " + path + " complete.");
    // Afterwards the processor goes back to the library it ran (5).
    EXPECT_EQ(world.TakeSent(),
              "SYST.LIBRARY.SELECT?\rSYST.LIBRARY.SELECT:7\r"
              "SYST.LIBRARY.COMMON?\rSYST.LIBRARY.USER?\rSYST.LIBRARY.SELECT:5\r");
    EXPECT_EQ(world.Lines().back(), "Current library is 5.");

    const ProfileFile file(path);
    EXPECT_EQ(file.ReadInteger("SystemSettings", "ModelNo", -1), B01);
    const auto& library = world.processor->libraries.at(7);
    for (const auto& [section, lines] :
         {std::pair{"Common", library.common}, std::pair{"User", library.user}}) {
        ASSERT_GT(lines.size(), 10u);
        EXPECT_EQ(file.ReadInteger(section, "Lines", -1), static_cast<int>(lines.size()));
        for (std::size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(file.ReadText(section, std::to_string(k + 1), "?"), lines[k]) << section;
        EXPECT_EQ(file.ReadText(section, std::to_string(lines.size() + 1), "none"), "none");
    }
    EXPECT_TRUE(file.ReadText("Common", "1", "").starts_with("#COMMON "));
    EXPECT_TRUE(file.ReadText("User", "1", "").starts_with("#USER "));

    // The bar ends with the range of the "User" dump, put back to 0 by its closing line.
    const auto& bar = world.app.downLoadForm.ProgressBar;
    const int bytes = std::stoi(library.user[0].substr(library.user[0].find(' ') + 1));
    EXPECT_EQ(bar.maximum, bytes / 82 + 1);
    EXPECT_EQ(bar.value, 0);

    // The receive queue is large for the transfer only.
    EXPECT_EQ(world.inputSizes, (std::vector<std::size_t>{4096, 45000, 45000, 45000, 4096}));
    EXPECT_EQ(world.port.inputQueueSize, DefaultQueueSize);
    EXPECT_EQ(world.app.exchange.TimeOutTimer().Interval(), DefaultReplyTimeOutMs);
}

TEST(BenchDownload, FailedUserDumpKeepsNothingNew) {
    struct Case {
        std::string name;
        std::string faults;
        std::string userReply; // replaces the processor's "User" dump when not empty
        std::string message;
    };
    const Case cases[] = {
        {"closed by NAK", "refuse SYST.LIBRARY.USER? NAK", "", "Download failed - command failed!"},
        {"processor falls silent", "", "#USER 9000 LIBRARY 5\r\nA:1\r\nB:2\r\n",
         "Download failed - no connection!"},
        {"select refused", "refuse SYST.LIBRARY.SELECT:5 NAK", "",
         "Download failed - command failed!"},
    };
    for (const auto& c : cases) {
        for (const bool earlierFile : {false, true}) {
            BenchWorld world;
            world.SetFaults(c.faults);
            if (!c.userReply.empty())
                world.replaced["SYST.LIBRARY.USER?\r"] = c.userReply;
            if (earlierFile)
                world.folder.Write("Line.lvf", "[User]\r\nLines=1\r\n1=#USER 12 OLD\r\n");
            world.prompts.shown.clear();
            const std::int64_t start = world.loop.Now();
            world.Download(world.Path("Line.lvf"), 5);
            EXPECT_EQ(world.ResultLine(), c.message) << c.name;
            if (earlierFile) {
                EXPECT_EQ(world.folder.Read("Line.lvf"), "[User]\r\nLines=1\r\n1=#USER 12 OLD\r\n")
                    << c.name;
            } else {
                EXPECT_FALSE(std::filesystem::exists(world.Path("Line.lvf"))) << c.name;
            }
            // Library 5 is the one the processor runs: going back to it is refused as well.
            EXPECT_EQ(world.prompts.shown.size(),
                      c.faults.starts_with("refuse SYST.LIBRARY.SELECT") ? 2u : 1u)
                << c.name;
            EXPECT_EQ(world.prompts.shown[0], "beep:warning") << c.name;
            EXPECT_EQ(world.port.inputQueueSize, DefaultQueueSize) << c.name;
            // A silent processor costs the reply time-out after its last line, then the report's
            // pause.
            if (!c.userReply.empty()) {
                EXPECT_LT(world.loop.Now() - start, 2500 + 1000 + 100) << c.name;
            }
        }
    }
}

TEST(BenchDownload, DumpThatGoesOnIsCutOffAndKeepsTheEarlierFile) {
    struct Case {
        std::string first;
        std::string line;
        int count;
        std::string why;
    };
    const Case cases[] = {
        {"#USER 500 LIBRARY 5", "USER.P2:12345,6", 6000,
         "The User dump went on past the 500 bytes its first line announced and was cut off."},
        {"#USER 2000000000 LIBRARY 5", std::string(8000, '7'), 2200,
         "The User dump went on past 16777216 bytes, more than any library holds, and was cut "
         "off."},
    };
    for (const auto& c : cases) {
        BenchWorld world;
        world.folder.Write("Line.lvf", "earlier");
        std::string dump = c.first + "\r\n";
        for (int k = 0; k < c.count; ++k)
            dump += c.line + "\r\n";
        // The closing line comes at last, in the same burst: it must not end the dump Ok.
        world.replaced["SYST.LIBRARY.USER?\r"] = dump + Ack + "\r\n";
        world.Download(world.Path("Line.lvf"), 5);
        EXPECT_EQ(world.LastLines(3), (std::vector<std::string>{"Download failed - command failed!",
                                                                c.why, "Current library is 5."}));
        EXPECT_EQ(world.app.exchange.replyStatus(), ReplyStatus::CommandFailed);
        EXPECT_EQ(world.folder.Read("Line.lvf"), "earlier");
    }
}

TEST(BenchDownload, UnwritableFileSendsNothing) {
    BenchWorld world;
    world.TakeSent();
    world.prompts.shown.clear();
    EXPECT_FALSE(world.Download(world.Path("no/such/folder/Line.lvf"), 5));
    EXPECT_EQ(world.TakeSent(), "SYST.LIBRARY.SELECT?\r");
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{"beep:warning", "error:Enter a valid filename."}));
    EXPECT_EQ(world.port.inputQueueSize, DefaultQueueSize);
}

TEST(BenchUpload, RoundTripsWithAndWithoutCalibrationData) {
    BenchWorld world;
    const auto path = world.Path("Line.lvf");
    ASSERT_TRUE(world.Download(path, 5));
    const auto& libraries = world.processor->libraries;
    world.WatchQueues();
    world.prompts.shown.clear();

    EXPECT_TRUE(world.UploadBench(path, 9, true));
    EXPECT_EQ(world.ResultLine(), "Upload of " + path + " to library 9 complete.");
    EXPECT_EQ(libraries.at(9).common, libraries.at(5).common);
    EXPECT_EQ(libraries.at(9).user, libraries.at(5).user);
    EXPECT_EQ(world.prompts.shown,
              (std::vector<std::string>{"beep:warning",
                                        "question:Warning - Current Calibration, Linearization, "
                                        "and Jog Values will be replaced!!! Are you sure you want "
                                        "to proceed?"}));
    EXPECT_EQ(world.outputSizes.front(), DefaultQueueSize) << "the dialog's library query";
    EXPECT_EQ(world.outputSizes[world.outputSizes.size() - 2], LargeQueueSize);
    EXPECT_EQ(world.outputSizes.back(), DefaultQueueSize) << "the library query afterwards";
    EXPECT_EQ(world.port.outputQueueSize, DefaultQueueSize);

    // Without the box the calibration data stays where it is, and the range is the User dump's.
    world.TakeSent();
    world.prompts.shown.clear();
    EXPECT_TRUE(world.UploadBench(path, 10, false));
    EXPECT_EQ(world.ResultLine(), "Upload of " + path + " to library 10 complete.");
    EXPECT_EQ(world.TakeSent().find("#COMMON"), std::string::npos);
    EXPECT_TRUE(libraries.at(10).common.empty());
    EXPECT_EQ(libraries.at(10).user, libraries.at(5).user);
    EXPECT_TRUE(world.prompts.shown.empty());
    EXPECT_EQ(world.app.upLoadForm.ProgressBar.maximum,
              EstimateBenchUploadTicks(libraries.at(5).user[0], 9600));
}

TEST(BenchUpload, TwoThousandLineDumpThroughTheDialogs) {
    BenchWorld world;
    std::vector<std::string> user{"#USER 0 LIBRARY 8"};
    for (int k = 2; k <= 2000; ++k)
        user.push_back("USER.P" + std::to_string(k) + ":" + std::to_string(k * 7919 % 100000));
    std::size_t bytes = 0;
    for (const auto& line : user)
        bytes += line.size() + 2;
    user[0] = "#USER " + std::to_string(bytes + 4) + " LIBRARY 8"; // four more digits than "0"
    world.processor->libraries[8].user = user;
    ASSERT_TRUE(world.Download(world.Path("Big.lvf"), 8));
    EXPECT_EQ(ProfileFile(world.Path("Big.lvf")).ReadInteger("User", "Lines", 0), 2000);
    EXPECT_TRUE(world.UploadBench(world.Path("Big.lvf"), 9, true));
    EXPECT_EQ(world.processor->libraries.at(9).user, user);
    EXPECT_EQ(world.processor->libraries.at(9).common, world.processor->libraries.at(8).common);
}

TEST(BenchDownload, AbortInThePauseBetweenTwoLibrariesEndsTheBlock) {
    BenchWorld world;
    const auto abortSoon = world.app.messageLog.appended.Subscribe([&](const std::string& line) {
        if (line.starts_with("Download of library 3"))
            world.loop.Schedule(500, [&] { world.app.downLoadForm.AbortBtnClick(); });
    });
    world.TakeSent();
    world.Download(world.Path("B.lvf"), 3, 5);
    EXPECT_TRUE(std::filesystem::exists(world.Path("B 003.lvf")));
    EXPECT_FALSE(std::filesystem::exists(world.Path("B 004.lvf")));
    EXPECT_EQ(world.TakeSent().find("SYST.LIBRARY.SELECT:4"), std::string::npos);
    EXPECT_EQ(world.LastLines(2),
              (std::vector<std::string>{"Download aborted by user.", "Current library is 5."}));
}

TEST(BenchUpload, BlocksOfLibrariesBothWaysAndARefusalEndsOne) {
    BenchWorld world;
    ASSERT_TRUE(world.Download(world.Path("B.lvf"), 3, 4));
    const std::int64_t start = world.loop.Now();
    EXPECT_TRUE(world.UploadBench(world.Path("B 003.lvf"), 20, true, 21));
    EXPECT_GE(world.loop.Now() - start, 2 * 2000) << "a pause after each library";
    const auto& libraries = world.processor->libraries;
    EXPECT_EQ(libraries.at(20).user, libraries.at(3).user);
    EXPECT_EQ(libraries.at(21).user, libraries.at(4).user);
    EXPECT_EQ(libraries.at(21).common, libraries.at(4).common);
    EXPECT_NE(libraries.at(20).user, libraries.at(21).user);

    // A dump the processor refuses ends the block there.
    world.SetFaults("refuse #USER NAK");
    world.TakeSent();
    world.UploadBench(world.Path("B 003.lvf"), 30, false, 31);
    EXPECT_EQ(world.ResultLine(), "Upload failed - command failed!");
    EXPECT_EQ(world.TakeSent().find("SYST.LIBRARY.SELECT:31"), std::string::npos);
    EXPECT_FALSE(libraries.contains(30));
}

TEST(BenchUpload, OnlyTheLinesASectionCountsAreSent) {
    BenchWorld world;
    world.AnswerDumps(Ack, 600); // after the Delay tick, so the rest of a dump goes out first
    world.folder.Write(
        "One.lvf", BenchFile({"#COMMON 0 CAL", "CAL:NOT SENT"}, {"#USER 0 U", "U:1", "U:2"}, 1, 2));
    world.TakeSent();
    EXPECT_TRUE(world.UploadBench(world.Path("One.lvf"), 5, true));
    EXPECT_EQ(world.TakeSent(), "SYST.LIBRARY.SELECT?\rSYST.LIBRARY.SELECT:5\r"
                                "#COMMON 0 CAL\r\n#USER 0 U\r\nU:1\r\nSYST.LIBRARY.SELECT?\r");
    EXPECT_EQ(world.app.upLoadForm.ProgressBar.maximum, 4) << "a byte count of 0";
}

TEST(BenchUpload, OnlyARefusalInThePauseAfterTheFirstLineEndsTheSectionThere) {
    struct Case {
        std::string answer;
        bool allLines;
        std::string result;
    };
    const Case cases[] = {
        {Ack, true, "Upload of {} to library 5 complete."},
        {"NO" + Nak, false, "Upload failed - command failed!"},
        {"WHAT?", true, "Upload failed - command failed!"},
    };
    for (const auto& c : cases) {
        BenchWorld world;
        world.AnswerDumps(c.answer, 10); // well inside the 500 ms after the first line
        world.folder.Write("L.lvf", BenchFile({}, {"#USER 30 U", "U:1", "U:2"}));
        world.TakeSent();
        world.UploadBench(world.Path("L.lvf"), 5, false);
        EXPECT_EQ(world.TakeSent().find("U:2\r\n") != std::string::npos, c.allLines) << c.answer;
        std::string result = c.result;
        if (const auto mark = result.find("{}"); mark != std::string::npos)
            result.replace(mark, 2, world.Path("L.lvf"));
        EXPECT_EQ(world.ResultLine(), result) << c.answer;
    }
}

TEST(BenchUpload, ProgressRangeFromTheByteCount) {
    struct Case {
        std::string line;
        int baud;
        std::optional<int> ticks;
    };
    const Case cases[] = {
        {"#USER 10000 LIBRARY 5", 9600, 25}, // 8 s: 8 × 2 × 1.3 + 4 = 24.8
        {"#USER 10000", 19200, 14},          // 4 s: 14.4
        {"#USER 0 X", 9600, 4},
        {"#USER 1199 X", 9600, 4}, // under a second
        {"10000", 9600, 25},       // no blank: the whole line
        {"#USER 3000000000", 9600, std::nullopt},
        {" ", 9600, std::nullopt}, // a missing first line
        {"#USER  10000", 9600, std::nullopt},
        {"#USER 12ab", 9600, std::nullopt},
        {"#USER -1200", 9600, std::nullopt},
        {"#USER 10000", 0, 26004}, // no baud rate: a byte a second
    };
    for (const auto& c : cases)
        EXPECT_EQ(EstimateBenchUploadTicks(c.line, c.baud), c.ticks) << c.line << " " << c.baud;

    // The upload shows it.
    BenchWorld world;
    world.AnswerDumps(Ack, 10);
    world.folder.Write("L.lvf", BenchFile({}, {"#USER 10000 LIBRARY 5", "U:1"}));
    EXPECT_TRUE(world.UploadBench(world.Path("L.lvf"), 5, false));
    EXPECT_EQ(world.app.upLoadForm.ProgressBar.maximum, 25);
}

TEST(BenchUpload, NoAcknowledgementEndsEightSecondsAfterTheQueueHasDrained) {
    BenchWorld world;
    world.AnswerDumps("", 0); // never acknowledges a dump
    world.port.DrainAt(1000);
    // Lines of 100 bytes with their line ends: one leaves the queue every 100 ms.
    std::vector<std::string> user{"#USER 2000 " + std::string(87, 'H')};
    for (int k = 2; k <= 20; ++k)
        user.push_back("U:" + std::string(96, static_cast<char>('A' + k)));
    world.folder.Write("L.lvf", BenchFile({}, user));
    world.prompts.shown.clear();

    EXPECT_TRUE(world.UploadBench(world.Path("L.lvf"), 5, false));
    EXPECT_EQ(world.ResultLine(), "Upload failed - no connection!");
    EXPECT_EQ(world.app.mainForm.StatusAnswerText(), "No answer")
        << "the acknowledgement the upload waited for itself never came";
    // Lines 2 to 20 go out after the 500 ms Delay tick; with one line (100 bytes) left, 1.8 s
    // later, the 8 s time-out starts.
    EXPECT_EQ(world.loop.Now() - world.firstLineSentAt, 500 + 1800 + 8000);
    EXPECT_EQ(world.app.upLoadForm.ProgressBar.value, (1800 + 8000) / 500);
    EXPECT_EQ(world.port.outputQueueSize, DefaultQueueSize);
    Timer& timeOut = world.app.exchange.TimeOutTimer();
    EXPECT_FALSE(timeOut.IsRunning());
    EXPECT_EQ(timeOut.Interval(), DefaultReplyTimeOutMs);
}

TEST(BenchUpload, AbortEndsTheAcknowledgementWait) {
    BenchWorld world;
    world.AnswerDumps("", 0);
    world.port.outputQueueUsed = 5000; // a queue that never drains: no time-out
    world.folder.Write("L.lvf", BenchFile({}, {"#USER 100 U", "U:1"}));
    world.dialogs.onUpload = [&] {
        auto& form = world.app.upLoadForm;
        world.dialogs.fileToOpen = world.Path("L.lvf");
        form.FileBtnClick();
        world.loop.Schedule(30000, [&form] { form.AbortBtnClick(); });
        form.OKBtnClick();
    };
    world.app.mainForm.UpBtnClick();
    EXPECT_EQ(world.ResultLine(), "Upload aborted by user.");
    // After the dialog's query, and before the library query that follows the transfer.
    EXPECT_EQ(world.loop.Now() - world.firstLineSentAt, 30000);
    EXPECT_EQ(world.app.exchange.TimeOutTimer().Interval(), DefaultReplyTimeOutMs);
}

TEST(BenchUpload, RefusalsBeforeAnyDumpLine) {
    struct Case {
        std::string name;
        std::string file; // "" for no file
        bool calibration;
        bool answer;
        std::string message; // "" for none
        bool selects;
    };
    const std::vector<std::string> user{"#USER 20 U", "U:1"};
    const Case cases[] = {
        {"No to the warning", BenchFile({"#COMMON 20 C", "C:1"}, user), true, false, "", false},
        {"no Common section", BenchFile({}, user), true, true, "Upload failed - command failed!",
         false},
        {"no byte count", BenchFile({}, {"#USER LIBRARY", "U:1"}), false, true,
         "Upload failed - command failed!", false},
        {"more lines than the file", BenchFile({}, user, -1, 2000000000), false, true,
         "Upload failed - command failed!", false},
        {"missing file", "", false, true, "", false},
        {"select refused", BenchFile({}, user), false, true, "Upload failed - command failed!",
         true},
    };
    for (const auto& c : cases) {
        BenchWorld world;
        if (c.selects)
            world.SetFaults("refuse SYST.LIBRARY.SELECT:5 NAK");
        if (!c.file.empty())
            world.folder.Write("L.lvf", c.file);
        world.prompts.answer = c.answer;
        world.TakeSent();
        const auto lines = world.Lines().size();
        const bool closed = world.UploadBench(world.Path("L.lvf"), 5, c.calibration);
        EXPECT_EQ(world.TakeSent(), c.selects ? "SYST.LIBRARY.SELECT?\rSYST.LIBRARY.SELECT:5\r"
                                                "SYST.LIBRARY.SELECT?\r"
                                              : "SYST.LIBRARY.SELECT?\r")
            << c.name;
        if (!c.message.empty()) {
            EXPECT_EQ(world.ResultLine(), c.message) << c.name;
        }
        if (c.file.empty()) {
            EXPECT_EQ(world.ResultLine(),
                      "Upload failed - " + world.Path("L.lvf") + " does not exist!");
        }
        if (!c.answer) {
            EXPECT_FALSE(closed) << "the dialog stays open";
            EXPECT_EQ(world.Lines().size(), lines);
        }
        EXPECT_EQ(world.port.outputQueueSize, DefaultQueueSize) << c.name;
    }
}

std::string Bytes(const std::vector<sim::Reply>& replies) {
    std::string all;
    for (const auto& reply : replies)
        all += reply.bytes;
    return all;
}

TEST(BenchSimulator, DumpsCarryTheirSizeAndAreTakenBackWhole) {
    auto bench = sim::MakeProcessor(B01);
    bench->activeLibrary = 3;
    const std::string dump = Bytes(bench->Receive("SYST.LIBRARY.USER?\r"));
    ASSERT_TRUE(dump.ends_with("\r\n" + Ack + "\r\n"));
    const std::string lines = dump.substr(0, dump.size() - 3);
    const std::string first = lines.substr(0, lines.find('\r'));
    ASSERT_TRUE(first.starts_with("#USER "));
    EXPECT_EQ(std::stoul(first.substr(6)), lines.size()) << first;

    // The same every time, and another for another library.
    auto again = sim::MakeProcessor(B01);
    again->activeLibrary = 3;
    EXPECT_EQ(Bytes(again->Receive("SYST.LIBRARY.USER?\r")), dump);
    again->activeLibrary = 4;
    EXPECT_NE(Bytes(again->Receive("SYST.LIBRARY.USER?\r")), dump);

    // Streamed into library 8: one acknowledgement, once the last byte is in.
    bench->Receive("SYST.LIBRARY.SELECT:8\r");
    std::string answers;
    for (std::size_t at = 0; at < lines.size();) {
        const auto end = lines.find("\r\n", at) + 2;
        answers += Bytes(bench->Receive(lines.substr(at, end - at)));
        EXPECT_EQ(answers.empty(), end < lines.size());
        at = end;
    }
    EXPECT_EQ(answers, Ack + "\r\n");
    EXPECT_EQ(bench->libraries.at(8).user, bench->libraries.at(3).user);

    // A dump whose size does not add up is refused; a command in the middle of one ends it.
    const std::string shortened = "#USER 20 X\r\nA:1\r\n"; // 17 of 20 bytes
    EXPECT_EQ(Bytes(bench->Receive(shortened + "B:22\r\n")), Nak + "\r\n");
    EXPECT_TRUE(bench->Receive(shortened).empty());
    EXPECT_EQ(Bytes(bench->Receive("SYST.LIBRARY.SELECT?\r")), "8" + Ack + "\r\n");
    EXPECT_EQ(Bytes(bench->Receive("B:2\r\n")), Nak + "\r\n");
    EXPECT_EQ(bench->libraries.at(8).user, bench->libraries.at(3).user);
}

// Ethernet: the whole dump is read in one exchange, and the upload writes to the connection.
TEST(BenchTransfer, RoundTripOverEthernet) {
    AppWorld world;
    world.app.settings.Write(keys::Language, 0);
    world.app.settings.Write(keys::ModelNo, B01);
    world.app.settings.Write(keys::ConnectionType, 1);
    world.app.settings.Write(keys::IpAddressIndex, 0);
    world.app.ipListFile.Write({"127.0.0.1"});
    auto processor = sim::MakeProcessor(B01);
    processor->activeLibrary = 5;
    world.tcp.SetPeer([&](const std::string& sent) {
        for (const auto& reply : processor->Receive(sent, true))
            world.tcp.Receive(reply.bytes, 1);
    });
    world.Start();
    const std::string path = world.folder.File("Line.lvf");
    world.dialogs.onDownload = [&] {
        world.app.downLoadForm.FileName.caption = path;
        world.app.downLoadForm.OKBtnClick();
    };
    world.app.mainForm.DownBtnClick();
    ASSERT_EQ(world.ResultLine(), "Download of library 5 to " + path + " complete.");
    EXPECT_EQ(ProfileFile(path).ReadInteger("User", "Lines", 0),
              static_cast<int>(processor->libraries.at(5).user.size()));
    // Nothing of the dump's reply time-out is left to end a later exchange.
    world.loop.AdvanceBy(10000);
    EXPECT_EQ(world.app.exchange.replyStatus(), ReplyStatus::Ok);

    world.dialogs.onUpload = [&] {
        auto& form = world.app.upLoadForm;
        world.dialogs.fileToOpen = path;
        form.FileBtnClick();
        form.LibrarySpinEdit.value = 9;
        form.IncludeCommonCB.checked = true;
        form.OKBtnClick();
    };
    world.app.mainForm.UpBtnClick();
    EXPECT_EQ(world.ResultLine(), "Upload of " + path + " to library 9 complete.");
    EXPECT_EQ(processor->libraries.at(9).common, processor->libraries.at(5).common);
    EXPECT_EQ(processor->libraries.at(9).user, processor->libraries.at(5).user);
}

} // namespace
