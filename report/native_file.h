#pragma once

// What appending a report asks of the system: append_file.cpp holds the
// algorithm, the same everywhere, and native_file_posix.cpp or
// native_file_windows.cpp (CMake takes one) the system's answers. Tests derive
// from FileSystem to make some of its calls fail as only some systems or
// disks do, the rest still the system's.

#include "report/append_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace zulcalc {

enum class Lock { Held, Busy, Unsupported, Failed };

// What a name stands for: nothing yet, a file (which one), or a refusal.
struct Named {
    std::optional<Refusal> refusal;
    bool exists = false;
    std::uint64_t device = 0, index = 0;
};

// An open file as the system knows it: a descriptor, or a Windows handle.
using Handle = std::intptr_t;

struct Opening {
    std::optional<Handle> file; // none where the system refused
    SystemCode error = 0;
    // Refused for now, as another program has the file open without sharing
    // it, or it is being deleted: worth waiting for.
    bool inUse = false;
    // Made by this open, so that it is known to be this copy's own.
    bool created = false;
    // What it turned out to be once open, where that is no plain file.
    std::optional<Refusal> refusal{};
};

// Calls that can fail answer 0 or the system's code.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual Named lookUp(const std::filesystem::path& path);
    // Opened for appending, created where there is none.
    virtual Opening open(const std::filesystem::path& path);
    virtual void close(Handle file);
    // Whether the name, as looked up, still stands for this file.
    virtual bool isNamedBy(Handle file, const Named& named);
    // An exclusive lock on the whole file, not waited for; `error` for Failed.
    virtual Lock tryLock(Handle file, SystemCode& error);
    virtual SystemCode length(Handle file, unsigned long long& bytes);
    // At the end of the file as the system keeps it at that moment; how much
    // it took, which may be less than all or none with `error` still 0.
    virtual std::size_t writeAtEnd(Handle file, std::string_view bytes, SystemCode& error);
    virtual SystemCode flush(Handle file);
    virtual SystemCode cutTo(Handle file, unsigned long long bytes);
    // Closed, and removed if still empty and still what the name stands for;
    // only this copy may have it open.
    virtual void closeAndRemoveIfEmpty(Handle file, const std::filesystem::path& path);
    // A new file's name lives in its folder, flushed too, or a power cut
    // could lose the file with its report.
    virtual SystemCode flushFolder(const std::filesystem::path& file);
    // Whether a folder flush that failed so may have left the name off the
    // disk: not where the file system has no such flush.
    virtual bool folderFlushFailed(SystemCode error) const;
};

} // namespace zulcalc
