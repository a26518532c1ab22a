#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What AppendFile needs of the operating system. The append itself (lock, remember the length,
// write, flush, cut back on failure) is written once, in AppendRecord.h; each system supplies
// these few calls in a source file of its own.

namespace pelagrin::logfile {

// Descriptions of our own, the same words on every system.
inline constexpr std::string_view kNotARegularFile = "Not a regular file";
inline constexpr std::string_view kLockedByAnother = "Locked by another program";
inline constexpr std::string_view kPartialRecordLeft = "; the log may end in a partial record";

// Throws RunTimeError (FileError): `description`, then the file's full path in brackets.
[[noreturn]] void ThrowFileError(std::string_view description, const std::filesystem::path& file);

// The path as UTF-8 text, for a message box.
std::string PathText(const std::filesystem::path& file);

#if defined(_WIN32)
// The system's description of a Windows error code, in UTF-8, without the closing period.
std::string SystemDescription(unsigned long code);
#endif

// The log opened for appending. No call waits on anything but the disk.
class LogFile {
public:
    // Opens the file, creating it, and refuses anything but a regular file (a pipe, socket or
    // device could block the window, or swallow the record while "saved" is shown). Symbolic
    // links are followed. Throws RunTimeError (FileError).
    explicit LogFile(std::filesystem::path file);
    ~LogFile();  // error path only: unlocks and closes, with nothing left to report
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const noexcept { return file_; }

    // Takes the exclusive lock every instance of the program takes before it appends: true
    // when taken, false when another holds it. Throws on any other failure.
    bool TryLock();
    // Moves to the end and returns the length. Throws on failure.
    std::uint64_t SeekEnd();
    // Writes `bytes` at the end, normally in one call; a shorter write is carried on, so the
    // system says why it stopped. Returns the system's description of a failure.
    std::optional<std::string> Write(std::string_view bytes) const;
    // Has the system put the written bytes on the disk, so a late write error is still seen
    // while the record can be taken back. Returns the description of a failure.
    std::optional<std::string> Flush() const;
    // Cuts the file back to `length`; false only if it is left longer than that.
    bool CutBackTo(std::uint64_t length) const;
    // Releases the lock and closes. Returns the description of a failure.
    std::optional<std::string> Close();

private:
    std::filesystem::path file_;
#if defined(_WIN32)
    void* handle_ = nullptr;  // a HANDLE, kept without <windows.h> in every includer
    bool locked_ = false;     // Windows wants a lock released before its handle is closed
#else
    int fd_ = -1;
#endif
};

}  // namespace pelagrin::logfile
