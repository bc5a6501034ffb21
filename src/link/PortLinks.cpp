#include "link/PortLinks.h"

#include "core/Utf8Path.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace setfolio {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr bool SystemNamesThePorts = true;
#else
constexpr bool SystemNamesThePorts = false;
#endif

} // namespace

bool PortLinks::MakesLinks() {
    return !SystemNamesThePorts;
}

PortLinks::PortLinks(const std::string& settingsFolder, std::string standardPrefix)
    : m_folder(JoinPath(settingsFolder, "ports")), m_standardPrefix(std::move(standardPrefix)) {}

std::string PortLinks::EntryPath(int number) const {
    return JoinPath(m_folder, "COM" + std::to_string(number));
}

bool PortLinks::HasEntry(int number) const {
    if (SystemNamesThePorts)
        return false;
    std::error_code error;
    const fs::path entry = PathOf(EntryPath(number));
    return fs::is_symlink(entry, error) || fs::exists(entry, error);
}

bool PortLinks::EntryIsLink(int number) const {
    std::error_code error;
    return !SystemNamesThePorts && fs::is_symlink(PathOf(EntryPath(number)), error);
}

std::string PortLinks::StandardPath(int number) const {
    if (SystemNamesThePorts)
        return "COM" + std::to_string(number);
    return m_standardPrefix + std::to_string(number - 1);
}

std::string PortLinks::DevicePath(int number) const {
    if (!HasEntry(number))
        return StandardPath(number);
    // Whoever locks the device does so under the path it opens; the real device's name keeps
    // other programs that lock the same device out.
    std::error_code error;
    const fs::path real = fs::canonical(PathOf(EntryPath(number)), error);
    return error ? EntryPath(number) : Utf8Of(real);
}

PortLinks::Reach PortLinks::Reaches(int number) const {
    Reach reach;
    // Whether the port is there is the system's to say when it is opened.
    if (SystemNamesThePorts)
        return {Reach::Kind::Standard, StandardPath(number), false};
    std::error_code error;
    const fs::path entry = PathOf(EntryPath(number));
    if (fs::is_symlink(entry, error)) {
        reach.kind = Reach::Kind::Link;
        reach.target = Utf8Of(fs::read_symlink(entry, error));
        reach.missing = !fs::exists(entry, error);
    } else if (fs::exists(entry, error)) {
        reach.kind = Reach::Kind::Link;
        reach.target = Utf8Of(entry);
    } else if (fs::exists(PathOf(StandardPath(number)), error)) {
        reach.kind = Reach::Kind::Standard;
        reach.target = StandardPath(number);
    }
    return reach;
}

void PortLinks::Link(int number, const std::string& device) const {
    if (!MakesLinks())
        throw std::runtime_error("COM" + std::to_string(number) +
                                 " is the system's own name for the port; it needs no link.");
    const fs::path entry = PathOf(EntryPath(number));
    std::error_code error;
    if (!EntryIsLink(number) && fs::exists(entry, error))
        throw std::runtime_error(EntryPath(number) + " is not a link; it is left as it is.");
    fs::create_directories(PathOf(m_folder), error);
    // Made under a name of its own, then renamed over the entry: the port never lacks one, and
    // a link that cannot be made leaves the old one.
    static std::atomic<unsigned> made{0};
    const fs::path temporary =
        PathOf(m_folder) / (".COM" + std::to_string(number) + "." +
                            std::to_string(std::random_device{}()) + "." + std::to_string(made++));
    fs::create_symlink(PathOf(device), temporary, error);
    if (!error)
        fs::rename(temporary, entry, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw std::runtime_error(error.message());
    }
}

} // namespace setfolio
