#include "backup/RunLock.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace setfolio {

#ifndef _WIN32

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

RunLock::RunLock(const std::string& folder)
    : m_path(JoinPath(JoinPath(folder, ".setfolio"), "lock")) {
    const auto own = PathOf(m_path).parent_path();
    std::error_code error;
    std::filesystem::create_directories(own, error);
    // The folder is the backup's business, not its history's: git passes over it and this file.
    const std::string ignore = Utf8Of(own / ".gitignore");
    if (!FileExists(ignore))
        WriteFileAtomically(ignore, "*\n");
    m_descriptor = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_descriptor < 0) {
        m_problem = "cannot open " + m_path + ": " + std::strerror(errno);
        return;
    }
    int locked = 0;
    do
        locked = ::flock(m_descriptor, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (errno != EWOULDBLOCK) {
            m_problem = "cannot lock " + m_path + ": " + std::strerror(errno);
        } else {
            m_outcome = Outcome::Taken;
            char text[32] = {};
            const ssize_t got = ::pread(m_descriptor, text, sizeof text - 1, 0);
            m_holder = Trimmed(std::string(text, got > 0 ? static_cast<std::size_t>(got) : 0));
        }
        ::close(m_descriptor);
        m_descriptor = -1;
        return;
    }
    m_outcome = Outcome::Held;
    // The lock is on this very file, so it is written in place: a replacement would be a file
    // nobody holds. A reader that comes between the two steps finds no number, nothing worse.
    // Should either step fail, the lock holds all the same; only its process is not on record.
    const std::string pid = std::to_string(::getpid()) + "\n";
    [[maybe_unused]] const bool recorded =
        ::ftruncate(m_descriptor, 0) == 0 &&
        ::pwrite(m_descriptor, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

RunLock::~RunLock() {
    if (m_descriptor >= 0)
        ::close(m_descriptor); // the lock goes with it
}

#else

RunLock::RunLock(const std::string& folder)
    : m_path(JoinPath(JoinPath(folder, ".setfolio"), "lock")) {
    // Without a lock of the system's, every run counts as the only one.
    m_outcome = Outcome::Held;
}

RunLock::~RunLock() = default;

#endif

} // namespace setfolio
