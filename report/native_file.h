#pragma once

// What appending a report asks of the system, one open file at a time:
// append_file.cpp holds the algorithm, the same everywhere, and
// native_file_posix.cpp or native_file_windows.cpp (CMake takes one) the
// system's side. Tests put their own FileSystem in front of the native one
// to make it fail as only some systems or disks do.

#include "report/append_file.h"

#include <cstdint>
#include <filesystem>
#include <memory>
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

// A file opened for appending. Calls answer 0 or the system's code.
class File {
  public:
    virtual ~File() = default;
    // Whether the name, as looked up, still stands for this file.
    virtual bool isNamedBy(const Named& named) const = 0;
    // An exclusive lock on the whole file, not waited for; `error` for Failed.
    virtual Lock tryLock(SystemCode& error) = 0;
    virtual SystemCode length(unsigned long long& bytes) = 0;
    // At the end of the file as the system keeps it at that moment; how much
    // it took, which may be less than all or none with `error` still 0.
    virtual std::size_t writeAtEnd(std::string_view bytes, SystemCode& error) = 0;
    virtual SystemCode flush() = 0;
    virtual SystemCode cutTo(unsigned long long bytes) = 0;
    // Removed, if still empty and still what the name stands for; only this
    // copy may have it open.
    virtual void removeIfEmpty(const std::filesystem::path& path) = 0;
};

struct Opening {
    std::unique_ptr<File> file; // none where the system refused
    SystemCode error = 0;
    // Refused for now, as another program has the file open without sharing
    // it, or it is being deleted: worth waiting for.
    bool inUse = false;
    // Made by this open, so that it is known to be this copy's own.
    bool created = false;
    // What it turned out to be once open, where that is no plain file.
    std::optional<Refusal> refusal{};
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual Named lookUp(const std::filesystem::path& path) = 0;
    // Opened for appending, created where there is none.
    virtual Opening open(const std::filesystem::path& path) = 0;
    // A new file's name lives in its folder, flushed too, or a power cut
    // could lose the file with its report.
    virtual SystemCode flushFolder(const std::filesystem::path& file) = 0;
    // Whether a folder flush that failed so may have left the name off the
    // disk: not where the file system has no such flush.
    virtual bool folderFlushFailed(SystemCode error) const = 0;
};

class NativeFileSystem final : public FileSystem {
  public:
    Named lookUp(const std::filesystem::path& path) override;
    Opening open(const std::filesystem::path& path) override;
    SystemCode flushFolder(const std::filesystem::path& file) override;
    bool folderFlushFailed(SystemCode error) const override;
};

} // namespace zulcalc
