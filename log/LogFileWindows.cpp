#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "log/LogFile.h"
#include "platform/windows/WideText.h"

namespace pelagrin::logfile {
namespace {

HANDLE Native(void* handle) {
    return static_cast<HANDLE>(handle);
}

// The whole of the file and anything appended later: a mandatory lock on Windows, so no
// other writer gets in between a failed record and its cutting back.
constexpr DWORD kWholeFileLow = MAXDWORD;
constexpr DWORD kWholeFileHigh = MAXDWORD;

}  // namespace

std::string SystemDescription(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        return "Error " + std::to_string(code);
    }
    // The system's buffer goes back to it however this ends, a failed conversion included.
    const std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(text, &LocalFree);
    std::wstring_view message(text, length);
    // "Access is denied.\r\n": the message box puts the path after it, in brackets.
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.remove_suffix(1);
    }
    return Utf8(message);
}

std::string PathText(const std::filesystem::path& file) {
    // Straight from the wide name: the ANSI code page cannot spell every folder (潜水).
    return Utf8(file.native());
}

LogFile::LogFile(std::filesystem::path file) : file_(std::move(file)) {
    // Write access as well as append: cutting a failed record back and locking need it.
    const HANDLE handle = CreateFileW(file_.c_str(), FILE_WRITE_DATA | FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ThrowFileError(SystemDescription(GetLastError()), file_);
    }
    handle_ = handle;
    // A pipe, console or device could block the window or swallow the record.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(std::exchange(handle_, nullptr));
        ThrowFileError(kNotARegularFile, file_);
    }
}

LogFile::~LogFile() {
    if (handle_ != nullptr) {
        if (locked_) {
            OVERLAPPED whole{};
            UnlockFileEx(Native(handle_), 0, kWholeFileLow, kWholeFileHigh, &whole);
        }
        CloseHandle(Native(handle_));
    }
}

bool LogFile::TryLock() {
    OVERLAPPED whole{};
    if (LockFileEx(Native(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                   kWholeFileLow, kWholeFileHigh, &whole)) {
        locked_ = true;
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION) {
        return false;
    }
    ThrowFileError(SystemDescription(error), file_);
}

void LogFile::SeekEnd() {
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(Native(handle_), LARGE_INTEGER{}, &end, FILE_END)) {
        ThrowFileError(SystemDescription(GetLastError()), file_);
    }
    record_start_ = static_cast<std::uint64_t>(end.QuadPart);
}

void LogFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD size = bytes.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(Native(handle_), bytes.data(), size, &written, nullptr)) {
            RecordFailed(SystemDescription(GetLastError()));
        }
        if (written == 0) {
            RecordFailed(SystemDescription(ERROR_WRITE_FAULT));
        }
        bytes.remove_prefix(written);
    }
}

void LogFile::Flush() {
    if (!FlushFileBuffers(Native(handle_))) {
        RecordFailed(SystemDescription(GetLastError()));
    }
}

bool LogFile::CutBack() const {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(record_start_);
    if (SetFilePointerEx(Native(handle_), position, nullptr, FILE_BEGIN) &&
        SetEndOfFile(Native(handle_))) {
        return true;
    }
    // A write that failed before its first byte left nothing to cut (on a full disk, setting
    // the end where it already is can fail all the same).
    LARGE_INTEGER size{};
    return GetFileSizeEx(Native(handle_), &size) &&
           static_cast<std::uint64_t>(size.QuadPart) <= record_start_;
}

void LogFile::Close() {
    const HANDLE handle = Native(std::exchange(handle_, nullptr));
    // The handle is closed whatever the unlocking says; the first failure is the one told.
    OVERLAPPED whole{};
    const bool unlocked = !std::exchange(locked_, false) ||
                          UnlockFileEx(handle, 0, kWholeFileLow, kWholeFileHigh, &whole) != FALSE;
    const DWORD unlock_error = unlocked ? ERROR_SUCCESS : GetLastError();
    const bool closed = CloseHandle(handle) != FALSE;
    if (!unlocked) {
        ThrowFileError(SystemDescription(unlock_error), file_);
    }
    if (!closed) {
        ThrowFileError(SystemDescription(GetLastError()), file_);
    }
}

}  // namespace pelagrin::logfile
