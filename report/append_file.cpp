#include "report/append_file.h"

#include <algorithm>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zulcalc {

namespace {

enum class Lock { Held, Busy, Unsupported, Failed };

#ifdef _WIN32

unsigned long lastError() {
    return GetLastError();
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

// A name on a Windows file system is a file or a folder; what it opens
// is checked once it is open (GetFileType).
struct Named {
    std::optional<Refusal> refusal;
};

Named lookUp(const std::filesystem::path&) {
    return {};
}

// A new file's name is in its folder's entries, flushed too: FlushFileBuffers
// takes a folder opened for adding files (NtFlushBuffersFileEx writes "file
// data and metadata" and rules out only its data-only flag for "directory
// handles"). 0, or the system's code.
unsigned long syncFolder(const std::filesystem::path& file) {
    const HANDLE folder = CreateFileW(longForm(file.parent_path()).c_str(), FILE_ADD_FILE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return 0; // the file itself is flushed; nothing more can be done
    const unsigned long error = FlushFileBuffers(folder) ? 0 : GetLastError();
    CloseHandle(folder);
    return error == ERROR_INVALID_FUNCTION ? 0 : error; // a file system that has no such flush
}

class NativeFile {
  public:
    // Both copies of the program open the file at once and take turns by the
    // lock, so neither may deny the other writing. No FILE_SHARE_DELETE: while
    // the file is open no one may delete it or rename another file over it
    // ("Delete access allows both delete and rename operations", CreateFileW),
    // so the name stands for it all through the wait.
    explicit NativeFile(const std::filesystem::path& path)
        : m_handle(CreateFileW(longForm(path).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr)),
          m_created(opened() && GetLastError() != ERROR_ALREADY_EXISTS) {}
    ~NativeFile() { close(); }
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    bool opened() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool created() const { return m_created; }

    std::optional<Refusal> refusal() const {
        switch (GetFileType(m_handle)) {
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
    bool isNamedBy(const Named&) const { return true; } // see the constructor

    Lock tryLock() {
        OVERLAPPED whole{};
        if (LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                       MAXDWORD, &whole))
            return Lock::Held;
        switch (GetLastError()) {
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

    bool length(unsigned long long& bytes) {
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(m_handle, &size))
            return false;
        bytes = static_cast<unsigned long long>(size.QuadPart);
        return true;
    }

    // An offset of all ones is the system's own append: the write lands at
    // the end of the file as it is at that moment, wherever the file pointer
    // stands (documented for WriteFile).
    long long writeAtEnd(std::string_view bytes) {
        OVERLAPPED atEnd{};
        atEnd.Offset = atEnd.OffsetHigh = MAXDWORD;
        DWORD done = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        return WriteFile(m_handle, bytes.data(), chunk, &done, &atEnd)
                   ? static_cast<long long>(done)
                   : -1;
    }

    bool flush() { return FlushFileBuffers(m_handle); }

    bool cutTo(unsigned long long bytes) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(bytes);
        return SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN) && SetEndOfFile(m_handle);
    }

    // Opened again unshared, which only works where no other copy has it open
    // (one waiting would write into a file that is going), and deleted if
    // still empty.
    void removeIfEmpty(const std::filesystem::path& path) {
        close();
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

  private:
    // Locks are released before closing: Windows frees those left to it
    // only when it gets round to it.
    void close() {
        if (!opened())
            return;
        OVERLAPPED whole{};
        UnlockFileEx(m_handle, 0, MAXDWORD, MAXDWORD, &whole);
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

    HANDLE m_handle;
    bool m_created;
};

// Nothing to guard against: Windows has no signal for a file size limit.
struct FileSizeSignalIgnored {};

#else

unsigned long lastError() {
    return static_cast<unsigned long>(errno);
}

// A folder is left to the open, which names it (EISDIR).
std::optional<Refusal> kindOf(mode_t mode) {
    if (S_ISREG(mode) || S_ISDIR(mode))
        return std::nullopt;
    if (S_ISFIFO(mode))
        return Refusal::Fifo;
    if (S_ISCHR(mode))
        return Refusal::CharDevice;
    if (S_ISBLK(mode))
        return Refusal::BlockDevice;
    if (S_ISSOCK(mode))
        return Refusal::Socket;
    return Refusal::OtherKind;
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : ".";
}

// A link in a folder others can write is followed only where the user (or
// root) made it, as the kernel's protected_symlinks does in sticky folders:
// another user's link there could send the report into any file of the
// user's own.
bool mayFollow(const std::filesystem::path& link, uid_t owner) {
    struct stat folder {};
    return owner == ::geteuid() || owner == 0 ||
           (::stat(folderOf(link).c_str(), &folder) == 0 &&
            !(folder.st_mode & (S_IWGRP | S_IWOTH)));
}

// What a name stands for: nothing yet, a file (which one), or a refusal.
struct Named {
    std::optional<Refusal> refusal;
    bool exists = false;
    dev_t device{};
    ino_t inode{};
};

Named lookUp(const std::filesystem::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return {}; // nothing there, or the open says why
    if (S_ISLNK(status.st_mode)) {
        if (!mayFollow(path, status.st_uid))
            return {Refusal::ForeignLink};
        if (::stat(path.c_str(), &status) != 0)
            return {}; // a link to a file not there yet
    }
    return {kindOf(status.st_mode), true, status.st_dev, status.st_ino};
}

// A new file's name is in its folder, which is flushed too, or a power cut
// could lose the file with its report. 0, or the system's code.
unsigned long syncFolder(const std::filesystem::path& file) {
    const int folder = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0; // a folder the user may write but not read; the file itself is flushed
    const int error = ::fsync(folder) == 0 ? 0 : errno;
    ::close(folder);
    return error == EINVAL ? 0 : static_cast<unsigned long>(error); // a folder with no such flush
}

class NativeFile {
  public:
    // O_APPEND: every write goes to the end as the system keeps it.
    // O_NONBLOCK and O_NOCTTY: what turns out not to be a plain file is neither
    // waited on (a FIFO with no reader) nor made the program's terminal; a
    // plain file's writes are the same with it. A file is created with O_EXCL,
    // so that it is known to be this copy's own.
    explicit NativeFile(const std::filesystem::path& path) {
        constexpr int flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
        m_fd = ::open(path.c_str(), flags);
        if (m_fd < 0 && errno == ENOENT) {
            m_fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
            m_created = opened();
            // Made meanwhile by another copy, or a link to a file not there yet.
            if (!opened() && errno == EEXIST)
                m_fd = ::open(path.c_str(), flags | O_CREAT, 0666);
        }
    }
    ~NativeFile() {
        if (opened())
            ::close(m_fd);
    }
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    bool opened() const { return m_fd >= 0; }
    bool created() const { return m_created; }

    std::optional<Refusal> refusal() const {
        struct stat status {};
        return ::fstat(m_fd, &status) == 0 ? kindOf(status.st_mode) : std::nullopt;
    }
    bool isNamedBy(const Named& named) const {
        struct stat status {};
        return named.exists && ::fstat(m_fd, &status) == 0 && status.st_dev == named.device &&
               status.st_ino == named.inode;
    }

    Lock tryLock() {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return Lock::Held;
        if (errno == EWOULDBLOCK || errno == EINTR)
            return Lock::Busy;
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL)
            return Lock::Unsupported;
        return Lock::Failed;
    }

    bool length(unsigned long long& bytes) {
        struct stat status {};
        if (::fstat(m_fd, &status) != 0)
            return false;
        bytes = static_cast<unsigned long long>(status.st_size);
        return true;
    }

    long long writeAtEnd(std::string_view bytes) {
        for (;;) {
            const auto done = ::write(m_fd, bytes.data(), bytes.size());
            if (done >= 0 || errno != EINTR)
                return done;
        }
    }

    bool flush() { return ::fsync(m_fd) == 0; }

    bool cutTo(unsigned long long bytes) {
        return ::ftruncate(m_fd, static_cast<off_t>(bytes)) == 0;
    }

    // Under the lock, and only while the name is still this file: a copy
    // that opened it meanwhile finds the name gone once it holds the lock,
    // and opens it anew.
    void removeIfEmpty(const std::filesystem::path& path) {
        struct stat named {
        }, open{};
        if (::lstat(path.c_str(), &named) == 0 && ::fstat(m_fd, &open) == 0 &&
            S_ISREG(named.st_mode) && named.st_dev == open.st_dev && named.st_ino == open.st_ino &&
            open.st_size == 0)
            ::unlink(path.c_str());
    }

  private:
    int m_fd = -1;
    bool m_created = false;
};

// Under a file size limit (ulimit -f) the kernel ends a process that writes
// past it with SIGXFSZ, leaving its report cut off; ignored while appending,
// the write fails with EFBIG instead and the cut-back runs.
class FileSizeSignalIgnored {
  public:
    FileSizeSignalIgnored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &m_before);
    }
    ~FileSizeSignalIgnored() { ::sigaction(SIGXFSZ, &m_before, nullptr); }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

  private:
    struct sigaction m_before {};
};

#endif

using Clock = std::chrono::steady_clock;

AppendError refused(Refusal refusal) {
    return {AppendStep::Check, static_cast<unsigned long>(refusal)};
}

// Polled rather than blocking so that a copy stuck in its write (a hung
// network share) cannot hold this one forever, and so that the caller can
// go on meanwhile (the window drawing itself). `held`: false where the file
// system keeps no locks.
std::optional<AppendError> lock(NativeFile& file, Clock::time_point deadline,
                                const WhileWaiting& whileWaiting, bool& held) {
    for (;;) {
        switch (file.tryLock()) {
        case Lock::Held:
            held = true;
            return std::nullopt;
        // A file system that keeps no locks (some network shares) still takes
        // the report, appended in one piece at the system's end of the file;
        // refusing would leave the user no way to print there at all.
        case Lock::Unsupported:
            held = false;
            return std::nullopt;
        case Lock::Failed:
            return AppendError{AppendStep::Lock, lastError()};
        case Lock::Busy:
            if (Clock::now() >= deadline)
                return AppendError{AppendStep::Wait, 0};
            if (whileWaiting)
                whileWaiting();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

std::optional<AppendError> appendLocked(NativeFile& file, const std::filesystem::path& path,
                                        std::string_view bytes, bool held) {
    // Where this report starts, for the cut-back: under the lock no other
    // copy appends or cuts back.
    unsigned long long before = 0, after = 0;
    if (!file.length(before))
        return AppendError{AppendStep::Measure, lastError()};
    std::optional<AppendError> failure;
    std::size_t written = 0;
    while (!failure && written < bytes.size()) {
        const long long done = file.writeAtEnd(bytes.substr(written));
        if (done > 0)
            written += static_cast<std::size_t>(done);
        else // a write that took nothing gives no reason: the code is an earlier call's
            failure = AppendError{AppendStep::Write, done < 0 ? lastError() : 0};
    }
    // On the disk before the program says it is written and ends.
    if (!failure && !file.flush())
        failure = AppendError{AppendStep::Flush, lastError()};
    if (const unsigned long error = failure || !file.created() ? 0 : syncFolder(path))
        failure = AppendError{AppendStep::Flush, error};
    // Without the lock another copy may be appending at this very moment, and
    // a cut-back could take its report with the end of this one: this one
    // stays, and the user is told how much of it.
    if (failure && written > 0 &&
        !(held && file.length(after) && after == before + written && file.cutTo(before)))
        failure->left = written;
    return failure;
}

} // namespace

std::optional<AppendError> appendWhole(const std::filesystem::path& path, std::string_view bytes,
                                       std::chrono::milliseconds lockWait,
                                       const WhileWaiting& whileWaiting) {
    [[maybe_unused]] const FileSizeSignalIgnored ignored;
    const auto deadline = Clock::now() + lockWait;
    for (;;) {
        // Looked at before it is opened, as opening a FIFO or a device can
        // block or act on it, and again once open, as it may have changed.
        if (const auto refusal = lookUp(path).refusal)
            return refused(*refusal);
        NativeFile file(path);
        if (!file.opened())
            return AppendError{AppendStep::Open, lastError()};
        if (const auto refusal = file.refusal())
            return refused(*refusal);
        bool held = false;
        if (auto failure = lock(file, deadline, whileWaiting, held))
            return failure;
        // The name may stand for another file by now (an editor saves by
        // renaming a new file over the old; the user deletes it): the report
        // goes where the name leads, so that is opened and waited for.
        const Named named = lookUp(path);
        if (named.refusal)
            return refused(*named.refusal);
        if (!file.isNamedBy(named)) {
            if (Clock::now() >= deadline)
                return AppendError{AppendStep::Wait, 0};
            continue;
        }
        auto failure = appendLocked(file, path, bytes, held);
        // Only under the lock: without it another copy may have opened it to
        // write.
        if (failure && held && failure->left == 0 && file.created())
            file.removeIfEmpty(path);
        return failure;
    }
}

std::string systemMessage(unsigned long code) {
#ifdef _WIN32
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
#else
    // The catalogue's Russian text converted to UTF-8 needs both categories.
    const locale_t russian =
        ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, "ru_RU.UTF-8", locale_t{});
    const int error = static_cast<int>(code);
    std::string text = russian ? ::strerror_l(error, russian) : std::strerror(error);
    if (russian)
        ::freelocale(russian);
    return text;
#endif
}

} // namespace zulcalc
