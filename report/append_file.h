#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zulcalc {

// The steps of an append, in the order they run; a failure names the one it
// stopped at.
enum class AppendStep { Open, Wait, Lock, Measure, Write, Flush };

struct AppendError {
    AppendStep step;
    // The system's own code: errno, or GetLastError() on Windows; 0 for Wait.
    unsigned long code;
};

// Appends all of `bytes` to `file` (created if need be) at the end the system
// itself keeps, never at a position read earlier, so a copy that waited, or
// one on a file system without locks, writes after every other report. While
// appending it holds an exclusive lock on the file, waiting up to `lockWait`
// for another holder; the lock lives on the open file, so nothing is left in
// the folder and it goes with the program if that dies. The bytes are flushed
// to the disk before success is returned. On a failure whatever part of them
// reached the file is cut off again, unless something was appended after it,
// so a report is there whole or not at all and no other report is touched.
std::optional<AppendError> appendWhole(const std::filesystem::path& file, std::string_view bytes,
                                       std::chrono::milliseconds lockWait);

// The system's own words for its code, in UTF-8: on Windows in the user's
// language, with the code; elsewhere in Russian where the system has it (a
// ru_RU.UTF-8 locale and the C library's catalogue), else in the user's.
std::string systemMessage(unsigned long code);

} // namespace zulcalc
