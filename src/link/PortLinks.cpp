#include "link/PortLinks.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace setfolio {

namespace fs = std::filesystem;

PortLinks::PortLinks(const std::string& settingsFolder, std::string standardPrefix)
    : m_folder((fs::path(settingsFolder) / "ports").string()),
      m_standardPrefix(std::move(standardPrefix)) {}

std::string PortLinks::EntryPath(int number) const {
    return (fs::path(m_folder) / ("COM" + std::to_string(number))).string();
}

bool PortLinks::HasEntry(int number) const {
    std::error_code error;
    const fs::path entry = EntryPath(number);
    return fs::is_symlink(entry, error) || fs::exists(entry, error);
}

bool PortLinks::EntryIsLink(int number) const {
    std::error_code error;
    return fs::is_symlink(EntryPath(number), error);
}

std::string PortLinks::StandardPath(int number) const {
    return m_standardPrefix + std::to_string(number - 1);
}

std::string PortLinks::DevicePath(int number) const {
    if (!HasEntry(number))
        return StandardPath(number);
    // Whoever locks the device does so under the path it opens; the real device's name keeps
    // other programs that lock the same device out.
    std::error_code error;
    const fs::path real = fs::canonical(EntryPath(number), error);
    return error ? EntryPath(number) : real.string();
}

PortLinks::Reach PortLinks::Reaches(int number) const {
    std::error_code error;
    const fs::path entry = EntryPath(number);
    Reach reach;
    if (fs::is_symlink(entry, error)) {
        reach.kind = Reach::Kind::Link;
        reach.target = fs::read_symlink(entry, error).string();
        reach.missing = !fs::exists(entry, error);
    } else if (fs::exists(entry, error)) {
        reach.kind = Reach::Kind::Link;
        reach.target = entry.string();
    } else if (fs::exists(StandardPath(number), error)) {
        reach.kind = Reach::Kind::Standard;
        reach.target = StandardPath(number);
    }
    return reach;
}

void PortLinks::Link(int number, const std::string& device) const {
    const fs::path entry = EntryPath(number);
    std::error_code error;
    if (!EntryIsLink(number) && fs::exists(entry, error))
        throw std::runtime_error(entry.string() + " is not a link; it is left as it is.");
    fs::create_directories(m_folder, error);
    // Made under a name of its own, then renamed over the entry: the port never lacks one, and
    // a link that cannot be made leaves the old one.
    static std::atomic<unsigned> made{0};
    const fs::path temporary = fs::path(m_folder) / (".COM" + std::to_string(number) + "." +
                                                     std::to_string(std::random_device{}()) + "." +
                                                     std::to_string(made++));
    fs::create_symlink(device, temporary, error);
    if (!error)
        fs::rename(temporary, entry, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw std::runtime_error(error.message());
    }
}

} // namespace setfolio
