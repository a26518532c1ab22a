#include "log/AppendFile.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "core/RunTimeError.h"
#include "log/LogFile.h"

namespace pelagrin {
namespace logfile {

void ThrowFileError(std::string_view description, const std::filesystem::path& file) {
    std::error_code unknown;
    std::filesystem::path full = std::filesystem::absolute(file, unknown);
    if (unknown) {
        full = file;
    }
    throw RunTimeError(ErrorKind::FileError,
                       std::string(description) + " (" + PathText(full) + ")");
}

}  // namespace logfile

namespace {

// Another instance holds the lock only for the moment of its own append; a lock held longer
// belongs to something stuck, and the window must not freeze behind it.
constexpr std::chrono::seconds kLongestLockWait{2};
constexpr std::chrono::milliseconds kLockRetry{5};

void WaitForLock(logfile::LogFile& log, const std::function<void()>& while_waiting) {
    const auto give_up = std::chrono::steady_clock::now() + kLongestLockWait;
    while (!log.TryLock()) {
        if (std::chrono::steady_clock::now() >= give_up) {
            logfile::ThrowFileError(logfile::kLockedByAnother, log.Path());
        }
        while_waiting();
        std::this_thread::sleep_for(kLockRetry);
    }
}

}  // namespace

void AppendFile(const std::filesystem::path& file, std::string_view bytes,
                const std::function<void()>& while_waiting) {
    logfile::LogFile log(file);
    WaitForLock(log, while_waiting);
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
            logfile::ThrowFileError(*failure + std::string(logfile::kPartialRecordLeft), file);
        }
        logfile::ThrowFileError(*failure, file);
    }
    if (const std::optional<std::string> closing = log.Close()) {
        logfile::ThrowFileError(*closing, file);
    }
}

}  // namespace pelagrin
