#include "core/Settings.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

namespace setfolio {

namespace {

// The settings file in `folder`; a bare name for an empty folder would depend on nothing
// else, so the current folder is spelled out.
std::string FileIn(const std::string& folder) {
    return JoinPath(folder.empty() ? std::string(".") : folder, Settings::FileName);
}

} // namespace

SettingsFolder ChooseSettingsFolder(const std::string& programFolder,
                                    const std::string& userFolder) {
    if (userFolder.empty() || FileExists(FileIn(programFolder)))
        return {programFolder, true};
    return {userFolder, false};
}

Settings::Settings(std::string folder) : m_file(FileIn(folder)) {}

std::int32_t Settings::ReadSettingInteger(std::string_view section, std::string_view key,
                                          std::int32_t defaultValue) const {
    return m_file.ReadInteger(section, key, defaultValue);
}

std::string Settings::ReadSettingText(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    return m_file.ReadText(section, key, defaultValue);
}

void Settings::WriteSettingInteger(std::string_view section, std::string_view key,
                                   std::int32_t value) const {
    MakeFolders(FolderOf(m_file.Path()));
    m_file.WriteInteger(section, key, value);
}

void Settings::WriteSettingText(std::string_view section, std::string_view key,
                                std::string_view value) const {
    MakeFolders(FolderOf(m_file.Path()));
    m_file.WriteText(section, key, value);
}

} // namespace setfolio
