#include "core/Settings.h"

#include "core/AtomicFile.h"

namespace setfolio {

namespace {

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty())
        return "./";
    if (folder.back() != '/')
        folder.push_back('/');
    return folder;
}

std::string FolderOf(const std::string& file) {
    return file.substr(0, file.find_last_of('/'));
}

} // namespace

SettingsFolder ChooseSettingsFolder(const std::string& programFolder,
                                    const std::string& userFolder) {
    if (userFolder.empty() ||
        FileExists(WithTrailingSeparator(programFolder) + std::string(Settings::FileName)))
        return {programFolder, true};
    return {userFolder, false};
}

Settings::Settings(std::string folder)
    : m_file(WithTrailingSeparator(std::move(folder)) + std::string(FileName)) {}

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
