#pragma once

#include <chrono>

namespace zulcalc {

// An advisory lock on a whole open file, exclusive among every copy of the
// program (and every descriptor): two copies printing into one shared
// Sample.txt take turns. It lives on the open file itself, so nothing is left
// in the folder, and closing the file releases it even if the program dies.
// `fd` is a C runtime descriptor. Returns 0 once locked (or where the file
// system keeps no locks), or an errno value: EWOULDBLOCK when another holder
// kept it for all of `wait`.
int lockFile(int fd, std::chrono::milliseconds wait);
void unlockFile(int fd);

// Flushes the file's data to the disk; 0, or the errno value of the failure.
int syncFile(int fd);

} // namespace zulcalc
