#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// What AppendFile needs of the operating system: the log opened for appending and the few
// calls of one append, each system's in a source file of its own. Every call that fails
// throws RunTimeError (FileError) right where the system refused, with the system's
// description and the file's full path; a record that fails part way is first cut back, by
// the rule written once in LogFile.cpp for every system.

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
    // links are followed.
    explicit LogFile(std::filesystem::path file);
    ~LogFile();  // error path only: unlocks and closes, with nothing left to report
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const noexcept { return file_; }

    // Takes the exclusive lock every instance of the program takes before it appends: true
    // when taken, false when another holds it.
    bool TryLock();
    // Moves to the end, where the record starts: under the lock, the length a failed record
    // is cut back to.
    void SeekEnd();
    // Writes `bytes` at the end, normally in one call; a shorter write is carried on, so the
    // system says why it stopped.
    void Write(std::string_view bytes);
    // Has the system put the written bytes on the disk, so a late write error is still seen
    // while the record can be taken back.
    void Flush();
    // Releases the lock and closes.
    void Close();

private:
    // The record failed part way, for `description`: cuts the file back to where the record
    // started, then throws; the error warns of a partial record when the file stays longer.
    [[noreturn]] void RecordFailed(std::string description) const;
    // Cuts the file back to where the record started; false only if it is left longer.
    [[nodiscard]] bool CutBack() const;

    std::filesystem::path file_;
    std::uint64_t record_start_ = 0;
#if defined(_WIN32)
    void* handle_ = nullptr;  // a HANDLE, kept without <windows.h> in every includer
    bool locked_ = false;     // Windows wants a lock released before its handle is closed
#else
    int fd_ = -1;
#endif
};

}  // namespace pelagrin::logfile
