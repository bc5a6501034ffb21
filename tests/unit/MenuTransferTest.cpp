#include "transfer/MenuTransfer.h"
#include "SimWorld.h"
#include "core/ProfileFile.h"

#include <gtest/gtest.h>

using namespace setfolio;
using setfolio::testing::SimWorld;

namespace {

constexpr std::int32_t M02 = 11;
constexpr std::int32_t M12 = 16;

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(MenuTransfer, RoundTripThroughTheDialogs) {
    for (const std::int32_t model : {M02, M12}) {
        SimWorld world(model);
        const auto path = world.Path("Menu.lvf");
        ASSERT_TRUE(world.Download(path, 5)) << model;
        EXPECT_EQ(world.ResultLine(), "Download of library 5 to " + path + " complete.");
        const auto content = world.folder.Read("Menu.lvf");
        EXPECT_LT(content.find("[LibraryParms]"), content.find("[GlobalParms]"));
        EXPECT_EQ(ProfileFile(path).ReadInteger("SystemSettings", "ModelNo", -1), model);

        world.processor->libraries[-1].parameters.begin()->second = "changed";
        EXPECT_TRUE(world.Upload(path, 9));
        EXPECT_EQ(world.ResultLine(), "Upload of " + path + " to library 9 complete.");
        EXPECT_EQ(world.processor->libraries.at(9).parameters,
                  world.processor->libraries.at(5).parameters);
        EXPECT_NE(world.processor->libraries[-1].parameters.begin()->second, "changed")
            << "the global values were sent back";
    }
}

TEST(MenuTransfer, ValuesAreStoredAsTheProcessorShowsThem) {
    SimWorld world(M02);
    world.Download(world.Path("warmup.lvf"), 5);
    const auto& rows = world.app.tables.LibraryParmList;
    std::string heading;
    for (const auto& row : rows.Rows()) {
        if (row.name == "Heading")
            heading = row.menuPath;
    }
    ASSERT_FALSE(heading.empty());
    const std::string first = rows[0].menuPath;
    const std::string second = rows[1].menuPath;
    world.replaced[first + " ?\r"] = "0\r\n+12.5\r\n";
    world.replaced[second + " ?\r"] = "0\r\n-12.5\r\n";
    world.replaced[heading + " ?\r"] = "0\r\nLINE 5/A_1\r\n";
    ASSERT_TRUE(world.Download(world.Path("a.lvf"), 5));
    const ProfileFile a(world.Path("a.lvf"));
    EXPECT_EQ(a.ReadText("LibraryParms", rows[0].name, "?"), "12.5");
    EXPECT_EQ(a.ReadText("LibraryParms", rows[1].name, "?"), "-12.5");
    EXPECT_EQ(a.ReadText("LibraryParms", "Heading", "?"), "LINE 5/A_1");

    for (const char* refused : {"Line 5", "LINE-5", "LINE 5."}) {
        world.replaced[heading + " ?\r"] = "0\r\n" + std::string(refused) + "\r\n";
        ASSERT_TRUE(world.Download(world.Path("b.lvf"), 5));
        EXPECT_EQ(ProfileFile(world.Path("b.lvf")).ReadText("LibraryParms", "Heading", "?"), "")
            << refused;
    }
}

TEST(MenuTransfer, FilterKeepsOnlyDisplayCharacters) {
    EXPECT_EQ(FilterMenuText("LINE 5/A_1"), "LINE 5/A_1");
    EXPECT_EQ(FilterMenuText("#12,3"), "#12,3");
    EXPECT_EQ(FilterMenuText(""), "");
    for (const char* refused : {"a", "A-B", "1.5", "X\x7f", "\xc4"})
        EXPECT_EQ(FilterMenuText(refused), "") << refused;
}

TEST(MenuTransfer, RefusedQueryIsRetriedOnceAfterALibraryQuery) {
    SimWorld world(M02);
    world.Download(world.Path("warmup.lvf"), 5);
    const std::string path = world.app.tables.LibraryParmList[3].menuPath;
    int asked = 0;
    world.port.SetPeer([&](const std::string& sent) {
        if (sent == path + " ?\r" && asked++ == 0) {
            world.port.Receive("1\r\n", 3);
            return;
        }
        if (sent == "3.1 ?\r" && asked == 1) {
            world.port.Receive("0\r\n6\r\n", 3); // the processor says it is on library 6
            return;
        }
        for (const auto& reply : world.processor->Receive(sent))
            world.port.Receive(reply.bytes, 3);
    });
    world.TakeSent();
    ASSERT_TRUE(world.Download(world.Path("a.lvf"), 5));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Count(world.TakeSent(), path + " ?\r"), 2);
    // The result names the library the processor gave in the retry's query.
    EXPECT_EQ(world.ResultLine(), "Download of library 6 to " + world.Path("a.lvf") + " complete.");

    // A second refusal ends the library; nothing is retried a third time.
    world.SetFaults("refuse " + path + " 2");
    world.TakeSent();
    world.Download(world.Path("b.lvf"), 5);
    EXPECT_EQ(Count(world.TakeSent(), path + " ?\r"), 2);
    EXPECT_EQ(world.ResultLine(), "Download failed - invalid source!");
}

TEST(MenuTransfer, BlockUploadSendsTheGlobalValuesWithTheFirstLibraryOnly) {
    SimWorld world(M02);
    world.Download(world.Path("M.lvf"), 5, 5);
    for (const char* name : {"M 007.lvf", "M 008.lvf", "M 009.lvf"})
        world.folder.Write(name, world.folder.Read("M 005.lvf"));
    const std::string global = world.app.tables.GlobalParmList[0].menuPath + " ";
    world.TakeSent();
    ASSERT_TRUE(world.Upload(world.Path("M 007.lvf"), 7, 9));
    const auto sent = world.TakeSent();
    EXPECT_EQ(Count(sent, "\r" + global), 1);
    EXPECT_LT(sent.find(global), sent.find("3.1 8\r"));
    EXPECT_EQ(world.app.upLoadForm.ProgressBar.maximum, world.app.tables.LibraryParmCount());
}

TEST(MenuTransfer, MissingKeysGoAsZero) {
    SimWorld world(M02);
    world.folder.Write("Bare.lvf", "[SystemSettings]\r\nModelNo=11\r\n");
    world.TakeSent();
    ASSERT_TRUE(world.Upload(world.Path("Bare.lvf"), 4));
    const auto sent = world.TakeSent();
    EXPECT_NE(sent.find("\r" + world.app.tables.GlobalParmList[0].menuPath + " 0\r"),
              std::string::npos);
    EXPECT_TRUE(sent.ends_with(" 0\r3.1 ?\r")) << "the last row, then the library query";
}

TEST(MenuTransfer, AbortDuringTheRetrysLibraryQueryEndsTheTransfer) {
    SimWorld world(M02);
    world.Download(world.Path("warmup.lvf"), 5);
    const std::string path = world.app.tables.LibraryParmList[3].menuPath;
    bool refused = false;
    bool aborted = false;
    world.port.SetPeer([&](const std::string& sent) {
        if (sent == path + " ?\r" && !std::exchange(refused, true)) {
            world.port.Receive("1\r\n", 3); // refused: the retry asks for the library first
            return;
        }
        if (sent == "3.1 ?\r" && refused && !std::exchange(aborted, true))
            world.app.downLoadForm.AbortBtnClick(); // while that query waits
        for (const auto& reply : world.processor->Receive(sent))
            world.port.Receive(reply.bytes, 3);
    });
    world.TakeSent();
    world.Download(world.Path("a.lvf"), 5);
    EXPECT_EQ(Count(world.TakeSent(), path + " ?\r"), 1) << "the refused query is not sent again";
    EXPECT_FALSE(std::filesystem::exists(world.Path("a.lvf")));
    EXPECT_EQ(world.LastLines(2),
              (std::vector<std::string>{"Download aborted by user.", "Current library is 5."}));
}

TEST(MenuTransfer, AbortIsNeverRetried) {
    SimWorld world(M02);
    world.dialogs.onDownload = [&] {
        world.app.downLoadForm.FileName.caption = world.Path("a.lvf");
        world.loop.Schedule(20, [&] { world.app.downLoadForm.AbortBtnClick(); });
        world.app.downLoadForm.OKBtnClick();
    };
    world.app.mainForm.DownBtnClick();
    const auto sent = world.TakeSent();
    EXPECT_EQ(Count(sent, "3.1 ?\r"), 3) << "two at start-up, one before the dialog opened";
    EXPECT_TRUE(sent.ends_with("3.1 5\r")) << "after the transfer: back to the running library";
    EXPECT_EQ(world.LastLines(2),
              (std::vector<std::string>{"Download aborted by user.", "Current library is 5."}));
}

} // namespace
