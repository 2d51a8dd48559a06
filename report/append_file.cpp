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

class NativeFile {
  public:
    // Both copies of the program open the file at once and take turns by
    // the lock, so neither may deny the other writing.
    explicit NativeFile(const std::filesystem::path& path)
        : m_handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~NativeFile() {
        if (opened())
            CloseHandle(m_handle);
    }
    bool opened() const { return m_handle != INVALID_HANDLE_VALUE; }

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
    // Locks are released before closing: Windows frees those left to it
    // only when it gets round to it.
    void unlock() {
        OVERLAPPED whole{};
        UnlockFileEx(m_handle, 0, MAXDWORD, MAXDWORD, &whole);
    }

    // The length of a file on a disk; none for a device. False where the
    // system cannot say.
    bool length(std::optional<unsigned long long>& bytes) {
        bytes.reset();
        LARGE_INTEGER size{};
        if (GetFileType(m_handle) != FILE_TYPE_DISK)
            return true;
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
        return WriteFile(m_handle, bytes.data(), chunk, &done, &atEnd) ? done : -1;
    }

    bool flush() { return FlushFileBuffers(m_handle); }

    void cutTo(unsigned long long bytes) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(bytes);
        if (SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN))
            SetEndOfFile(m_handle);
    }

  private:
    HANDLE m_handle;
};

// Nothing to guard against: Windows has no signal for a file size limit.
struct FileSizeSignalIgnored {};

#else

unsigned long lastError() {
    return static_cast<unsigned long>(errno);
}

class NativeFile {
  public:
    // O_APPEND: every write goes to the end as the system keeps it.
    explicit NativeFile(const std::filesystem::path& path)
        : m_fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666)) {}
    ~NativeFile() {
        if (opened())
            ::close(m_fd);
    }
    bool opened() const { return m_fd >= 0; }

    Lock tryLock() {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return Lock::Held;
        if (errno == EWOULDBLOCK || errno == EINTR)
            return Lock::Busy;
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL)
            return Lock::Unsupported;
        return Lock::Failed;
    }
    void unlock() { ::flock(m_fd, LOCK_UN); }

    // The length of a regular file; none for a device (a link to /dev/full,
    // say), which has no length to return to.
    bool length(std::optional<unsigned long long>& bytes) {
        bytes.reset();
        struct stat status {};
        if (::fstat(m_fd, &status) != 0)
            return false;
        if (S_ISREG(status.st_mode))
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

    void cutTo(unsigned long long bytes) {
        [[maybe_unused]] const int ignored = ::ftruncate(m_fd, static_cast<off_t>(bytes));
    }

  private:
    int m_fd;
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

// Polled rather than blocking so that a copy stuck in its write (a hung
// network share) cannot hold this one forever.
std::optional<AppendError> lock(NativeFile& file, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        switch (file.tryLock()) {
        case Lock::Held:
        // A file system that keeps no locks (some network shares) still takes
        // the report, appended in one piece at the system's end of the file;
        // refusing would leave the user no way to print there at all.
        case Lock::Unsupported:
            return std::nullopt;
        case Lock::Failed:
            return AppendError{AppendStep::Lock, lastError()};
        case Lock::Busy:
            if (std::chrono::steady_clock::now() >= deadline)
                return AppendError{AppendStep::Wait, 0};
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

std::optional<AppendError> appendLocked(NativeFile& file, std::string_view bytes) {
    // Where this report starts, for the cut-back: under the lock no other
    // copy appends or cuts back.
    std::optional<unsigned long long> before, after;
    if (!file.length(before))
        return AppendError{AppendStep::Measure, lastError()};
    std::optional<AppendError> failure;
    std::size_t written = 0;
    while (!failure && written < bytes.size()) {
        const long long done = file.writeAtEnd(bytes.substr(written));
        if (done > 0)
            written += static_cast<std::size_t>(done);
        else
            failure = AppendError{AppendStep::Write, lastError()};
    }
    // On the disk before the program says it is written and ends.
    if (!failure && !file.flush())
        failure = AppendError{AppendStep::Flush, lastError()};
    if (failure && before && written > 0 && file.length(after) && after == *before + written)
        file.cutTo(*before);
    return failure;
}

} // namespace

std::optional<AppendError> appendWhole(const std::filesystem::path& path, std::string_view bytes,
                                       std::chrono::milliseconds lockWait) {
    [[maybe_unused]] const FileSizeSignalIgnored ignored;
    NativeFile file(path);
    if (!file.opened())
        return AppendError{AppendStep::Open, lastError()};
    if (auto failure = lock(file, lockWait))
        return failure;
    auto failure = appendLocked(file, bytes);
    file.unlock();
    return failure;
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
