#include "log/AppendFile.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>
#include <thread>

#include "log/LogFile.h"

namespace pelagrin {
namespace {

// Another instance holds the lock only for the moment of its own append; a lock held longer
// belongs to something stuck, and the window must not freeze behind it.
constexpr std::chrono::seconds kLongestLockWait{2};
constexpr std::chrono::milliseconds kLockRetry{5};

}  // namespace

void AppendFile(const std::filesystem::path& file, std::string_view bytes,
                const std::function<void()>& while_waiting) {
    logfile::LogFile log(file);
    const auto give_up = std::chrono::steady_clock::now() + kLongestLockWait;
    while (!log.TryLock()) {
        if (std::chrono::steady_clock::now() >= give_up) {
            logfile::ThrowFileError(logfile::kLockedByAnother, log.Path());
        }
        while_waiting();
        std::this_thread::sleep_for(kLockRetry);
    }
    // Under the lock no other instance can append, so the end is where the record starts and
    // where a failed record is cut back to.
    log.SeekEnd();
    log.Write(bytes);
    log.Flush();
    log.Close();
}

}  // namespace pelagrin
