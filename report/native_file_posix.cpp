#include "report/native_file.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zulcalc {

namespace {

SystemCode lastError() {
    return static_cast<SystemCode>(errno);
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

int fd(Handle file) {
    return static_cast<int>(file);
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

// Under a file size limit (ulimit -f) the kernel ends a process that writes
// past it with SIGXFSZ, leaving its report cut off; ignored while writing,
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

} // namespace

Named FileSystem::lookUp(const std::filesystem::path& path) {
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

// O_NONBLOCK and O_NOCTTY: what turns out not to be a plain file is neither
// waited on (a FIFO with no reader) nor made the program's terminal; a plain
// file's writes are the same with it. A file is created with O_EXCL, so that
// it is known to be this copy's own.
Opening FileSystem::open(const std::filesystem::path& path) {
    constexpr int flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(path.c_str(), flags);
    bool created = false;
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        created = fd >= 0;
        // Made meanwhile by another copy, or a link to a file not there yet.
        if (fd < 0 && errno == EEXIST)
            fd = ::open(path.c_str(), flags | O_CREAT, 0666);
    }
    if (fd < 0)
        return {std::nullopt, lastError()};
    struct stat status {};
    const auto refusal = ::fstat(fd, &status) == 0 ? kindOf(status.st_mode) : std::nullopt;
    return {fd, 0, false, created, refusal};
}

void FileSystem::close(Handle file) {
    ::close(fd(file));
}

bool FileSystem::isNamedBy(Handle file, const Named& named) {
    struct stat status {};
    return named.exists && ::fstat(fd(file), &status) == 0 && status.st_dev == named.device &&
           status.st_ino == named.index;
}

Lock FileSystem::tryLock(Handle file, SystemCode& error) {
    if (::flock(fd(file), LOCK_EX | LOCK_NB) == 0)
        return Lock::Held;
    if (errno == EWOULDBLOCK || errno == EINTR)
        return Lock::Busy;
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL)
        return Lock::Unsupported;
    error = lastError();
    return Lock::Failed;
}

SystemCode FileSystem::length(Handle file, unsigned long long& bytes) {
    struct stat status {};
    if (::fstat(fd(file), &status) != 0)
        return lastError();
    bytes = static_cast<unsigned long long>(status.st_size);
    return 0;
}

// O_APPEND: the system's own end of the file.
std::size_t FileSystem::writeAtEnd(Handle file, std::string_view bytes, SystemCode& error) {
    [[maybe_unused]] const FileSizeSignalIgnored ignored;
    for (;;) {
        const auto done = ::write(fd(file), bytes.data(), bytes.size());
        if (done >= 0)
            return static_cast<std::size_t>(done);
        if (errno != EINTR)
            return (error = lastError(), 0);
    }
}

SystemCode FileSystem::flush(Handle file) {
    return ::fsync(fd(file)) == 0 ? 0 : lastError();
}

SystemCode FileSystem::cutTo(Handle file, unsigned long long bytes) {
    return ::ftruncate(fd(file), static_cast<off_t>(bytes)) == 0 ? 0 : lastError();
}

// Under the lock, and only while the name is still this file: a copy that
// opened it meanwhile finds the name gone once it holds the lock, and opens
// it anew.
void FileSystem::closeAndRemoveIfEmpty(Handle file, const std::filesystem::path& path) {
    struct stat named {
    }, open{};
    if (::lstat(path.c_str(), &named) == 0 && ::fstat(fd(file), &open) == 0 &&
        S_ISREG(named.st_mode) && named.st_dev == open.st_dev && named.st_ino == open.st_ino &&
        open.st_size == 0)
        ::unlink(path.c_str());
    close(file);
}

SystemCode FileSystem::flushFolder(const std::filesystem::path& file) {
    const int folder = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0; // a folder the user may write but not read; the file itself is flushed
    int result = 0;
    do
        result = ::fsync(folder);
    while (result != 0 && errno == EINTR);
    const SystemCode error = result == 0 ? 0 : lastError();
    ::close(folder);
    return error;
}

// fsync(2) of Linux's manual pages: "EROFS, EINVAL: fd is bound to a special
// file ... which does not support synchronization"; POSIX's fsync: "EINVAL:
// The fildes argument does not refer to a file on which this operation is
// possible". A folder on such a file system is written as the system sees
// fit; any other answer (EIO, ENOSPC, EDQUOT) may mean the name is lost.
bool FileSystem::folderFlushFailed(SystemCode error) const {
    return error != EINVAL && error != EROFS;
}

std::string systemMessage(SystemCode code) {
    // The catalogue's Russian text converted to UTF-8 needs both categories.
    const locale_t russian =
        ::newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, "ru_RU.UTF-8", locale_t{});
    const int error = static_cast<int>(code);
    std::string text = russian ? ::strerror_l(error, russian) : std::strerror(error);
    if (russian)
        ::freelocale(russian);
    return text;
}

} // namespace zulcalc
