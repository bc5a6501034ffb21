#include "backup/RunLock.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace setfolio {

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

// The folder .setfolio with the .gitignore that keeps it out of a repository's history.
void MakeOwnFolder(const std::string& lockPath) {
    const auto own = PathOf(lockPath).parent_path();
    std::error_code error;
    std::filesystem::create_directories(own, error);
    const std::string ignore = Utf8Of(own / ".gitignore");
    if (!FileExists(ignore))
        WriteFileAtomically(ignore, "*\n");
}

} // namespace

#ifndef _WIN32

RunLock::RunLock(const std::string& folder)
    : m_path(JoinPath(JoinPath(folder, ".setfolio"), "lock")) {
    // The folder is the backup's business, not its history's: git passes over it and this file.
    MakeOwnFolder(m_path);
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

// Windows locks byte ranges of a file, and a locked range cannot be read by others: the lock is
// on one byte far past the process number, which stays readable.
RunLock::RunLock(const std::string& folder)
    : m_path(JoinPath(JoinPath(folder, ".setfolio"), "lock")) {
    MakeOwnFolder(m_path);
    const HANDLE file = ::CreateFileW(PathOf(m_path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        m_problem = "cannot open " + m_path + ": system error " + std::to_string(::GetLastError());
        return;
    }
    OVERLAPPED farByte{};
    farByte.OffsetHigh = 1; // 4 GiB in
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &farByte)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
            m_outcome = Outcome::Taken;
            char text[32] = {};
            DWORD got = 0;
            if (::ReadFile(file, text, sizeof text - 1, &got, nullptr))
                m_holder = Trimmed(std::string(text, got));
        } else {
            m_problem = "cannot lock " + m_path + ": system error " + std::to_string(error);
        }
        ::CloseHandle(file);
        return;
    }
    m_handle = file;
    m_outcome = Outcome::Held;
    // Written in place, as on POSIX: the lock is on this very file.
    const std::string pid = std::to_string(::GetCurrentProcessId()) + "\n";
    DWORD written = 0;
    [[maybe_unused]] const bool recorded =
        ::SetEndOfFile(file) &&
        ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
}

RunLock::~RunLock() {
    if (m_handle)
        ::CloseHandle(m_handle); // the lock goes with it
}

#endif

} // namespace setfolio
