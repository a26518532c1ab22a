#include "log/LogFile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/RunTimeError.h"

namespace pelagrin::logfile {

void ThrowFileError(std::string_view description, const std::filesystem::path& file) {
    std::error_code unknown;
    std::filesystem::path full = std::filesystem::absolute(file, unknown);
    if (unknown) {
        full = file;
    }
    throw RunTimeError(ErrorKind::FileError,
                       std::string(description) + " (" + PathText(full) + ")");
}

// The log never keeps half a record where it can help it, and the next record never lands
// after a fragment; where the system would not cut it back, the diver is told the log may
// end in one.
void LogFile::RecordFailed(std::string description) const {
    if (!CutBack()) {
        description += kPartialRecordLeft;
    }
    ThrowFileError(description, file_);
}

}  // namespace pelagrin::logfile
