#include "report/append_file.h"

#include "report/native_file.h"

#include <thread>

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

// `held`: false where the file system keeps no locks.
std::optional<AppendError> lock(File& file, Clock::time_point deadline,
                                const WhileWaiting& whileWaiting, bool& held) {
    for (;;) {
        SystemCode error = 0;
        switch (file.tryLock(error)) {
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

std::optional<AppendError> appendLocked(FileSystem& system, File& file, bool created,
                                        const std::filesystem::path& path, std::string_view bytes,
                                        bool held) {
    // Where this report starts, for the cut-back: under the lock no other
    // copy appends or cuts back.
    unsigned long long before = 0, after = 0;
    if (const SystemCode error = file.length(before))
        return AppendError{.step = AppendStep::Measure, .code = error};
    std::optional<AppendError> failure;
    std::size_t written = 0;
    while (!failure && written < bytes.size()) {
        SystemCode error = 0;
        const std::size_t done = file.writeAtEnd(bytes.substr(written), error);
        written += done;
        if (done == 0) // with no error a write that took nothing gives no reason
            failure = AppendError{.step = AppendStep::Write, .code = error};
    }
    // On the disk before the program says it is written and ends.
    if (const SystemCode error = failure ? 0 : file.flush())
        failure = AppendError{.step = AppendStep::Flush, .code = error};
    // The report itself is on the disk by now: a folder that cannot be
    // flushed fails it only where the name may be lost with it.
    if (const SystemCode error = failure || !created ? 0 : system.flushFolder(path);
        error && system.folderFlushFailed(error))
        failure = AppendError{.step = AppendStep::Flush, .code = error};
    // Without the lock another copy may be appending at this very moment, and
    // a cut-back could take its report with the end of this one: this one
    // stays, and the user is told how much of it.
    if (failure && written > 0 &&
        !(held && file.length(after) == 0 && after == before + written && file.cutTo(before) == 0))
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
        File& file = *opening.file;
        if (opening.refusal)
            return refused(*opening.refusal);
        bool held = false;
        if (auto failure = lock(file, deadline, whileWaiting, held))
            return failure;
        // The name may stand for another file by now (an editor saves by
        // renaming a new file over the old; the user deletes it): the report
        // goes where the name leads, so that is opened and waited for.
        const Named named = system.lookUp(path);
        if (named.refusal)
            return refused(*named.refusal);
        if (!file.isNamedBy(named)) {
            if (Clock::now() >= deadline)
                return AppendError{.step = AppendStep::Wait};
            continue;
        }
        auto failure = appendLocked(system, file, opening.created, path, bytes, held);
        // Only under the lock: without it another copy may have opened it to
        // write.
        if (failure && held && failure->left == 0 && opening.created)
            file.removeIfEmpty(path);
        return failure;
    }
}

std::optional<AppendError> appendWhole(const std::filesystem::path& path, std::string_view bytes,
                                       std::chrono::milliseconds lockWait,
                                       const WhileWaiting& whileWaiting) {
    NativeFileSystem system;
    return appendWhole(path, bytes, lockWait, whileWaiting, system);
}

} // namespace zulcalc
