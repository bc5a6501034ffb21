#include "SimWorld.h"
#include "core/ProfileFile.h"
#include "library/LibraryDecoder.h"
#include "tables/Assembly.h"
#include "transfer/UploadedValues.h"

#include "PosixOnly.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace setfolio;
using setfolio::testing::SimWorld;

namespace {

// A processor that accepts every command it is sent, and counts them.
void AcceptEverything(SimWorld& world) {
    world.port.SetPeer([&world](const std::string& sent) {
        if (sent == "701\r")
            world.port.Receive("701 005\r", 3);
        else
            world.port.Receive(sent.substr(0, 3) + " Y  \r", 3);
    });
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(UploadCoded, RoundTripMakesTwoLibrariesEqual) {
    SimWorld world;
    const auto path = world.Path("Line.lvf");
    ASSERT_TRUE(world.Download(path, 5));
    EXPECT_TRUE(world.Upload(path, 9));
    EXPECT_EQ(world.ResultLine(), "Upload of " + path + " to library 9 complete.");
    EXPECT_EQ(world.processor->libraries.at(9).parameters,
              world.processor->libraries.at(5).parameters);
    EXPECT_EQ(world.app.upLoadForm.ModelNumber.caption, "???") << "closing forgets the file";
}

TEST(UploadCoded, MissingKeysGoAsDefaults) {
    SimWorld world;
    AcceptEverything(world);
    world.folder.Write("Bare.lvf", "[SystemSettings]\r\nModelNo=0\r\n");
    world.TakeSent();
    EXPECT_TRUE(world.Upload(world.Path("Bare.lvf"), 7));
    const auto sent = world.TakeSent();
    const auto& tables = world.app.tables;
    EXPECT_NE(sent.find("700 007\r2" + tables.MnemonicList[0].code + " 00\r"), std::string::npos);
    EXPECT_NE(sent.find("2" + tables.CondMnemonicList[0].code + " 00\r"), std::string::npos);
    EXPECT_NE(sent.find("1" + tables.NumericList[0].code + " 0\r"), std::string::npos);
    // The last row, then the query that reports the processor's library afterwards.
    EXPECT_TRUE(sent.ends_with("6" + tables.HeaderList[0].code2 + "\r701\r"));
    EXPECT_EQ(world.app.upLoadForm.ProgressBar.value, 401);
}

TEST(UploadCoded, TheFilesModelDecidesTheRows) {
    SimWorld world; // C-12 is current
    AcceptEverything(world);
    world.folder.Write("C10.lvf", "[SystemSettings]\r\nModelNo=8\r\n");
    world.TakeSent();
    world.dialogs.onUpload = [&] {
        world.dialogs.fileToOpen = world.Path("C10.lvf");
        world.app.upLoadForm.FileBtnClick();
        EXPECT_EQ(world.app.upLoadForm.ModelNumber.caption, "C-10");
        world.app.upLoadForm.OKBtnClick();
    };
    world.app.mainForm.UpBtnClick();
    const auto sent = world.TakeSent();
    const int c10Rows = 185 + 91 + 134 + 1;
    EXPECT_EQ(Count(sent, "\r"), 1 + 1 + c10Rows + 1) << "query, select, one set per row, query";
    EXPECT_EQ(world.app.settings.Read(keys::UpLoadFile), world.Path("C10.lvf"));
}

TEST(UploadCoded, FilesWithoutAModelOrOfAnotherFamilyAreRefusedBeforeAnythingIsSent) {
    struct Case {
        std::string content;
        std::string why;
    };
    const Case cases[] = {
        {"[MnemonicParms]\r\nMeasUnits=01\r\n", "has no model number."},
        {"[SystemSettings]\r\nModelNo=banana\r\n", "has no model number."},
        {"[SystemSettings]\r\nModelNo=16\r\n[LibraryParms]\r\nA=1\r\n",
         "holds a library of model M-12, the processor is a C-12."},
        {"[SystemSettings]\r\nModelNo=5\r\n",
         "holds a library of model B-01, the processor is a C-12."},
    };
    for (const auto& c : cases) {
        SimWorld world;
        world.folder.Write("F.lvf", c.content);
        world.TakeSent();
        const auto lines = world.Lines().size();
        EXPECT_TRUE(world.Upload(world.Path("F.lvf"), 3)) << c.why;
        EXPECT_EQ(world.TakeSent(), "701\r") << "only the dialog's query: " << c.why;
        EXPECT_EQ(world.Lines().size(), lines + 1);
        EXPECT_EQ(world.Lines().back(), "Upload failed - " + world.Path("F.lvf") + " " + c.why);
        EXPECT_EQ(world.app.exchange.replyStatus(), ReplyStatus::FileError);
    }
}

TEST(UploadCoded, AChosenFilesModelIsShownEvenWhenItsFolderCannotBeStored) {
    SETFOLIO_POSIX_ONLY("a file name with a line break in it, which Windows refuses");
    SimWorld world;
    auto& form = world.app.upLoadForm;
    world.folder.Write("First.lvf", "[SystemSettings]\r\nModelNo=0\r\n");
    world.dialogs.fileToOpen = world.Path("First.lvf");
    form.FileBtnClick();
    EXPECT_EQ(form.ModelNumber.caption, "C-12");
    // A name the settings file cannot hold on one line: storing the folder fails.
    world.folder.Write("Line\nTwo.lvf", "[SystemSettings]\r\nModelNo=8\r\n");
    world.dialogs.fileToOpen = world.Path("Line\nTwo.lvf");
    EXPECT_THROW(form.FileBtnClick(), WriteError);
    EXPECT_EQ(form.state.fileModelType, 8);
    EXPECT_EQ(form.ModelNumber.caption, "C-10");
}

TEST(UploadCoded, ConversionEntryReadsEveryFileAsItsOwnType) {
    SimWorld world(46);
    world.folder.Write("C17.lvf", "[SystemSettings]\r\nModelNo=43\r\n");
    world.dialogs.onUpload = [&] {
        world.dialogs.fileToOpen = world.Path("C17.lvf");
        world.app.upLoadForm.FileBtnClick();
    };
    world.app.mainForm.UpBtnClick();
    EXPECT_EQ(world.app.upLoadForm.state.fileModelType, 46);
    EXPECT_EQ(world.app.upLoadForm.ModelNumber.caption, "Upload C-17 to C-31");
}

TEST(UploadCoded, BlockCountsFileNumbersFromTheChosenFile) {
    SimWorld world;
    for (const char* name : {"L 005.lvf", "L 006.lvf", "L 007.lvf"})
        world.folder.Write(name, "[SystemSettings]\r\nModelNo=0\r\n");
    world.TakeSent();
    EXPECT_TRUE(world.Upload(world.Path("L 005.lvf"), 10, 12));
    EXPECT_EQ(Count(world.TakeSent(), "700 "), 3);
    EXPECT_EQ(world.LastLines(4),
              (std::vector<std::string>{
                  "Upload of " + world.Path("L 005.lvf") + " to library 10 complete.",
                  "Upload of " + world.Path("L 006.lvf") + " to library 11 complete.",
                  "Upload of " + world.Path("L 007.lvf") + " to library 12 complete.",
                  "Current library is 12."}));

    // A gap in the series ends the block there.
    std::filesystem::remove(world.Path("L 006.lvf"));
    world.Upload(world.Path("L 005.lvf"), 10, 12);
    EXPECT_EQ(world.ResultLine(),
              "Upload failed - " + world.Path("L 006.lvf") + " does not exist!");
}

TEST(UploadCoded, RefusalsBeforeAnythingIsSent) {
    struct Case {
        std::string file;
        bool block;
        std::string message;
    };
    const Case cases[] = {
        {"*.lvf", false, "error:Select file to load."},
        {"/x/Line.lvf", true, "error:Invalid filename for block upload."},
    };
    for (const auto& c : cases) {
        SimWorld world;
        world.TakeSent();
        world.prompts.shown.clear();
        bool closed = true;
        world.dialogs.onUpload = [&] {
            auto& form = world.app.upLoadForm;
            form.FileName.caption = c.file;
            form.ToLibCB.checked = c.block;
            closed = form.OKBtnClick();
        };
        world.app.mainForm.UpBtnClick();
        EXPECT_FALSE(closed);
        EXPECT_EQ(world.TakeSent(), "701\r");
        EXPECT_EQ(world.prompts.shown, (std::vector<std::string>{"beep:warning", c.message}));
    }
}

TEST(UploadCoded, TransactionErrorNamesTheParameterAndWhatItLeftBehind) {
    for (const int refused : {0, 1}) {
        SimWorld world;
        const auto path = world.Path("Line.lvf");
        ASSERT_TRUE(world.Download(path, 5));
        const auto& row = world.app.tables.MnemonicList[refused];
        world.SetFaults("refuse 2" + row.code + " N00");
        world.Upload(path, 9);
        std::vector<std::string> expected{"Upload failed - transaction error!  ..." + row.name};
        // Once a value went in, library 9 holds some of the file's values and some of its own.
        if (refused > 0)
            expected.push_back("Library 9 is only partly written.");
        expected.push_back("Current library is 9.");
        EXPECT_EQ(world.LastLines(expected.size()), expected) << refused;
    }
}

TEST(UploadCoded, PacingAndTheHeaderBlankFollowTheCurrentModel) {
    for (const std::int32_t current : {17, 23, 0}) {
        SimWorld world(current);
        AcceptEverything(world);
        ParameterTables c12;
        CurrentModel asC12(world.app.settings);
        asC12.Use(0);
        AssembleParameterTables(c12, asC12, 0);
        world.folder.Write("C12.lvf", "[SystemSettings]\r\nModelNo=0\r\n[HeaderParms]\r\n" +
                                          c12.HeaderList[0].name + "=LINE 4\r\n");
        world.TakeSent();
        const auto start = world.loop.Now();
        world.Upload(world.Path("C12.lvf"), 2);
        const auto elapsed = world.loop.Now() - start;
        const auto sent = world.TakeSent();
        const auto& header = world.app.tables.HeaderList[0];
        const bool paced = current != 0;
        EXPECT_EQ(sent.ends_with("6" + header.code2 + (paced ? " " : "") + "LINE 4\r701\r"), true)
            << current << ": " << sent.substr(sent.size() - 20);
        if (paced)
            EXPECT_GE(elapsed, 401 * 200) << current;
        else
            EXPECT_LT(elapsed, 401 * 20) << current;
    }
}

TEST(UploadCoded, ConnectionLostIsAFailureOfItsOwnKind) {
    SimWorld world;
    const auto path = world.Path("Line.lvf");
    ASSERT_TRUE(world.Download(path, 5));
    world.port.SetPeer([&](const std::string& sent) {
        if (sent.starts_with("2")) {
            // The device goes away under the upload.
            world.port.FailNextOpen(PortErrorKind::DoesNotExist);
            world.port.Close();
        }
        for (const auto& reply : world.processor->Receive(sent))
            world.port.Receive(reply.bytes, 3);
    });
    world.Upload(path, 9);
    EXPECT_EQ(world.app.upLoadForm.Running(), false);
    EXPECT_EQ(world.ResultLine(), "Upload failed - no connection!");
}

} // namespace

TEST(UploadCoded, ValuesThatCannotGoAsCommandsRefuseTheWholeRunBeforeTheSelect) {
    const ParameterTables tables = TablesOf(0);
    const auto& choice = tables.MnemonicList[0].name;
    const auto& conditional = tables.CondMnemonicList[0].name;
    const auto& numeric = tables.NumericList[0].name;
    const auto& header = tables.HeaderList[0].name;
    const std::string good = "[SystemSettings]\r\nModelNo=0\r\n[MnemonicParms]\r\n" + choice +
                             "=057\r\n"; // more choices than the tables know: sent all the same
    const std::string bad = "[SystemSettings]\r\nModelNo=0\r\n[MnemonicParms]\r\n" + choice +
                            "=1a\r\n[CondMnemonicParms]\r\n" + conditional + "=1234\r\n" +
                            "[NumericParms]\r\n" + numeric + "=1\r2\r\n[HeaderParms]\r\n" + header +
                            "=" + std::string(2048, 'x') + "\r\n";
    const std::string why = " holds values that cannot be sent; nothing was sent: MnemonicParms/" +
                            choice + " is not a number of one to three digits; CondMnemonicParms/" +
                            conditional + " is not a number of one to three digits; NumericParms/" +
                            numeric + " holds a control byte or a line break; HeaderParms/" +
                            header + " is longer than 2047 bytes.";

    SimWorld world;
    AcceptEverything(world);
    world.folder.Write("L 003.lvf", good);
    world.folder.Write("L 004.lvf", bad);
    world.TakeSent();
    // The block's second file holds them: not even its first library is written.
    EXPECT_TRUE(world.Upload(world.Path("L 003.lvf"), 7, 8));
    EXPECT_EQ(world.TakeSent(), "701\r") << "only the dialog's query";
    EXPECT_EQ(world.ResultLine(), "Upload failed - " + world.Path("L 004.lvf") + why);
    EXPECT_EQ(world.app.exchange.replyStatus(), ReplyStatus::FileError);

    world.Upload(world.Path("L 004.lvf"), 7);
    EXPECT_EQ(world.TakeSent(), "701\r");

    EXPECT_TRUE(world.Upload(world.Path("L 003.lvf"), 7));
    EXPECT_NE(world.TakeSent().find("700 007\r2" + tables.MnemonicList[0].code + " 057\r"),
              std::string::npos);
    EXPECT_EQ(world.LastLines(2)[0],
              "Upload of " + world.Path("L 003.lvf") + " to library 7 complete.");
}

TEST(UploadedValues, WhatCannotBeSentInEveryFamily) {
    using Why = UnsendableValue::Why;
    const std::string menuRow = TablesOf(16).LibraryParmList[0].name;
    const std::string globalRow = TablesOf(16).GlobalParmList[0].name;
    const std::string menu = "[SystemSettings]\r\nModelNo=16\r\n[LibraryParms]\r\n" + menuRow +
                             "=A\x01"
                             "B\r\n[GlobalParms]\r\n" +
                             globalRow + "=\x7f\r\n";
    EXPECT_EQ(UnsendableValues(menu, 16, ModelFamily::MenuFamily, true, false),
              (std::vector<UnsendableValue>{{"LibraryParms", menuRow, Why::ControlByte},
                                            {"GlobalParms", globalRow, Why::ControlByte}}));
    EXPECT_EQ(UnsendableValues(menu, 16, ModelFamily::MenuFamily, false, false).size(), 1u)
        << "the global values go with the first library only";
    // A dump: every line up to its count, the calibration section only when it goes too. A tab
    // is text; a word of any length is no choice here.
    const std::string bench = "[SystemSettings]\r\nModelNo=5\r\n[Common]\r\nLines=1\r\n1=a\rb\r\n"
                              "[User]\r\nLines=3\r\n1=BYTES 40\r\n2=x\ty\r\n3=" +
                              std::string(3000, 'z') + "\r\n4=\x15\r\n";
    EXPECT_EQ(UnsendableValues(bench, 5, ModelFamily::BenchFamily, true, false),
              (std::vector<UnsendableValue>{{"User", "3", Why::TooLong}}));
    EXPECT_EQ(UnsendableValues(bench, 5, ModelFamily::BenchFamily, true, true).size(), 2u);
}
