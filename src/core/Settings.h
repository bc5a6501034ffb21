#pragma once

#include "core/ProfileFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace setfolio {

// A key of the settings file with the value a read gives when the key is not there.
struct IntegerSetting {
    std::string_view section;
    std::string_view key;
    std::int32_t defaultValue;
};

struct TextSetting {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

// Every key the program keeps in its settings file.
namespace keys {
inline constexpr IntegerSetting ModelNo{"SystemSettings", "ModelNo", 0};
inline constexpr IntegerSetting Language{"LanguageSetting", "Language", 0};
inline constexpr IntegerSetting ConnectionType{"CommSettings", "Type", 0};
inline constexpr IntegerSetting IpAddressIndex{"Ethernet", "IpAddressIndex", -1};
inline constexpr IntegerSetting ComPort{"ComPortSettings", "ComPort", 32};
inline constexpr IntegerSetting BaudRate{"ComPortSettings", "BaudRate", 3};
inline constexpr IntegerSetting Parity{"ComPortSettings", "Parity", 0};
inline constexpr IntegerSetting DataBits{"ComPortSettings", "DataBits", 1};
inline constexpr IntegerSetting StopBits{"ComPortSettings", "StopBits", 1};
inline constexpr TextSetting DownLoadFile{"DirectorySettings", "DownLoad", "C:\\Setfolio"};
inline constexpr TextSetting UpLoadFile{"DirectorySettings", "UpLoad", "C:\\Setfolio"};
// The main window's place and size, "x,y,width,height,maximized"; a section of its own.
inline constexpr TextSetting MainWindowPlacement{"SetfolioWindowPlacement", "MainWindow", ""};
// The file the link was last traced to (the trace itself is off at every start).
inline constexpr TextSetting TraceFile{"SetfolioTraceFile", "MainWindow", ""};
// The inventory the plant window opened last; beside it, one key per inventory names its backup
// folder (PlantFolderKey in forms/PlantForm.h).
inline constexpr TextSetting PlantInventory{"SetfolioPlant", "Inventory", ""};
} // namespace keys

// Where the program keeps Setfolio.ini, IpAddressList.txt and ports/.
struct SettingsFolder {
    std::string path;
    bool portable = false; // beside the program
};

// Beside the program when a Setfolio.ini is there (a portable installation, or a build folder),
// else the user's own folder (the program's folder too when there is none).
SettingsFolder ChooseSettingsFolder(const std::string& programFolder,
                                    const std::string& userFolder);

// "Setfolio.ini" in the settings folder. The folder is handed in by whoever builds the program
// (see ChooseSettingsFolder; a temporary folder in tests), so the file never depends on the
// working directory. There is no in-memory copy: every read goes to the file and every write
// reaches it before the call returns; the first write makes the folder when it is missing.
class Settings {
public:
    static constexpr std::string_view FileName = "Setfolio.ini";

    explicit Settings(std::string folder);

    const std::string& SettingsFilePath() const { return m_file.Path(); }
    bool SettingsFileExists() const { return m_file.Exists(); }

    std::int32_t ReadSettingInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const;
    std::string ReadSettingText(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const;
    // Throw WriteError ("Unable to write to " + the file's full name); nothing is stored then.
    void WriteSettingInteger(std::string_view section, std::string_view key,
                             std::int32_t value) const;
    void WriteSettingText(std::string_view section, std::string_view key,
                          std::string_view value) const;

    std::int32_t Read(const IntegerSetting& setting) const {
        return ReadSettingInteger(setting.section, setting.key, setting.defaultValue);
    }
    std::string Read(const TextSetting& setting) const {
        return ReadSettingText(setting.section, setting.key, setting.defaultValue);
    }
    void Write(const IntegerSetting& setting, std::int32_t value) const {
        WriteSettingInteger(setting.section, setting.key, value);
    }
    void Write(const TextSetting& setting, std::string_view value) const {
        WriteSettingText(setting.section, setting.key, value);
    }

private:
    ProfileFile m_file;
};

} // namespace setfolio
