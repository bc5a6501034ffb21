#pragma once

#include <string>

namespace setfolio {

// The ports/ folder of the settings folder: COMn is the device its entry `COMn` leads to (a
// symbolic link), and /dev/ttyS<n-1> when there is no such entry. On Windows COMn is the
// system's own name for the port: there are no entries, and every port reaches "COMn".
class PortLinks {
public:
    // Whether ports are reached through links of ours (POSIX) rather than by the system's own
    // names (Windows), i.e. whether Link() can be used.
    static bool MakesLinks();

    // `standardPrefix` is what the number minus one is appended to for a port without an entry.
    explicit PortLinks(const std::string& settingsFolder, std::string standardPrefix = "/dev/ttyS");

    std::string EntryPath(int number) const;
    // Whether ports/COMn exists; a dangling link counts, since it still names the port.
    bool HasEntry(int number) const;
    // Whether ports/COMn is a symbolic link, dangling or not.
    bool EntryIsLink(int number) const;
    // The device port `number` opens: the entry's real device (the entry itself when the link
    // dangles), else the standard device.
    std::string DevicePath(int number) const;
    std::string StandardPath(int number) const;

    // What port `number` reaches, as the user is shown it.
    struct Reach {
        enum class Kind { Link, Standard, None } kind = Kind::None;
        std::string target;   // where the link leads, as written, or the standard device
        bool missing = false; // a link whose device is not there (an adapter unplugged)
    };
    Reach Reaches(int number) const;

    // Makes ports/COMn lead to `device`, replacing a link that is there in one step, so that the
    // port always has an entry. Throws std::runtime_error (saying why), changing nothing, when
    // the entry is something other than a link or the folder cannot be written, and where
    // MakesLinks() is false.
    void Link(int number, const std::string& device) const;

private:
    std::string m_folder;
    std::string m_standardPrefix;
};

} // namespace setfolio
