#pragma once

#include "report/append_file.h"
#include "report/utf8.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#ifdef _WIN32
#ifndef NOMINMAX // Qt 6.8 passes it to whatever links Qt
#define NOMINMAX // std::min and std::max stay functions
#endif
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/resource.h>
#endif

namespace zulcalc::testing_support {

// The system's words for each code {N} of a table's text.
inline QString withSystemWords(QString text) {
    for (const auto& code : QRegularExpression("\\{(\\d+)\\}").globalMatch(text))
        text.replace(code.captured(0), qs(systemMessage(code.captured(1).toULong())));
    return text;
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Files may grow only to `bytes` (-1: as they like). The process is not
// shielded from the signal a write past the limit raises: the program must
// be. False where the system has no such limit (Windows, which has no
// /dev/full either).
inline bool limitFileSize([[maybe_unused]] long long bytes = -1) {
#ifndef _WIN32
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes < 0 ? limit.rlim_max : std::min(rlim_t(bytes), limit.rlim_max);
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
#endif
    return false;
}

// Takes the lock a printing copy takes, as another copy would.
inline bool holdLock(QFile& file) {
#ifdef _WIN32
    OVERLAPPED whole{};
    return LockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())),
                      LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                      &whole);
#else
    return ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0;
#endif
}

// Another program holding the file as only Windows lets one, until it is
// destroyed: open so that no one else may write it (Excel, a scanner, a sync
// client), or being deleted. Elsewhere nothing.
struct HeldByAnotherProgram {
#ifdef _WIN32
    HeldByAnotherProgram(const QString& path, bool deleting)
        : handle(CreateFileW(
              qUtf16Printable(QDir::toNativeSeparators(path)), deleting ? DELETE : GENERIC_READ,
              FILE_SHARE_READ | (deleting ? FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0), nullptr,
              OPEN_EXISTING, 0, nullptr)) {
        FILE_DISPOSITION_INFO gone{TRUE};
        if (deleting)
            SetFileInformationByHandle(handle, FileDispositionInfo, &gone, sizeof gone);
    }
    ~HeldByAnotherProgram() {
        CloseHandle(handle);
    }
    HANDLE handle;
#else
    HeldByAnotherProgram(const QString&, bool) {}
#endif
};

} // namespace zulcalc::testing_support
