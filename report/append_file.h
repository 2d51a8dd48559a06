#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zulcalc {

class FileSystem;

// The steps of an append, in the order they run; a failure names the one it
// stopped at. Check: what the name stands for, before anything is written.
// InUse: another program kept the file open past the wait (Windows lets a
// program open a file so that no one else may write it); Wait: another copy
// of this one kept its lock.
enum class AppendStep { Check, Open, InUse, Wait, Lock, Measure, Write, Flush };

// Why the name is not appended to (step Check).
enum class Refusal { Fifo, CharDevice, BlockDevice, Socket, OtherKind, ForeignLink };

// The system's reason a call failed: errno, or GetLastError() on Windows;
// 0 for none.
using SystemCode = unsigned long;

struct AppendError {
    AppendStep step;
    // For InUse the system's last answer; 0 for Wait, for Check, and for a
    // write that took nothing and said no more.
    SystemCode code = 0;
    std::optional<Refusal> refusal{}; // for Check
    // How much of the report stays at the end of the file, where it could not
    // be cut back.
    unsigned long long left = 0;
};

// Called between looks at the file while another copy or program holds it.
using WhileWaiting = std::function<void()>;

// Appends all of `bytes` to `file` (created if need be) at the end the system
// itself keeps, never at a position read earlier, so a copy that waited, or
// one on a file system without locks, writes after every other report. Only a
// plain file takes it: a FIFO, a device or a socket of that name is refused
// without waiting on it, as is a symbolic link that another user made in a
// folder others can write. While appending it holds an exclusive lock on the
// file, waiting up to `lockWait` for another holder (another copy, or on
// Windows another program that has the file open without letting others
// write it); if meanwhile the name has come to stand for another file (an
// editor saving under it, the file deleted), that one is opened and waited
// for, within the same time. The lock lives on the open file, so nothing is
// left in the folder and it goes with the program if that dies. The bytes,
// and the name of a file this created, are flushed to the disk before
// success is returned. On a failure whatever part of them reached the file is
// cut off again where that is certain to take nothing of another report's
// (the lock held, nothing appended after it); else `left` says how much
// stays. A file this created and the report did not go into is removed again.
// `system` is the real one but in tests.
std::optional<AppendError> appendWhole(const std::filesystem::path& file, std::string_view bytes,
                                       std::chrono::milliseconds lockWait,
                                       const WhileWaiting& whileWaiting, FileSystem& system);
std::optional<AppendError> appendWhole(const std::filesystem::path& file, std::string_view bytes,
                                       std::chrono::milliseconds lockWait,
                                       const WhileWaiting& whileWaiting = {});

// The system's own words for its code, in UTF-8: on Windows in the user's
// language, with the code; elsewhere in Russian where the system has it (a
// ru_RU.UTF-8 locale and the C library's catalogue), else in the user's.
std::string systemMessage(SystemCode code);

} // namespace zulcalc
