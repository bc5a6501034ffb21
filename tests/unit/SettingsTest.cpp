#include "core/Settings.h"
#include "core/CurrentModel.h"
#include "link/IpAddressList.h"

#include "core/Utf8Path.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace setfolio;
using setfolio::testing::TempFolder;

namespace {

TEST(Settings, LivesInTheProgramFolderWhateverTheWorkingDirectory) {
    TempFolder folder;
    EXPECT_EQ(Settings(folder.Path()).SettingsFilePath(), folder.File("Setfolio.ini"));
    EXPECT_EQ(Settings(folder.Path() + "/").SettingsFilePath(), folder.Path() + "/Setfolio.ini");

    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path("/");
    Settings(folder.Path()).Write(keys::ModelNo, 16);
    std::filesystem::current_path(saved);
    EXPECT_TRUE(std::filesystem::exists(folder.File("Setfolio.ini")));
}

TEST(Settings, FolderIsBesideTheProgramOnlyWhenItsSettingsFileIsThere) {
    TempFolder program;
    const std::string user = program.File("home/.config/Setfolio");
    EXPECT_EQ(ChooseSettingsFolder(program.Path(), user).path, user);
    EXPECT_FALSE(ChooseSettingsFolder(program.Path(), user).portable);
    EXPECT_TRUE(ChooseSettingsFolder(program.Path(), "").portable) << "no user folder known";
    program.Write("IpAddressList.txt", "10.0.0.1\r\n"); // only Setfolio.ini counts
    EXPECT_EQ(ChooseSettingsFolder(program.Path(), user).path, user);
    program.Write("Setfolio.ini", "");
    EXPECT_EQ(ChooseSettingsFolder(program.Path(), user).path, program.Path());
    EXPECT_TRUE(ChooseSettingsFolder(program.Path(), user).portable);
}

TEST(Settings, FirstWriteMakesTheMissingFolderForItsOwnerOnly) {
    namespace fs = std::filesystem;
    TempFolder home;
    const std::string folder = home.File(".config/Setfolio");
    const Settings settings(folder);
    EXPECT_EQ(settings.Read(keys::Language), 0);
    EXPECT_FALSE(fs::exists(folder)) << "reading must not make the folder";
    settings.Write(keys::Language, 2);
    EXPECT_EQ(Settings(folder).Read(keys::Language), 2);
#ifndef _WIN32 // owner-only is a POSIX mode; on Windows the folder's inherited access rules stand
    for (const auto& made : {home.File(".config"), folder})
        EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
#endif

    // The IP address list makes it as well when it comes first.
    const std::string other = home.File("other/Setfolio");
    IpAddressListFile(other).Write({"127.0.0.1:2323 - Sim"});
    EXPECT_EQ(IpAddressListFile(other).Read(), std::vector<std::string>{"127.0.0.1:2323 - Sim"});
}

// Names are UTF-8 throughout the program; the system must see the very same name (Windows
// would read a narrow name in its ANSI code page and make another folder).
TEST(Settings, AFolderNamedOutsideAsciiIsTheFolderOfThatName) {
    namespace fs = std::filesystem;
    TempFolder home;
    const std::string name = "M\u00fcller \u00c5ngstr\u00f6m \u6e2c";
    const std::string folder = home.File(name);
    Settings(folder).Write(keys::Language, 2);
    IpAddressListFile(folder).Write({"10.0.0.1 - Halle \u00c4"});
    EXPECT_EQ(Settings(folder).Read(keys::Language), 2);
    EXPECT_EQ(IpAddressListFile(folder).Read(),
              std::vector<std::string>{"10.0.0.1 - Halle \u00c4"});
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(PathOf(home.Path())))
        names.push_back(Utf8Of(entry.path().filename()));
    EXPECT_EQ(names, std::vector<std::string>{name});
    // The name as the system's own wide-character form of it has it.
    EXPECT_TRUE(fs::exists(PathOf(home.Path()) /
                           fs::path(u8"M\u00fcller \u00c5ngstr\u00f6m \u6e2c") / "Setfolio.ini"));
}

TEST(Settings, EveryKeyHasItsDefaultWithoutAFile) {
    TempFolder folder;
    const Settings settings(folder.Path());
    EXPECT_FALSE(settings.SettingsFileExists());
    EXPECT_EQ(settings.Read(keys::ModelNo), 0);
    EXPECT_EQ(settings.Read(keys::Language), 0);
    EXPECT_EQ(settings.Read(keys::ConnectionType), 0);
    EXPECT_EQ(settings.Read(keys::IpAddressIndex), -1);
    EXPECT_EQ(settings.Read(keys::ComPort), 32);
    EXPECT_EQ(settings.Read(keys::BaudRate), 3);
    EXPECT_EQ(settings.Read(keys::Parity), 0);
    EXPECT_EQ(settings.Read(keys::DataBits), 1);
    EXPECT_EQ(settings.Read(keys::StopBits), 1);
    EXPECT_EQ(settings.Read(keys::DownLoadFile), "C:\\Setfolio");
    EXPECT_EQ(settings.Read(keys::UpLoadFile), "C:\\Setfolio");
    EXPECT_FALSE(settings.SettingsFileExists()) << "reading must not create the file";
}

TEST(Settings, ReadsStoredValuesLikeTheProfileApi) {
    TempFolder folder;
    const Settings settings(folder.Path());
    const std::pair<const char*, std::int32_t> cases[] = {
        {"[SystemSettings]\r\nModelNo=0x2A\r\n", 42}, {"[SystemSettings]\r\nModelNo=abc\r\n", 0},
        {"[systemsettings]\r\nmodelno=16\r\n", 16},   {"[SystemSettings]\r\nModelNo = 34 \r\n", 34},
        {"[SystemSettings]\r\nModelNo=$1F\r\n", 31},
    };
    for (const auto& [content, expected] : cases) {
        folder.Write("Setfolio.ini", content);
        EXPECT_EQ(settings.Read(keys::ModelNo), expected) << content;
    }
}

TEST(Settings, UnwritableFileRaisesTheUsersMessageAndStoresNothing) {
    TempFolder folder;
    const std::string programFolder = folder.File("gone");
    folder.Write("gone", ""); // a file where the folder should be: it cannot be made
    const Settings settings(programFolder);
    try {
        settings.Write(keys::ModelNo, 12);
        FAIL() << "write succeeded";
    } catch (const WriteError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to write to " + JoinPath(programFolder, "Setfolio.ini"));
    }
    EXPECT_EQ(settings.Read(keys::ModelNo), 0);
}

TEST(CurrentModel, LoadsTheStoredModelAsItIs) {
    TempFolder folder;
    const Settings settings(folder.Path());
    CurrentModel model(settings);

    model.LoadCurrentModel(); // no file: C-12
    EXPECT_EQ(model.ModelType(), 0);
    EXPECT_EQ(model.ListLine(), 11);
    EXPECT_EQ(model.Family(), ModelFamily::CodedFamily);

    settings.Write(keys::ModelNo, 34); // M-10: menu family, on no line of the list
    model.LoadCurrentModel();
    EXPECT_EQ(model.Family(), ModelFamily::MenuFamily);
    EXPECT_EQ(model.ListLine(), -1);

    for (const std::int32_t undefined : {47, -1}) {
        settings.Write(keys::ModelNo, undefined);
        model.LoadCurrentModel();
        EXPECT_EQ(model.ModelType(), undefined);
        EXPECT_EQ(model.Family(), ModelFamily::NoFamily);
        EXPECT_FALSE(model.SlowLibrarySwitch());
        EXPECT_EQ(model.ListLine(), -1);
    }
}

TEST(CurrentModel, SelectionIsStoredAtOnceAndFlagsFollow) {
    TempFolder folder;
    const Settings settings(folder.Path());
    CurrentModel model(settings);
    model.LoadCurrentModel();

    model.SelectModel(42);
    EXPECT_EQ(model.ModelType(), 42);
    EXPECT_EQ(settings.Read(keys::ModelNo), 42);
    EXPECT_EQ(model.Family(), ModelFamily::MenuFamily);

    model.SelectModel(45);
    EXPECT_EQ(model.ModelType(), 40);
    EXPECT_EQ(settings.Read(keys::ModelNo), 40);

    model.SelectModel(18); // C-19 switches libraries slowly
    EXPECT_TRUE(model.SlowLibrarySwitch());
    model.SelectModel(11); // C-12 does not
    EXPECT_FALSE(model.SlowLibrarySwitch());
    model.SelectModel(19);
    EXPECT_TRUE(model.SlowLibrarySwitch());

    // The next start shows the chosen model without any other action.
    CurrentModel nextStart(settings);
    nextStart.LoadCurrentModel();
    EXPECT_EQ(nextStart.ModelType(), 7);
    EXPECT_EQ(nextStart.ListLine(), 19);
}

TEST(CurrentModel, FailedStoreLeavesTheModelAsItWas) {
    TempFolder folder;
    folder.Write("gone", ""); // a file where the folder should be
    const Settings settings(folder.File("gone"));
    CurrentModel model(settings);
    model.LoadCurrentModel();
    EXPECT_THROW(model.SelectModel(18), WriteError);
    EXPECT_EQ(model.ModelType(), 0);
    EXPECT_EQ(model.Family(), ModelFamily::CodedFamily);
    EXPECT_FALSE(model.SlowLibrarySwitch());
}

} // namespace
