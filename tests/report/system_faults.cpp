// Loaded into the window suite (LD_PRELOAD) to make the system fail as only
// some systems do, while ZULCALC_FAULT names how: nolock, flock refused with
// ENOLCK (a network share without locks); write0, a write to a file that
// takes nothing and leaves an earlier call's errno; dirsync, a folder's fsync
// failing with EIO.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>

// Not into what the suite starts (sh, chattr); the suite sees it is here.
__attribute__((constructor)) static void loaded() {
    ::unsetenv("LD_PRELOAD");
    ::setenv("ZULCALC_FAULTS_LOADED", "1", 1);
}

// The fault asked for, on a file of that kind (S_IFMT, 0 for any): errno set.
static bool fails(const char* fault, int fd, mode_t kind, int error) {
    const char* asked = std::getenv("ZULCALC_FAULT");
    struct stat status {};
    if (!asked || std::strcmp(asked, fault) != 0 ||
        (kind && (::fstat(fd, &status) != 0 || (status.st_mode & S_IFMT) != kind)))
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
