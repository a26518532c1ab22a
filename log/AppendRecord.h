#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "log/LogFile.h"

namespace pelagrin::logfile {

// Another instance holds the lock only for the moment of its own append; a lock held longer
// belongs to something stuck, and the window must not freeze behind it.
inline constexpr std::chrono::seconds kLongestLockWait{2};
inline constexpr std::chrono::milliseconds kLockRetry{5};

// The append itself, as AppendFile describes it, over a log opened for appending: `File` has
// LogFile's calls (Path, TryLock, SeekEnd, Write, Flush, CutBackTo, Close). AppendFile runs
// it over the system's LogFile; the log tests over a file that fails where they choose, as a
// full disk or a failing disk would.
template <typename File>
void AppendRecord(File& log, std::string_view bytes, const std::function<void()>& while_waiting) {
    const auto give_up = std::chrono::steady_clock::now() + kLongestLockWait;
    while (!log.TryLock()) {
        if (std::chrono::steady_clock::now() >= give_up) {
            ThrowFileError(kLockedByAnother, log.Path());
        }
        while_waiting();
        std::this_thread::sleep_for(kLockRetry);
    }
    // Under the lock no other instance can append, so this length is where the record starts
    // and where a failed record is cut back to: the log never keeps half a record, and the
    // next record never lands after a fragment.
    const std::uint64_t length = log.SeekEnd();
    std::optional<std::string> failure = log.Write(bytes);
    if (!failure) {
        failure = log.Flush();
    }
    if (failure) {
        if (!log.CutBackTo(length)) {
            ThrowFileError(*failure + std::string(kPartialRecordLeft), log.Path());
        }
        ThrowFileError(*failure, log.Path());
    }
    if (const std::optional<std::string> closing = log.Close()) {
        ThrowFileError(*closing, log.Path());
    }
}

}  // namespace pelagrin::logfile
