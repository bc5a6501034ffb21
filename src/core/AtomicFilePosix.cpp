#include "core/AtomicFile.h"

#include "core/ScopeExit.h"
#include "core/Utf8Path.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace setfolio {

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadFileContent(path).bytes;
}

FileContent ReadFileContent(const std::string& path) {
    // The system's reason, in the lower case of the middle of a sentence.
    const auto failed = [](int error) {
        std::string why = std::strerror(error);
        if (!why.empty() && why[0] >= 'A' && why[0] <= 'Z' && (why.size() < 2 || why[1] >= 'a'))
            why[0] = static_cast<char>(why[0] - 'A' + 'a');
        return FileContent{std::nullopt, why};
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
    const ScopeExit closing([fd] { ::close(fd); });
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
        return {std::nullopt, "it is a folder"};
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(errno);
        if (got == 0)
            return {std::move(bytes), {}};
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::optional<std::string> WriteTargetOf(const std::string& path) {
    // As many links as the kernel itself follows before it gives up with ELOOP.
    constexpr int MaxLinks = 40;
    std::string target = path;
    for (int hops = 0; hops <= MaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return target;
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t length = ::readlink(target.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size())
            return std::nullopt;
        std::string next(buffer.data(), static_cast<std::size_t>(length));
        if (next.front() != '/' && target.find('/') != std::string::npos)
            next = JoinPath(FolderOf(target), next);
        target = std::move(next);
    }
    return std::nullopt;
}

bool CanCreateFileBeside(const std::string& path) {
    if (path.empty() || path.back() == '/')
        return false;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return false;
    const auto target = WriteTargetOf(path);
    if (!target)
        return false;
    std::string probe = *target + ".probe-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool IsWriteProtected(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

bool WriteFileAtomically(const std::string& linkOrFile, const std::string& bytes) {
    // Replacing a symbolic link by a file would leave the file it leads to with the old content.
    const auto target = WriteTargetOf(linkOrFile);
    if (!target)
        return false;
    const std::string& path = *target;
    // The temporary name lives in the target's folder so that the rename never crosses a
    // file-system boundary.
    std::string tempPath = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(tempPath.data());
    if (fd < 0)
        return false;

    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    // Keep the permissions of the file we replace; a new file gets the usual 0644 less umask.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        ok = ok && ::fchmod(fd, old.st_mode & 07777) == 0;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ok = ok && ::fchmod(fd, 0666 & ~mask) == 0;
    }
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tempPath.c_str(), path.c_str()) == 0) {
        // Make the rename itself durable.
        const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return true;
    }
    ::unlink(tempPath.c_str());
    return false;
}

bool MakeFolders(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    const auto slash = folder.find_last_of('/', folder.find_last_not_of('/'));
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::FILE* OpenStdioFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool DeleteFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

} // namespace setfolio
