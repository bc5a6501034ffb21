// The files of AtomicFile.h through the wide-character Windows calls: paths are UTF-8 in the
// program and become UTF-16 here only, so a name outside the ANSI code page reaches the disk
// unchanged.
#include "core/AtomicFile.h"

#include "core/ScopeExit.h"
#include "core/Utf8Path.h"

#include <windows.h>

#include <atomic>
#include <limits>

// <windows.h> names DeleteFile as a macro; the program's own function has that name too.
#undef DeleteFile

namespace setfolio {

namespace {

// UTF-16 for the Windows calls; nothing for text that is not UTF-8 (such a name cannot be meant).
std::optional<std::wstring> Wide(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    const int size = static_cast<int>(utf8.size());
    const int length =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

DWORD AttributesOf(const std::string& path) {
    const auto wide = Wide(path);
    return wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The system's reason in the words the POSIX build gives.
std::string ReasonOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return "no such file or directory";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "permission denied";
    default:
        return "system error " + std::to_string(error);
    }
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        constexpr std::size_t Chunk = 1 << 20;
        const DWORD part = static_cast<DWORD>(left < Chunk ? left : Chunk);
        DWORD written = 0;
        if (!::WriteFile(file, data, part, &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// A new, empty file beside `path` that nobody else has: its handle and name.
HANDLE CreateTemporaryBeside(const std::string& path, std::wstring& name) {
    static std::atomic<unsigned> counter{0};
    const auto wide = Wide(path);
    if (!wide)
        return INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = *wide + L".tmp-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(counter++);
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadFileContent(path).bytes;
}

FileContent ReadFileContent(const std::string& path) {
    const auto wide = Wide(path);
    if (!wide)
        return {std::nullopt, ReasonOf(ERROR_INVALID_NAME)};
    if (IsFolder(::GetFileAttributesW(wide->c_str())))
        return {std::nullopt, "it is a folder"};
    const HANDLE file = ::CreateFileW(wide->c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {std::nullopt, ReasonOf(::GetLastError())};
    const ScopeExit closing([file] { ::CloseHandle(file); });
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            return {std::nullopt, ReasonOf(::GetLastError())};
        if (got == 0)
            return {std::move(bytes), {}};
        bytes.append(buffer, got);
    }
}

std::optional<std::string> WriteTargetOf(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    // A symbolic link: the file at its end, as the system resolves it. A link that leads nowhere
    // is refused rather than replaced by a file.
    const auto wide = Wide(path);
    const HANDLE file = ::CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const ScopeExit closing([file] { ::CloseHandle(file); });
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            return std::nullopt;
        if (length < final.size()) {
            final.resize(length);
            break;
        }
        final.resize(length);
    }
    // "\\?\C:\folder\file" and "\\?\UNC\server\share\file" in the usual spelling.
    if (final.starts_with(L"\\\\?\\UNC\\"))
        final = L"\\\\" + final.substr(8);
    else if (final.starts_with(L"\\\\?\\"))
        final = final.substr(4);
    return Utf8(final);
}

bool CanCreateFileBeside(const std::string& path) {
    if (path.empty() || path.back() == '/' || path.back() == '\\')
        return false;
    const DWORD attributes = AttributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes))
        return false;
    const auto target = WriteTargetOf(path);
    if (!target)
        return false;
    std::wstring probe;
    const HANDLE file = CreateTemporaryBeside(*target, probe);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    ::DeleteFileW(probe.c_str());
    return true;
}

bool IsWriteProtected(const std::string& path) {
    // The read-only attribute is Windows's own "nobody may write this".
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes) &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool WriteFileAtomically(const std::string& linkOrFile, const std::string& bytes) {
    const auto target = WriteTargetOf(linkOrFile);
    if (!target)
        return false;
    const auto wideTarget = Wide(*target);
    if (!wideTarget)
        return false;
    // The temporary file lives in the target's folder so that the move never crosses volumes.
    std::wstring temporary;
    const HANDLE file = CreateTemporaryBeside(*target, temporary);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    // The C runtime's rename() does not replace an existing file; this does, and returns only
    // when the move is on disk.
    if (ok && ::MoveFileExW(temporary.c_str(), wideTarget->c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary.c_str());
    return false;
}

bool MakeFolders(const std::string& folder) {
    const DWORD attributes = AttributesOf(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return IsFolder(attributes);
    const std::filesystem::path path = PathOf(folder);
    // A drive root or a share that is not there cannot be made.
    if (path == path.root_path())
        return false;
    const std::filesystem::path parent = path.parent_path();
    if (!parent.empty() && parent != path && !MakeFolders(Utf8Of(parent)))
        return false;
    // A folder named with a separator at its end ("C:\\data\\") was made by the step above.
    if (!path.has_filename())
        return true;
    const auto wide = Wide(folder);
    return wide &&
           (::CreateDirectoryW(wide->c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes);
}

std::FILE* OpenStdioFile(const std::string& path, const char* mode) {
    const auto wide = Wide(path);
    const auto wideMode = Wide(mode);
    return wide && wideMode ? ::_wfopen(wide->c_str(), wideMode->c_str()) : nullptr;
}

bool DeleteFile(const std::string& path) {
    const auto wide = Wide(path);
    return wide && ::DeleteFileW(wide->c_str());
}

} // namespace setfolio
