// What only some systems do, made so for the print rows while ZULCALC_FAULT
// names it: nolock, flock refused with ENOLCK (a network share without
// locks); write0, a write to a file that takes nothing and leaves an earlier
// call's errno; dirsync, a folder's fsync failing with EIO. Defined in the
// suite itself, these come before the C library's for every call in it.
#ifndef _WIN32
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>

// The fault asked for, on a file of that kind: errno set.
static bool fails(const char* fault, int fd, mode_t kind, int error) {
    const char* asked = std::getenv("ZULCALC_FAULT");
    struct stat status {};
    if (!asked || std::strcmp(asked, fault) != 0 || ::fstat(fd, &status) != 0 ||
        (kind && (status.st_mode & S_IFMT) != kind))
        return false;
    errno = error;
    return true;
}

template <class Function> static Function* real(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

extern "C" int flock(int fd, int operation) {
    return fails("nolock", fd, 0, ENOLCK) ? -1 : real<int(int, int)>("flock")(fd, operation);
}

extern "C" ssize_t write(int fd, const void* bytes, size_t count) {
    return fails("write0", fd, S_IFREG, ENOSPC)
               ? 0
               : real<ssize_t(int, const void*, size_t)>("write")(fd, bytes, count);
}

extern "C" int fsync(int fd) {
    return fails("dirsync", fd, S_IFDIR, EIO) ? -1 : real<int(int)>("fsync")(fd);
}
#endif
