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

#ifndef _WIN32
// Files may grow only to `bytes` (RLIM_INFINITY: as they like); a write past
// that is cut short and fails instead of killing the process.
inline void limitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

#endif

} // namespace zulcalc::testing_support
