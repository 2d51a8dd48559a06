#include "report/file_lock.h"

#include <cerrno>
#include <thread>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace zulcalc {

namespace {

// 0 when locked, EWOULDBLOCK when someone else holds it, else why not. A
// file system that keeps no locks (some network shares) still takes the
// report, in one write as it always has; refusing to print there would leave
// the user no way to print at all.
int tryLock(int fd) {
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    OVERLAPPED whole{};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                   MAXDWORD, &whole))
        return 0;
    switch (GetLastError()) {
    case ERROR_LOCK_VIOLATION:
        return EWOULDBLOCK;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_INVALID_PARAMETER:
        return 0; // no locks on this file system
    case ERROR_ACCESS_DENIED:
        return EACCES;
    default:
        return EIO;
    }
#else
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return 0;
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL)
        return 0;
    return errno == EINTR ? EWOULDBLOCK : errno;
#endif
}

} // namespace

int lockFile(int fd, std::chrono::milliseconds wait) {
    // Polled rather than blocking so that a copy stuck in its write (a hung
    // network share) cannot hold this one forever.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int error = tryLock(fd);
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return error;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void unlockFile(int fd) {
#ifdef _WIN32
    OVERLAPPED whole{};
    UnlockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), 0, MAXDWORD, MAXDWORD, &whole);
#else
    ::flock(fd, LOCK_UN);
#endif
}

int syncFile(int fd) {
#ifdef _WIN32
    return _commit(fd) == 0 ? 0 : errno;
#else
    return ::fsync(fd) == 0 ? 0 : errno;
#endif
}

} // namespace zulcalc
