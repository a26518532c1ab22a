#include "log/ProgramDirectory.h"

#include <filesystem>
#include <system_error>

#include "core/RunTimeError.h"

#if defined(_WIN32)
#include <windows.h>

#include "log/LogFile.h"
#endif

namespace pelagrin {
namespace {

std::filesystem::path ExecutablePath() {
#if defined(_WIN32)
    // Kept wide from the system to the file name, so any folder name works, and grown until
    // the whole name fits: a name longer than MAX_PATH comes back cut short, with the full
    // buffer's length.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            throw RunTimeError(ErrorKind::FileError, logfile::SystemDescription(GetLastError()) +
                                                         " (cannot locate the program)");
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
#else
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw RunTimeError(ErrorKind::FileError,
                           error.message() + " (cannot locate the program through /proc/self/exe)");
    }
    return path;
#endif
}

}  // namespace

std::filesystem::path ProgramDirectory() {
    return ExecutablePath().parent_path();
}

}  // namespace pelagrin
