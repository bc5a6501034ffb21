#pragma once

#include "core/Utf8Path.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

namespace setfolio::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    // Made by this process alone (a name another one has is tried again) and, on POSIX, for its
    // owner only.
    TempFolder() {
        namespace fs = std::filesystem;
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = fs::temp_directory_path() /
                                       ("setfolio-test-" + std::to_string(random() % 100000000u));
            if (!fs::create_directory(candidate))
                continue;
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace);
            m_path = setfolio::Utf8Of(candidate);
            return;
        }
        throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(setfolio::PathOf(m_path), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return setfolio::JoinPath(m_path, name); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(setfolio::PathOf(File(name)), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(setfolio::PathOf(File(name)), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    // Names of the entries in the folder, for checking that nothing was left behind.
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(setfolio::PathOf(m_path)))
            ++count;
        return count;
    }

private:
    std::string m_path;
};

} // namespace setfolio::testing
