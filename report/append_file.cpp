#include "report/append_file.h"

#include "report/native_file.h"

#include <thread>
#include <utility>

namespace zulcalc {

namespace {

using Clock = std::chrono::steady_clock;

// Polled rather than blocking so that a copy stuck in its write (a hung
// network share) cannot hold this one forever, and so that the caller can
// go on meanwhile (the window drawing itself).
void pause(const WhileWaiting& whileWaiting) {
    if (whileWaiting)
        whileWaiting();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

AppendError refused(Refusal refusal) {
    return {.step = AppendStep::Check, .refusal = refusal};
}

// The file open for this append, closed however it ends.
struct Open {
    Open(FileSystem& fileSystem, const Opening& opening)
        : system(fileSystem), file(*opening.file), created(opening.created) {}
    ~Open() {
        if (file)
            system.close(*file);
    }
    Open(const Open&) = delete;
    Open& operator=(const Open&) = delete;
    FileSystem& system;
    std::optional<Handle> file; // none once closed
    bool created;
};

// `held`: false where the file system keeps no locks.
std::optional<AppendError> lock(const Open& open, Clock::time_point deadline,
                                const WhileWaiting& whileWaiting, bool& held) {
    for (;;) {
        SystemCode error = 0;
        switch (open.system.tryLock(*open.file, error)) {
        case Lock::Held:
            held = true;
            return std::nullopt;
        // A file system that keeps no locks (some network shares) still takes
        // the report, appended in one piece at the system's end of the file;
        // refusing would leave the user no way to print there at all.
        case Lock::Unsupported:
            held = false;
            return std::nullopt;
        case Lock::Failed:
            return AppendError{.step = AppendStep::Lock, .code = error};
        case Lock::Busy:
            if (Clock::now() >= deadline)
                return AppendError{.step = AppendStep::Wait};
            pause(whileWaiting);
        }
    }
}

std::optional<AppendError> appendLocked(const Open& open, const std::filesystem::path& path,
                                        std::string_view bytes, bool held) {
    FileSystem& system = open.system;
    // Where this report starts, for the cut-back: under the lock no other
    // copy appends or cuts back.
    unsigned long long before = 0, after = 0;
    if (const SystemCode error = system.length(*open.file, before))
        return AppendError{.step = AppendStep::Measure, .code = error};
    std::optional<AppendError> failure;
    std::size_t written = 0;
    while (!failure && written < bytes.size()) {
        SystemCode error = 0;
        const std::size_t done = system.writeAtEnd(*open.file, bytes.substr(written), error);
        written += done;
        if (done == 0) // with no error a write that took nothing gives no reason
            failure = AppendError{.step = AppendStep::Write, .code = error};
    }
    // On the disk before the program says it is written and ends.
    if (const SystemCode error = failure ? 0 : system.flush(*open.file))
        failure = AppendError{.step = AppendStep::Flush, .code = error};
    // The report itself is on the disk by now: a folder that cannot be
    // flushed fails it only where the name may be lost with it.
    if (const SystemCode error = failure || !open.created ? 0 : system.flushFolder(path);
        error && system.folderFlushFailed(error))
        failure = AppendError{.step = AppendStep::Flush, .code = error};
    // Without the lock another copy may be appending at this very moment, and
    // a cut-back could take its report with the end of this one: this one
    // stays, and the user is told how much of it.
    if (failure && written > 0 &&
        !(held && system.length(*open.file, after) == 0 && after == before + written &&
          system.cutTo(*open.file, before) == 0))
        failure->left = written;
    return failure;
}

} // namespace

std::optional<AppendError> appendWhole(const std::filesystem::path& path, std::string_view bytes,
                                       std::chrono::milliseconds lockWait,
                                       const WhileWaiting& whileWaiting, FileSystem& system) {
    const auto deadline = Clock::now() + lockWait;
    for (;;) {
        // Looked at before it is opened, as opening a FIFO or a device can
        // block or act on it, and again once open, as it may have changed.
        if (const auto refusal = system.lookUp(path).refusal)
            return refused(*refusal);
        const Opening opening = system.open(path);
        if (opening.inUse) {
            if (Clock::now() >= deadline)
                return AppendError{.step = AppendStep::InUse, .code = opening.error};
            pause(whileWaiting);
            continue;
        }
        if (!opening.file)
            return AppendError{.step = AppendStep::Open, .code = opening.error};
        Open open(system, opening);
        if (opening.refusal)
            return refused(*opening.refusal);
        bool held = false;
        if (auto failure = lock(open, deadline, whileWaiting, held))
            return failure;
        // The name may stand for another file by now (an editor saves by
        // renaming a new file over the old; the user deletes it): the report
        // goes where the name leads, so that is opened and waited for.
        const Named named = system.lookUp(path);
        if (named.refusal)
            return refused(*named.refusal);
        if (!system.isNamedBy(*open.file, named)) {
            if (Clock::now() >= deadline)
                return AppendError{.step = AppendStep::Wait};
            continue;
        }
        auto failure = appendLocked(open, path, bytes, held);
        // Only under the lock: without it another copy may have opened it to
        // write.
        if (failure && held && failure->left == 0 && open.created)
            system.closeAndRemoveIfEmpty(*std::exchange(open.file, std::nullopt), path);
        return failure;
    }
}

std::optional<AppendError> appendWhole(const std::filesystem::path& path, std::string_view bytes,
                                       std::chrono::milliseconds lockWait,
                                       const WhileWaiting& whileWaiting) {
    FileSystem system;
    return appendWhole(path, bytes, lockWait, whileWaiting, system);
}

} // namespace zulcalc
