#include "report/native_file.h"

#include <algorithm>

#include <windows.h>

namespace zulcalc {

namespace {

SystemCode lastError() {
    return GetLastError();
}

HANDLE handle(Handle file) {
    return reinterpret_cast<HANDLE>(file);
}

// CreateFileW takes a path of more than MAX_PATH (260) characters only in its
// \\?\ form, which the system passes on as it stands: backslashes only, no .
// or .. ("Maximum Path Length Limitation" in "Naming Files, Paths, and
// Namespaces"). Qt, which checks the folder, handles such paths itself.
std::wstring longForm(const std::filesystem::path& path) {
    if (!path.is_absolute())
        return path.native();
    const std::wstring full = path.lexically_normal().native();
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Whether a file that refused to be opened for writing is being deleted: "the
// file deletion does not occur until the last handle to the file is closed.
// Subsequent calls to CreateFile to open the file fail with
// ERROR_ACCESS_DENIED" (DeleteFileW), for any access. A read-only file, a
// folder of that name or one the user may not write opens to read its
// attributes; a folder closed to the user has no such file.
bool deletePending(const std::wstring& path) {
    const HANDLE probe = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

// What a name on a Windows file system opens as, if no file: a device (NUL,
// CON), a pipe.
std::optional<Refusal> kindOf(HANDLE handle) {
    switch (GetFileType(handle)) {
    case FILE_TYPE_DISK:
        return std::nullopt;
    case FILE_TYPE_CHAR:
        return Refusal::CharDevice;
    case FILE_TYPE_PIPE:
        return Refusal::Fifo;
    default:
        return Refusal::OtherKind;
    }
}

} // namespace

// A name on a Windows file system is a file or a folder; what it opens is
// told once it is open.
Named FileSystem::lookUp(const std::filesystem::path&) {
    return {};
}

// Both copies of the program open the file at once and take turns by the
// lock, so neither may deny the other writing. No FILE_SHARE_DELETE: while
// the file is open no one may delete it or rename another file over it
// ("Delete access allows both delete and rename operations", CreateFileW), so
// the name stands for it all through the wait. Another program may deny
// writing (Excel opening the report, a scanner or sync client reading it), as
// Qt's own lock file takes these answers for a file held by another.
Opening FileSystem::open(const std::filesystem::path& path) {
    const std::wstring name = longForm(path);
    const HANDLE handle =
        CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const SystemCode error = GetLastError();
    if (handle != INVALID_HANDLE_VALUE)
        return {reinterpret_cast<Handle>(handle), 0, false, error != ERROR_ALREADY_EXISTS,
                kindOf(handle)};
    const bool inUse = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                       (error == ERROR_ACCESS_DENIED && deletePending(name));
    return {std::nullopt, error, inUse};
}

// Locks are released before closing: Windows frees those left to it only
// when it gets round to it.
void FileSystem::close(Handle file) {
    OVERLAPPED whole{};
    UnlockFileEx(handle(file), 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(handle(file));
}

// Opened without FILE_SHARE_DELETE: the name stands for it all along.
bool FileSystem::isNamedBy(Handle, const Named&) {
    return true;
}

Lock FileSystem::tryLock(Handle file, SystemCode& error) {
    OVERLAPPED whole{};
    if (LockFileEx(handle(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                   MAXDWORD, &whole))
        return Lock::Held;
    switch (error = GetLastError()) {
    case ERROR_LOCK_VIOLATION:
        return Lock::Busy;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
        return Lock::Unsupported;
    default:
        return Lock::Failed;
    }
}

SystemCode FileSystem::length(Handle file, unsigned long long& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle(file), &size))
        return lastError();
    bytes = static_cast<unsigned long long>(size.QuadPart);
    return 0;
}

// An offset of all ones is the system's own append: the write lands at the
// end of the file as it is at that moment, wherever the file pointer stands
// (documented for WriteFile).
std::size_t FileSystem::writeAtEnd(Handle file, std::string_view bytes, SystemCode& error) {
    OVERLAPPED atEnd{};
    atEnd.Offset = atEnd.OffsetHigh = MAXDWORD;
    DWORD done = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(handle(file), bytes.data(), chunk, &done, &atEnd))
        return (error = lastError(), 0);
    return done;
}

SystemCode FileSystem::flush(Handle file) {
    return FlushFileBuffers(handle(file)) ? 0 : lastError();
}

SystemCode FileSystem::cutTo(Handle file, unsigned long long bytes) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(bytes);
    return SetFilePointerEx(handle(file), at, nullptr, FILE_BEGIN) && SetEndOfFile(handle(file))
               ? 0
               : lastError();
}

// Opened again unshared, which only works where no other copy has it open
// (one waiting would write into a file that is going), and deleted if still
// empty.
void FileSystem::closeAndRemoveIfEmpty(Handle file, const std::filesystem::path& path) {
    close(file);
    const HANDLE alone = CreateFileW(longForm(path).c_str(), DELETE | FILE_READ_ATTRIBUTES, 0,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    if (alone == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size{};
    FILE_DISPOSITION_INFO gone{TRUE};
    if (GetFileSizeEx(alone, &size) && size.QuadPart == 0)
        SetFileInformationByHandle(alone, FileDispositionInfo, &gone, sizeof gone);
    CloseHandle(alone);
}

// FlushFileBuffers takes a folder opened for adding files (NtFlushBuffersFileEx
// writes "file data and metadata" and rules out only its data-only flag for
// "directory handles"); but a share on an older server, a virtual machine's
// shared folder or FAT on a USB stick refuse it in ways of their own. The
// report itself is flushed by then, and the system writes the folder as it
// sees fit: the flush is tried, and what it answers taken as done.
SystemCode FileSystem::flushFolder(const std::filesystem::path& file) {
    const HANDLE folder = CreateFileW(longForm(file.parent_path()).c_str(), FILE_ADD_FILE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return 0;
    const SystemCode error = FlushFileBuffers(folder) ? 0 : lastError();
    CloseHandle(folder);
    return error;
}

bool FileSystem::folderFlushFailed(SystemCode) const {
    return false;
}

std::string systemMessage(SystemCode code) {
    // Language 0: the user's own, as the system looks it up.
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text ? text : L"", length);
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                              words.back() == L' ' || words.back() == L'.'))
        words.pop_back();
    std::string utf8(words.size() * 3, '\0');
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, words.data(), static_cast<int>(words.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    return (utf8.empty() ? "" : utf8 + " ") + "(код " + std::to_string(code) + ")";
}

} // namespace zulcalc
