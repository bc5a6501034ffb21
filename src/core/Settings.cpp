#include "core/Settings.h"

namespace setfolio {

namespace {

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty())
        return "./";
    if (folder.back() != '/')
        folder.push_back('/');
    return folder;
}

} // namespace

Settings::Settings(std::string programFolder)
    : m_file(WithTrailingSeparator(std::move(programFolder)) + std::string(FileName)) {}

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
    m_file.WriteInteger(section, key, value);
}

void Settings::WriteSettingText(std::string_view section, std::string_view key,
                                std::string_view value) const {
    m_file.WriteText(section, key, value);
}

} // namespace setfolio
