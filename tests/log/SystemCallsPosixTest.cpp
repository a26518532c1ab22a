// Every system call of the log failing once, as a failing or full disk or a lost lock server
// makes it fail: this program takes the calls over and hands each on to the C library unless
// a test has armed a failure of it.

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>  // NOLINT(modernize-deprecated-headers): SIGXFSZ is POSIX's, not <csignal>'s
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <random>
#include <string>

#include "core/CalcValues.h"
#include "core/Calculate.h"
#include "support/Dive100Over32.h"
#include "support/PrintError.h"
#include "support/RecordingView.h"

namespace {

// A call to fail, by name, and the error it fails with.
struct Failure {
    const char* call = nullptr;
    int error = 0;
};

// At most two at a time: a failed record, and the cutting back that follows it.
Failure armed[2];  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

bool Fails(const char* call) {
    Failure* const failure =
        std::find_if(std::begin(armed), std::end(armed), [call](const Failure& one) {
            return one.call != nullptr && std::strcmp(one.call, call) == 0;
        });
    if (failure == std::end(armed)) {
        return false;
    }
    failure->call = nullptr;
    errno = failure->error;
    return true;
}

// The C library's own call `name`, or the armed failure of it.
template <typename Function, typename... Args>
auto Call(const char* name, Args... args) {
    auto* const next = reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));  // NOLINT
    return Fails(name) ? -1 : next(args...);
}

}  // namespace

// NOLINTBEGIN: the C library's own names and signatures, varargs included.
extern "C" {
int open(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & O_CREAT) != 0 ? va_arg(rest, mode_t) : 0;
    va_end(rest);
    return Call<int(const char*, int, ...)>("open", path, flags, mode);
}
int fstat(int fd, struct stat* status) noexcept {
    return Call<int(int, struct stat*)>("fstat", fd, status);
}
int flock(int fd, int operation) noexcept {
    return Call<int(int, int)>("flock", fd, operation);
}
off_t lseek(int fd, off_t offset, int whence) noexcept {
    return Call<off_t(int, off_t, int)>("lseek", fd, offset, whence);
}
ssize_t write(int fd, const void* bytes, size_t size) {
    return Call<ssize_t(int, const void*, size_t)>("write", fd, bytes, size);
}
int fdatasync(int fd) {
    return Call<int(int)>("fdatasync", fd);
}
int ftruncate(int fd, off_t length) noexcept {
    return Call<int(int, off_t)>("ftruncate", fd, length);
}
// As Linux does, the descriptor is gone even when close reports an error.
int close(int fd) {
    const int closed = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "close"))(fd);
    return Fails("close") ? -1 : closed;
}
}
// NOLINTEND

namespace pelagrin {
namespace {

namespace fs = std::filesystem;

const std::string kRecord = testing::Record100Over32();
const std::string kEarlier = "an earlier record\r\n";

int OpenDescriptors() {
    return static_cast<int>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

class SystemCalls : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("pelagrin-calls-" + std::to_string(std::random_device()()));
        fs::create_directories(directory_);
        std::ofstream(Log(), std::ios::binary) << kEarlier;
    }
    void TearDown() override { fs::remove_all(directory_); }

    [[nodiscard]] fs::path Log() const { return directory_ / "Nitrox.txt"; }
    [[nodiscard]] std::string LogBytes() const {
        std::ifstream in(Log(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Print after the typical dive; returns the file error's text, or "" when it succeeded.
    std::string Print(testing::RecordingView& window) const {
        CalcValues values;
        Calculate(window, values);
        return testing::PrintError(window, values, directory_);
    }

    fs::path directory_;
};

// The diver is told why and where, nothing is confirmed, the log holds what it held (or says
// it may end in a partial record), and no descriptor is left open.
TEST_F(SystemCalls, EachFailingOnceIsReportedAndLeavesTheLogAsItWas) {
    const std::string partial = "; the log may end in a partial record";
    struct Row {
        Failure first;
        Failure then;
        std::string description;
        std::size_t left = 0;  // bytes of the record left after the earlier ones
        rlim_t room = 0;       // bytes the file-size limit leaves the record, when not 0
    };
    const std::size_t whole = kRecord.size();
    // Meeting the file-size limit raises SIGXFSZ, which by default ends the program.
    const auto handler = std::signal(SIGXFSZ, SIG_DFL);
    const Row rows[] = {
        {{"open", EACCES}, {}, "Permission denied"},
        {{"fstat", EIO}, {}, "Input/output error"},
        {{"flock", ENOLCK}, {}, "No locks available"},
        {{"lseek", EOVERFLOW}, {}, "Value too large for defined data type"},
        {{"write", ENOSPC}, {}, "No space left on device"},
        // Nothing was written, so a failed cutting back leaves nothing behind either.
        {{"write", ENOSPC}, {"ftruncate", EIO}, "No space left on device"},
        {{"fdatasync", EIO}, {}, "Input/output error"},
        {{"fdatasync", EIO}, {"ftruncate", EIO}, "Input/output error" + partial, whole},
        // The file-size limit stops the record 20 bytes in, and those cannot be taken back.
        {{"ftruncate", EIO}, {}, "File too large" + partial, 20, 20},
        // The record is on the disk by then, but the system could not confirm the close.
        {{"close", EIO}, {}, "Input/output error", whole},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.first.call) + (row.then.call ? " and ftruncate" : ""));
        std::ofstream(Log(), std::ios::binary | std::ios::trunc) << kEarlier;
        testing::RecordingView window("100", "32");
        const int open_before = OpenDescriptors();
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t saved = limit.rlim_cur;
        limit.rlim_cur = row.room != 0 ? kEarlier.size() + row.room : saved;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        armed[0] = row.first;
        armed[1] = row.then;
        const std::string error = Print(window);
        limit.rlim_cur = saved;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(armed[0].call, nullptr) << "the log never made the call";
        EXPECT_EQ(armed[1].call, nullptr) << "the log never made the call";
        armed[0] = armed[1] = {};
        EXPECT_EQ(error, "File error: " + row.description + " (" + Log().string() + ")");
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(LogBytes(), kEarlier + kRecord.substr(0, row.left));
        EXPECT_EQ(OpenDescriptors(), open_before);
    }
    std::signal(SIGXFSZ, handler);
}

// A log that links to /dev/null is refused each time, and each refusal closes what it opened.
TEST_F(SystemCalls, RefusedLogsLeaveNoDescriptorOpen) {
    fs::remove(Log());
    fs::create_symlink("/dev/null", Log());
    testing::RecordingView window("100", "32");
    const int open_before = OpenDescriptors();
    for (int print = 0; print < 100; ++print) {
        EXPECT_EQ(Print(window), "File error: Not a regular file (" + Log().string() + ")");
    }
    EXPECT_EQ(OpenDescriptors(), open_before);
}

// Started with its standard input closed, the program gets descriptor 0 for the log, and
// gives it back whether the Print fails or succeeds.
TEST_F(SystemCalls, PrintsWithStandardInputClosed) {
    const int input = ::dup(STDIN_FILENO);
    ::close(STDIN_FILENO);
    testing::RecordingView window("100", "32");
    armed[0] = {"flock", ENOLCK};
    EXPECT_NE(Print(window), "");
    const std::string error = Print(window);
    const bool given_back = ::fcntl(STDIN_FILENO, F_GETFD) == -1;
    if (input >= 0) {
        ::dup2(input, STDIN_FILENO);
        ::close(input);
    }
    EXPECT_EQ(error, "");
    EXPECT_TRUE(given_back);
    EXPECT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(LogBytes(), kEarlier + kRecord);
}

}  // namespace
}  // namespace pelagrin
