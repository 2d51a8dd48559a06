#pragma once

#include <QFile>

#include <algorithm>
#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace zulcalc::testing_support {

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Files may grow only to `bytes` (-1: as they like); a write past that is
// cut short and fails instead of killing the process. False where the system
// has no such limit (Windows, which has no /dev/full either).
inline bool limitFileSize([[maybe_unused]] long long bytes = -1) {
#ifndef _WIN32
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes < 0 ? limit.rlim_max : std::min(rlim_t(bytes), limit.rlim_max);
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
#endif
    return false;
}

} // namespace zulcalc::testing_support
