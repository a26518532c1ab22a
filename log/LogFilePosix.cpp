#include <fcntl.h>
#include <signal.h>  // NOLINT(modernize-deprecated-headers): POSIX signal calls, not in <csignal>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "log/LogFile.h"

namespace pelagrin::logfile {
namespace {

std::string Description(int error) {
    return std::generic_category().message(error);
}

// A write that meets the file-size limit (RLIMIT_FSIZE) also raises SIGXFSZ, which would end
// the program with the record half written. Held back from this thread for the write, the
// signal is dropped and the write fails with EFBIG, so the record can be cut back and the
// diver told.
class FileSizeSignalHeld {
public:
    FileSizeSignalHeld() {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &saved_);
    }
    ~FileSizeSignalHeld() {
        // Ours alone when it was not held before: taken off the thread so it never lands.
        // <signal.h> declares it; the checker would name glibc's internal header instead.
        sigset_t pending{};  // NOLINT(misc-include-cleaner)
        if (sigismember(&saved_, SIGXFSZ) == 0 && sigpending(&pending) == 0 &&
            sigismember(&pending, SIGXFSZ) == 1) {
            int taken = 0;
            sigwait(&signal_, &taken);  // returns at once: the signal is pending
        }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    FileSizeSignalHeld(const FileSizeSignalHeld&) = delete;
    FileSizeSignalHeld& operator=(const FileSizeSignalHeld&) = delete;

private:
    sigset_t signal_{};
    sigset_t saved_{};
};

}  // namespace

std::string PathText(const std::filesystem::path& file) {
    return file.string();
}

// O_NONBLOCK: a FIFO with no reader would otherwise hold the window in open() forever; on a
// regular file it changes nothing. O_NOCTTY: a link to a terminal must not become ours.
LogFile::LogFile(std::filesystem::path file)
    : file_(std::move(file)),
      fd_(::open(file_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY,
                 0666)) {
    if (fd_ < 0) {
        // A FIFO without a reader, or a socket, refuses a non-blocking writer with ENXIO.
        const int error = errno;
        ThrowFileError(error == ENXIO ? std::string(kNotARegularFile) : Description(error), file_);
    }
    struct stat status {};
    if (::fstat(fd_, &status) != 0) {
        const int error = errno;
        ::close(fd_);
        ThrowFileError(Description(error), file_);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd_);
        ThrowFileError(kNotARegularFile, file_);
    }
}

LogFile::~LogFile() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock with it
    }
}

bool LogFile::TryLock() {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    const int error = errno;
    if (error == EWOULDBLOCK || error == EINTR) {
        return false;
    }
    ThrowFileError(Description(error), file_);
}

void LogFile::SeekEnd() {
    const off_t end = ::lseek(fd_, 0, SEEK_END);
    if (end < 0) {
        ThrowFileError(Description(errno), file_);
    }
    record_start_ = static_cast<std::uint64_t>(end);
}

void LogFile::Write(std::string_view bytes) {
    const FileSizeSignalHeld held;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;  // interrupted before a byte was written
            }
            RecordFailed(Description(errno));
        }
        if (written == 0) {
            RecordFailed(Description(EIO));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void LogFile::Flush() {
    if (::fdatasync(fd_) != 0) {
        RecordFailed(Description(errno));
    }
}

bool LogFile::CutBack() const {
    if (::ftruncate(fd_, static_cast<off_t>(record_start_)) == 0) {
        return true;
    }
    // A write that failed before its first byte left nothing to cut.
    struct stat status {};
    return ::fstat(fd_, &status) == 0 &&
           static_cast<std::uint64_t>(status.st_size) <= record_start_;
}

void LogFile::Close() {
    const int fd = std::exchange(fd_, -1);  // closing releases the lock
    if (::close(fd) != 0) {
        ThrowFileError(Description(errno), file_);
    }
}

}  // namespace pelagrin::logfile
