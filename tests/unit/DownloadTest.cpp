#include "transfer/Download.h"
#include "SimWorld.h"
#include "core/ProfileFile.h"
#include "library/LibraryFile.h"
#include "library/NumberedNames.h"
#include "tables/Assembly.h"
#include "transfer/DownloadFrame.h"
#include "transfer/Upload.h"
#include "transfer/UploadFrame.h"

#include "PosixOnly.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace setfolio;
using setfolio::testing::AppWorld;
using setfolio::testing::TempFolder;

namespace {

using DownloadWorld = setfolio::testing::SimWorld;

TEST(DownloadCoded, WholeLibraryDecodesToTheProcessorsValues) {
    DownloadWorld world;
    const auto path = world.Path("Line.lvf");
    EXPECT_TRUE(world.Download(path, 5));
    EXPECT_EQ(world.ResultLine(), "Download of library 5 to " + path + " complete.");
    EXPECT_EQ(world.app.downLoadForm.ProgressBar.value, 191 + 92 + 117 + 1);

    const ProfileFile file(path);
    EXPECT_EQ(file.ReadInteger("SystemSettings", "ModelNo", -1), 0);
    const auto& stored = world.processor->libraries.at(5).parameters;
    for (const auto& row : world.app.tables.MnemonicList.Rows()) {
        const auto index = file.ReadInteger("MnemonicParms", row.name, -1);
        ASSERT_GE(index, 0) << row.name;
        EXPECT_EQ(FormatValueIndex(index), stored.at(row.name)) << row.name;
    }
    for (const auto& row : world.app.tables.CondMnemonicList.Rows())
        EXPECT_EQ(file.ReadText("CondMnemonicParms", row.name, ""), stored.at(row.name));
    for (const auto& row : world.app.tables.NumericList.Rows())
        EXPECT_EQ(file.ReadText("NumericParms", row.name, ""), stored.at(row.name));
    for (const auto& row : world.app.tables.HeaderList.Rows())
        EXPECT_EQ(file.ReadText("HeaderParms", row.name, ""), stored.at(row.name));

    // Sections in their order, one key per row.
    const auto content = world.folder.Read("Line.lvf");
    const auto at = [&](const char* section) { return content.find(section); };
    EXPECT_LT(at("[SystemSettings]"), at("[MnemonicParms]"));
    EXPECT_LT(at("[MnemonicParms]"), at("[CondMnemonicParms]"));
    EXPECT_LT(at("[CondMnemonicParms]"), at("[NumericParms]"));
    EXPECT_LT(at("[NumericParms]"), at("[HeaderParms]"));
    EXPECT_EQ(std::count(content.begin(), content.end(), '='), 402);
}

// A model that switches libraries slowly, on a processor that takes 3 s to answer after the
// switch: the download waits for it and succeeds, and so does the switch back.
TEST(DownloadCoded, WaitsForAProcessorThatTakes3sToSwitch) {
    DownloadWorld world(4, 2); // C-19, on library 2
    world.SetFaults("slow-switch 3");
    const auto path = world.Path("Line.lvf");
    const std::size_t shown = world.Lines().size();
    const auto start = world.loop.Now();
    EXPECT_TRUE(world.Download(path, 5));
    EXPECT_GE(world.loop.Now() - start, 6000);
    EXPECT_EQ(std::vector<std::string>(world.Lines().begin() + static_cast<std::ptrdiff_t>(shown),
                                       world.Lines().end()),
              (std::vector<std::string>{"Download of library 5 to " + path + " complete.",
                                        "Current library is 2."}));
}

// After a slow switch the processor is asked for its library again; the result line names the
// library it gave in that answer, not the one asked for.
TEST(DownloadCoded, ResultNamesTheLibraryTheSlowSwitchsRequeryHeard) {
    DownloadWorld world(4, 2); // C-19, on library 2
    bool switched = false;
    world.port.SetPeer([&](const std::string& sent) {
        if (sent == "700 005\r")
            switched = true;
        if (sent == "701\r" && std::exchange(switched, false)) {
            world.port.Receive("701 006\r", 3);
            return;
        }
        for (const auto& reply : world.processor->Receive(sent))
            world.port.Receive(reply.bytes, reply.delayMs + 3);
    });
    EXPECT_TRUE(world.Download(world.Path("a.lvf"), 5));
    EXPECT_EQ(world.ResultLine(), "Download of library 6 to " + world.Path("a.lvf") + " complete.");
}

// C-30's QvSelect reads "N/A " for choices 2, 3 and 4: the processor's reply cannot tell them
// apart, and a download into a file that holds one of them keeps the file's number.
TEST(DownloadCoded, ChoicesOfTheSameTextKeepTheFilesNumber) {
    DownloadWorld world(46, 5); // C-30
    const auto path = world.Path("a.lvf");
    ASSERT_TRUE(world.Download(world.Path("warmup.lvf"), 5));
    world.processor->libraries[5].parameters["QvSelect"] = "03";
    const auto stored = [&] { return ProfileFile(path).ReadText("MnemonicParms", "QvSelect", ""); };
    ASSERT_TRUE(world.Download(path, 5));
    EXPECT_EQ(stored(), "02") << "a new file gets the first choice of that text";
    for (const char* kept : {"03", "04"}) {
        ProfileFile(path).WriteText("MnemonicParms", "QvSelect", kept);
        ASSERT_TRUE(world.Download(path, 5));
        EXPECT_EQ(stored(), kept);
    }
    ProfileFile(path).WriteText("MnemonicParms", "QvSelect", "01"); // "OFF "
    ASSERT_TRUE(world.Download(path, 5));
    EXPECT_EQ(stored(), "02");

    // A read that writes no file (verify, backup) keeps the number the file has, too.
    ProfileFile(path).WriteText("MnemonicParms", "QvSelect", "04");
    std::string read;
    TransferContext context{world.app.exchange,
                            world.app.model,
                            world.app.tables,
                            world.app.messageLog,
                            world.app.localisation.Messages(),
                            world.prompts};
    context.readInto = [&read](int, const std::string& content) { read = content; };
    RunDownload(context, world.app.downLoadForm, {5, false, 5, path});
    EXPECT_EQ(profile::FindValue(read, "MnemonicParms", "QvSelect"), "04");
    EXPECT_EQ(stored(), "04") << "the file is not written";
}

TEST(DownloadCoded, SpecialValuesOfMnemonics) {
    DownloadWorld world;
    world.Download(world.Path("warmup.lvf"), 5); // assembles the tables, so codes are known
    const std::string distUnits = world.CodeOf("DistUnits");
    const std::string measUnits = world.CodeOf("MeasUnits");

    // A processor on metres that spells them its own way, and whose units are disabled.
    world.processor->libraries[5].parameters["DistUnits"] = "01";
    world.processor->libraries[5].parameters["MeasUnits"] = "00";
    world.replaced["4" + distUnits + "\r"] = "4" + distUnits + " METRES  \r";
    world.replaced["4" + measUnits + "\r"] = "4" + measUnits + " DISABLED\r";
    EXPECT_TRUE(world.Download(world.Path("a.lvf"), 5));
    EXPECT_EQ(world.ResultLine(), "Download of library 5 to " + world.Path("a.lvf") + " complete.");
    const ProfileFile a(world.Path("a.lvf"));
    EXPECT_EQ(a.ReadText("MnemonicParms", "DistUnits", ""), "01");
    EXPECT_EQ(a.ReadText("MnemonicParms", "MeasUnits", ""), "00");

    // One blank short of a vocabulary text is another text.
    world.replaced["4" + measUnits + "\r"] = "4" + measUnits + " MM    \r";
    EXPECT_TRUE(world.Download(world.Path("b.lvf"), 5)) << "only a file error keeps the dialog";
    EXPECT_FALSE(std::filesystem::exists(world.Path("b.lvf")));
    EXPECT_EQ(world.LastLines(4), (std::vector<std::string>{
                                      "Download failed - value error!", "4" + measUnits + " MM    ",
                                      "MeasUnits: the processor shows \"MM    \", which is none "
                                      "of the 2 choices this program knows for it.",
                                      "Current library is 5."}));
}

// A query the processor answers with an acceptance, not a value, did not tell the row's value:
// the download ends as for a reply of no grammar, and no other row's value is stored for it.
TEST(DownloadCoded, QueryAnsweredWithoutItsValueEndsTheDownload) {
    DownloadWorld world;
    world.Download(world.Path("warmup.lvf"), 5); // assembles the tables, so codes are known
    // A mnemonic, a conditional and a numeric row's query, each answered "accepted".
    const std::string queries[] = {
        "4" + world.CodeOf("MeasUnits"),
        "4" + world.app.tables.CondMnemonicList.Rows().front().code,
        "3" + world.app.tables.NumericList.Rows().front().code,
    };
    for (const auto& query : queries) {
        const std::string accepted = "2" + query.substr(1) + " Y  ";
        world.replaced.clear();
        world.replaced[query + "\r"] = accepted + "\r";
        world.Download(world.Path("b.lvf"), 5);
        EXPECT_FALSE(std::filesystem::exists(world.Path("b.lvf"))) << query;
        EXPECT_EQ(world.LastLines(3), (std::vector<std::string>{"Download failed - unknown error!",
                                                                accepted, "Current library is 5."}))
            << query;
    }
}

TEST(DownloadCoded, FailedSelectSendsNothingElseAndKeepsTheEarlierFile) {
    DownloadWorld world;
    world.folder.Write("Line.lvf", "[SystemSettings]\r\nModelNo=7\r\n; my backup\r\n");
    world.SetFaults("silent 700");
    world.TakeSent();
    world.prompts.shown.clear();
    world.Download(world.Path("Line.lvf"), 5);
    EXPECT_EQ(world.TakeSent(), "701\r700 005\r");
    EXPECT_EQ(world.app.downLoadForm.outerHeight, DownloadIdleHeight);
    EXPECT_EQ(world.folder.Read("Line.lvf"), "[SystemSettings]\r\nModelNo=7\r\n; my backup\r\n");
    const auto& lines = world.Lines();
    EXPECT_EQ(lines[lines.size() - 2], "Download failed - no connection!");
    EXPECT_EQ(lines.back(), world.app.exchange.lastLineReceived());
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{"beep:warning"});
}

TEST(DownloadCoded, SuccessKeepsTheOtherKeysOfAnExistingFile) {
    DownloadWorld world;
    world.folder.Write("Line.lvf", "[Extra]\r\nMine=1\r\n[MnemonicParms]\r\nOldRow=04\r\n");
    EXPECT_TRUE(world.Download(world.Path("Line.lvf"), 5));
    const ProfileFile file(world.Path("Line.lvf"));
    EXPECT_EQ(file.ReadText("Extra", "Mine", ""), "1");
    EXPECT_EQ(file.ReadText("MnemonicParms", "OldRow", ""), "04");
    EXPECT_EQ(file.ReadInteger("SystemSettings", "ModelNo", -1), 0);
}

TEST(DownloadCoded, BlockStopsAtTheFirstFailure) {
    DownloadWorld world;
    world.SetFaults("refuse 700 004 N12");
    world.TakeSent();
    world.Download(world.Path("L.lvf"), 3, 5);
    EXPECT_TRUE(std::filesystem::exists(world.Path("L 003.lvf")));
    EXPECT_FALSE(std::filesystem::exists(world.Path("L 004.lvf")));
    EXPECT_FALSE(std::filesystem::exists(world.Path("L 005.lvf")));
    // Library 5 is not read; the processor goes back to it, the library it ran.
    EXPECT_TRUE(world.TakeSent().ends_with("700 004\r700 005\r"));
    EXPECT_EQ(
        world.LastLines(4),
        (std::vector<std::string>{
            "Download of library 3 to " + world.Path("L 003.lvf") + " complete.",
            "Download failed - processor is in RUN mode!", "700 N12", "Current library is 5."}));
}

TEST(DownloadCoded, LastBelowFirstDoesNothing) {
    DownloadWorld world;
    const auto lines = world.Lines().size();
    world.dialogs.onDownload = [&] {
        auto& form = world.app.downLoadForm;
        form.FileName.caption = world.Path("L.lvf");
        form.LibrarySpinEdit.value = 5;
        form.ToLibCB.checked = true;
        form.ToLibrarySpinEdit.value = 3; // as a form without the exit rule could hold
        world.TakeSent();
        EXPECT_TRUE(form.OKBtnClick());
    };
    world.app.mainForm.DownBtnClick();
    EXPECT_EQ(world.TakeSent(), "");
    EXPECT_EQ(world.Lines().size(), lines + 0);
}

TEST(DownloadCoded, NoFileOrAnUnwritablePathIsRefusedBeforeSending) {
    for (const std::string& path : {std::string("*.lvf"), std::string("/no/such/folder/L.lvf")}) {
        DownloadWorld world;
        world.TakeSent();
        world.prompts.shown.clear();
        EXPECT_FALSE(world.Download(path, 5)) << "the dialog stays open";
        EXPECT_EQ(world.TakeSent(), "701\r") << path;
        EXPECT_EQ(world.prompts.shown,
                  (std::vector<std::string>{"beep:warning", "error:Enter a valid filename."}));
        EXPECT_EQ(world.app.exchange.replyStatus(), ReplyStatus::FileError);
        EXPECT_FALSE(std::filesystem::exists("*.lvf"));
    }
}

TEST(DownloadCoded, WriteProtectedFileIsRefusedBeforeSendingAndKept) {
    DownloadWorld world;
    world.folder.Write("Line.lvf", "earlier");
    const auto path = world.Path("Line.lvf");
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    world.TakeSent();
    world.prompts.shown.clear();
    EXPECT_FALSE(world.Download(path, 5)) << "the dialog stays open";
    EXPECT_EQ(world.TakeSent(), "701\r");
    EXPECT_EQ(
        world.prompts.shown,
        (std::vector<std::string>{
            "beep:warning", "error:" + path + " is write-protected. Enter a valid filename."}));
    EXPECT_EQ(world.folder.Read("Line.lvf"), "earlier");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0444));
}

TEST(LibraryFileDraft, FileProtectedDuringTheDownloadIsKept) {
    TempFolder folder;
    folder.Write("Line.lvf", "[A]\r\nk=old\r\n");
    LibraryFileDraft draft(folder.File("Line.lvf"));
    draft.WriteText("A", "k", "new");
    std::filesystem::permissions(folder.File("Line.lvf"), std::filesystem::perms(0400));
    try {
        draft.Commit();
        ADD_FAILURE() << "a write-protected file was replaced";
    } catch (const WriteError& error) {
        EXPECT_EQ(error.Why(), WriteRefusal::WriteProtected);
    }
    EXPECT_EQ(folder.Read("Line.lvf"), "[A]\r\nk=old\r\n");
}

TEST(LibraryFileDraft, WritesThroughSymbolicLinksWhichStay) {
    SETFOLIO_POSIX_ONLY("the standard library makes symbolic links on POSIX only");
    namespace fs = std::filesystem;
    struct Case {
        const char* chosen;  // in links/
        const char* target;  // what the link says
        const char* reaches; // the file that is written, in real/
        bool existed;
    };
    const Case cases[] = {
        {"relative.lvf", "../real/a.lvf", "a.lvf", true},
        {"absolute.lvf", "", "b.lvf", true}, // the target's absolute path
        {"chain.lvf", "relative.lvf", "a.lvf", true},
        {"dangling.lvf", "../real/new.lvf", "new.lvf", false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        fs::create_directory(folder.File("real"));
        fs::create_directory(folder.File("links"));
        folder.Write("real/a.lvf", "[Mine]\r\nkeep=1\r\n");
        folder.Write("real/b.lvf", "[Mine]\r\nkeep=1\r\n");
        fs::create_symlink("../real/a.lvf", folder.File("links/relative.lvf"));
        const std::string target = *c.target ? c.target : folder.File("real/b.lvf");
        if (std::string(c.chosen) != "relative.lvf")
            fs::create_symlink(target, folder.File(std::string("links/") + c.chosen));
        LibraryFileDraft draft(folder.File(std::string("links/") + c.chosen));
        draft.WriteText("A", "k", "new");
        draft.Commit();
        const std::string written = folder.Read(std::string("real/") + c.reaches);
        EXPECT_EQ(written,
                  std::string(c.existed ? "[Mine]\r\nkeep=1\r\n" : "") + "[A]\r\nk=new\r\n")
            << c.chosen;
        const fs::path link = folder.File(std::string("links/") + c.chosen);
        EXPECT_TRUE(fs::is_symlink(link)) << c.chosen;
        EXPECT_EQ(fs::read_symlink(link), target) << c.chosen;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("real")), {}), c.existed ? 2 : 3)
            << c.chosen << ": no temporary file stays behind";
    }

    TempFolder loop;
    fs::create_symlink("b.lvf", loop.File("a.lvf"));
    fs::create_symlink("a.lvf", loop.File("b.lvf"));
    EXPECT_THROW(LibraryFileDraft{loop.File("a.lvf")}, WriteError);
}

TEST(DownloadCoded, BlockThatWouldReplaceFilesAsksOnceNamingThem) {
    for (const bool yes : {false, true}) {
        DownloadWorld world;
        world.folder.Write("L 004.lvf", "old 4");
        world.folder.Write("L 006.lvf", "old 6");
        world.prompts.answer = yes;
        world.TakeSent();
        world.prompts.shown.clear();
        const bool closed = world.Download(world.Path("L.lvf"), 3, 6);
        ASSERT_GE(world.prompts.shown.size(), 2u);
        EXPECT_EQ(
            std::vector<std::string>(world.prompts.shown.begin(), world.prompts.shown.begin() + 2),
            (std::vector<std::string>{
                "beep:warning",
                "question:Existing files of the block that will be replaced (2): L 004.lvf, "
                "L 006.lvf. Are you sure you want to proceed?"}));
        EXPECT_EQ(closed, yes) << "No keeps the dialog open";
        if (yes) {
            EXPECT_EQ(world.prompts.shown.size(), 2u);
            EXPECT_NE(world.folder.Read("L 006.lvf"), "old 6");
            EXPECT_TRUE(std::filesystem::exists(world.Path("L 003.lvf")));
        } else {
            EXPECT_EQ(world.TakeSent(), "701\r") << "nothing sent";
            EXPECT_EQ(world.folder.Read("L 004.lvf"), "old 4");
            EXPECT_FALSE(std::filesystem::exists(world.Path("L 003.lvf")));
        }
    }
}

TEST(DownloadCoded, AFaultThatIsNotTheFilesIsNotReportedAsAFileNameError) {
    DownloadWorld world;
    world.prompts.shown.clear();
    const TransferContext context{world.app.exchange,
                                  world.app.model,
                                  world.app.tables,
                                  world.app.messageLog,
                                  world.app.localisation.Messages(),
                                  world.prompts};
    // A table that names a row it does not have, for instance: the error goes on with its own
    // text to the handler that shows it, and no file is written.
    EXPECT_THROW(DownloadInto(context, world.app.downLoadForm, 5, world.Path("a.lvf"),
                              [](LibraryFileDraft&) { throw std::out_of_range("row 12"); }),
                 std::out_of_range);
    EXPECT_EQ(world.prompts.shown, std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(world.Path("a.lvf")));
}

TEST(DownloadCoded, AbortEndsThePassAndKeepsNoFile) {
    DownloadWorld world;
    bool keptOpen = true;
    world.dialogs.onDownload = [&] {
        auto& form = world.app.downLoadForm;
        form.FileName.caption = world.Path("L.lvf");
        world.loop.Schedule(200, [&] { form.AbortBtnClick(); });
        keptOpen = !form.OKBtnClick();
    };
    world.app.mainForm.DownBtnClick();
    EXPECT_FALSE(keptOpen);
    EXPECT_FALSE(std::filesystem::exists(world.Path("L.lvf")));
    const auto& lines = world.Lines();
    EXPECT_EQ(lines[lines.size() - 3], "Download aborted by user.");
    EXPECT_EQ(lines.back(), "Current library is 5.");
    EXPECT_GT(world.app.downLoadForm.ProgressBar.value, 0);
    EXPECT_LT(world.app.downLoadForm.ProgressBar.value, 100);
}

TEST(DownloadCoded, SecondOkWhileTheFirstRunsDoesNothing) {
    DownloadWorld world;
    bool secondClosed = true;
    world.dialogs.onDownload = [&] {
        auto& form = world.app.downLoadForm;
        form.FileName.caption = world.Path("L.lvf");
        world.loop.Schedule(1, [&] { secondClosed = form.OKBtnClick(); });
        form.OKBtnClick();
    };
    world.app.mainForm.DownBtnClick();
    EXPECT_FALSE(secondClosed);
    EXPECT_EQ(std::count(world.Lines().begin(), world.Lines().end(),
                         "Download of library 5 to " + world.Path("L.lvf") + " complete."),
              1);
}

TEST(DownloadCoded, SpcReportsAreSetToNoneWhereTheSourceIsNone) {
    struct Case {
        std::int32_t type;
        std::vector<const char*> channels;
    };
    const std::vector<const char*> six{"A", "B", "C", "D", "E", "F"};
    const Case cases[] = {{0, six},
                          {1, six},
                          {2, six},
                          {8, six},
                          {9, six},
                          {35, {"A", "B", "C", "D"}},
                          {41, {"A", "B", "C"}}};
    for (const auto& [type, channels] : cases) {
        DownloadWorld world(type, 4);
        // Every channel's source "none" in this library.
        world.Download(world.Path("warmup.lvf"), 4);
        for (const char* channel : channels)
            world.processor->libraries[4].parameters[std::string(channel) + "SpcSource"] = "00";
        world.TakeSent();
        EXPECT_TRUE(world.Download(world.Path("L.lvf"), 4)) << type;
        const std::string sent = world.TakeSent();
        for (const char* channel : channels) {
            std::string code;
            for (const auto& row : world.app.tables.CondMnemonicList.Rows()) {
                if (row.name == std::string(channel) + "SpcReports")
                    code = row.code;
            }
            ASSERT_FALSE(code.empty()) << type << channel;
            const auto set = sent.find("2" + code + " 00\r");
            EXPECT_NE(set, std::string::npos) << type << channel;
            // Between the mnemonic and the conditional pass.
            EXPECT_LT(set, sent.find("4" + world.app.tables.CondMnemonicList[0].code + "\r"));
        }
    }
}

TEST(DownloadCoded, SecondAlarmDimensionMayFailOnModelType41Only) {
    for (const std::int32_t type : {41, 35}) { // C-03, and C-02 with the same row
        DownloadWorld world(type, 4);
        world.Download(world.Path("warmup.lvf"), 4);
        const std::string code = world.CodeOf("AlarmDim2");
        ASSERT_NE(code, "??") << type;
        world.replaced["4" + code + "\r"] = "4" + code + " N01\r"; // not this processor's
        const bool type41 = type == 41;
        world.Download(world.Path("L.lvf"), 4);
        EXPECT_EQ(std::filesystem::exists(world.Path("L.lvf")), type41) << type;
        if (type41) {
            EXPECT_EQ(ProfileFile(world.Path("L.lvf")).ReadText("MnemonicParms", "AlarmDim2", ""),
                      "00");
            EXPECT_EQ(world.ResultLine(),
                      "Download of library 4 to " + world.Path("L.lvf") + " complete.");
        } else {
            EXPECT_EQ(world.LastLines(3),
                      (std::vector<std::string>{"Download failed - transaction error!",
                                                "4" + code + " N01", "Current library is 4."}));
        }
    }
}

TEST(DownloadCoded, ConnectionLostEndsTheLibraryAsNoConnection) {
    AppWorld world;
    world.app.settings.Write(keys::Language, 0);
    world.app.settings.Write(keys::ConnectionType, 1);
    world.app.settings.Write(keys::IpAddressIndex, 0);
    world.app.ipListFile.Write({"127.0.0.1"});
    auto processor = sim::MakeProcessor(0);
    world.tcp.SetPeer([&](const std::string& sent) {
        for (const auto& reply : processor->Receive(sent, true))
            world.tcp.Receive(reply.bytes, 1);
        if (processor->commands == 40)
            world.tcp.CloseFromPeer(2);
    });
    world.Start();
    world.dialogs.onDownload = [&] {
        world.app.downLoadForm.FileName.caption = world.folder.File("L.lvf");
        world.app.downLoadForm.OKBtnClick();
    };
    world.app.mainForm.DownBtnClick();
    EXPECT_FALSE(std::filesystem::exists(world.folder.File("L.lvf")));
    const auto& lines = world.Lines();
    EXPECT_EQ(lines[lines.size() - 2], "Download failed - no connection!");
}

TEST(NumberedNames, BlockNamesAndTheirParsing) {
    EXPECT_EQ(InsertLibraryNumber("C:\\Setfolio\\Line.lvf", 5), "C:\\Setfolio\\Line 005.lvf");
    EXPECT_EQ(InsertLibraryNumber("/home/j.doe/libs/Line.lvf", 7), "/home/j.doe/libs/Line 007.lvf");
    EXPECT_EQ(InsertLibraryNumber("D:\\Lib.Files\\Line.lvf", 7), "D:\\Lib.Files\\Line 007.lvf");
    EXPECT_EQ(InsertLibraryNumber("Line.a.lvf", 12), "Line 012.a.lvf");
    EXPECT_EQ(InsertLibraryNumber("/x/Line", 1000), "/x/Line ");

    const auto named = ParseBlockFileName("C:\\S\\L 012.lvf");
    ASSERT_TRUE(named);
    EXPECT_EQ(named->base, "C:\\S\\L");
    EXPECT_EQ(named->start, 12);
    EXPECT_EQ(named->FileFor(3), "C:\\S\\L 015.lvf");
    EXPECT_EQ(named->FileFor(988), "C:\\S\\L .lvf");
    EXPECT_EQ(ParseBlockFileName("C:\\S\\L 012.txt")->FileFor(0), "C:\\S\\L 012.lvf");
    EXPECT_EQ(ParseBlockFileName("/home/j.doe/L 007.lvf")->base, "/home/j.doe/L");
    for (const char* refused :
         {"C:\\S\\Line.lvf", "C:\\S\\L 012", "012.lvf", "/a/b/x.lvf", "C:\\S\\L -12.lvf"})
        EXPECT_FALSE(ParseBlockFileName(refused)) << refused;
}

} // namespace

namespace run {

// The caller's knowledge of the processor's active library follows the transfers: a download
// (one that writes files or one that only reads) puts the processor back on it, an upload leaves
// the library the processor named afterwards.
TEST(RunTransfer, KeepsTheCallersActiveLibrary) {
    DownloadWorld world; // the processor runs library 5
    std::int32_t active = 5;
    std::map<int, std::string> read;
    const auto context = [&](bool readInto) {
        TransferContext result{world.app.exchange,
                               world.app.model,
                               world.app.tables,
                               world.app.messageLog,
                               world.app.localisation.Messages(),
                               world.prompts};
        if (readInto)
            result.readInto = [&read](int library, const std::string& content) {
                read[library] = content;
            };
        result.activeLibrary = &active;
        return result;
    };
    const auto sent = [&](const std::string& all) {
        // The selects only: the row queries between them do not matter here.
        std::string selects;
        for (std::size_t at = all.find("700 "); at != std::string::npos;
             at = all.find("700 ", at + 1))
            selects += all.substr(at, 8);
        return selects;
    };

    world.TakeSent();
    RunDownload(context(true), world.app.downLoadForm, {7, false, 7, world.Path("a.lvf")});
    EXPECT_TRUE(read.contains(7));
    EXPECT_EQ(sent(world.TakeSent()), "700 007\r700 005\r");
    EXPECT_EQ(active, 5);

    RunDownload(context(false), world.app.downLoadForm, {8, false, 8, world.Path("b.lvf")});
    EXPECT_EQ(sent(world.TakeSent()), "700 008\r700 005\r");
    EXPECT_EQ(world.processor->activeLibrary, 5);
    EXPECT_EQ(active, 5);

    UploadState state;
    state.fileModelType = 0;
    RunUpload(context(false), world.app.upLoadForm, state,
              {8, false, 8, world.Path("b.lvf"), false});
    EXPECT_EQ(world.processor->activeLibrary, 8);
    EXPECT_EQ(active, 8);

    world.TakeSent();
    RunDownload(context(true), world.app.downLoadForm, {9, false, 9, world.Path("c.lvf")});
    EXPECT_EQ(sent(world.TakeSent()), "700 009\r700 008\r");
    EXPECT_EQ(active, 8);
    EXPECT_FALSE(std::filesystem::exists(world.Path("a.lvf")));
    EXPECT_FALSE(std::filesystem::exists(world.Path("c.lvf")));
}

// A download only reads: whatever its end, the processor runs the library it ran before, and
// the line after the result says so.
TEST(RunTransfer, DownloadPutsTheProcessorBackOnItsRunningLibrary) {
    struct Case {
        const char* what;
        int last;           // the block's last library (the first is 2)
        const char* faults; // of the simulated processor
        int abortAtMs;      // 0: no Abort
        std::string result; // the line before the current-library line
    };
    const Case cases[] = {
        {"single", 2, "", 0, "Download of library 2 to "},
        {"block", 4, "", 0, "Download of library 4 to "},
        {"failed", 4, "refuse 700 003 N12", 0, "Download failed - processor is in RUN mode!"},
        {"aborted", 4, "", 1500, "Download aborted by user."},
    };
    for (const auto& c : cases) {
        DownloadWorld world(0, 12);
        world.Download(world.Path("warmup.lvf"), 12);
        world.SetFaults(c.faults);
        world.dialogs.onDownload = [&] {
            auto& form = world.app.downLoadForm;
            form.FileName.caption = world.Path("L.lvf");
            form.LibrarySpinEdit.value = 2;
            form.LibrarySpinEditExit();
            form.ToLibCB.checked = c.last > 2;
            form.ToLibCBClick();
            form.ToLibrarySpinEdit.value = c.last;
            if (c.abortAtMs)
                world.loop.Schedule(c.abortAtMs, [&form] { form.AbortBtnClick(); });
            form.OKBtnClick();
            form.FormClose();
        };
        world.TakeSent();
        world.app.mainForm.DownBtnClick();
        EXPECT_EQ(world.processor->activeLibrary, 12) << c.what;
        EXPECT_TRUE(world.TakeSent().ends_with("700 012\r")) << c.what;
        const auto lines = world.LastLines(4);
        EXPECT_TRUE(
            std::any_of(lines.begin(), lines.end() - 1,
                        [&](const std::string& line) { return line.starts_with(c.result); }))
            << c.what << ": " << lines[1];
        EXPECT_EQ(lines.back(), "Current library is 12.") << c.what;
    }
}

// The dialog stays open in transfer mode after a block's later file was refused. An Abort then
// ends the dialog; it is no Abort of a later transfer, which goes through.
TEST(RunTransfer, AbortWhenNothingRunsEndsTheDialogOnly) {
    DownloadWorld world;
    world.folder.Write("L 006.lvf", "earlier");
    std::filesystem::permissions(world.Path("L 006.lvf"), std::filesystem::perms(0444));
    bool closed = true;
    bool abortCloses = false;
    world.dialogs.onDownload = [&] {
        auto& form = world.app.downLoadForm;
        form.FileName.caption = world.Path("L.lvf");
        form.LibrarySpinEdit.value = 5;
        form.LibrarySpinEditExit();
        form.ToLibCB.checked = true;
        form.ToLibCBClick();
        form.ToLibrarySpinEdit.value = 6;
        closed = form.OKBtnClick();
        abortCloses = form.AbortBtnClick();
        form.FormClose();
    };
    world.app.mainForm.DownBtnClick();
    EXPECT_FALSE(closed) << "the file error keeps the dialog open";
    EXPECT_TRUE(abortCloses);
    EXPECT_TRUE(world.Download(world.Path("a.lvf"), 7));
    EXPECT_EQ(world.ResultLine(), "Download of library 7 to " + world.Path("a.lvf") + " complete.");
}

} // namespace run
