#include "log/AppendFile.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "core/RunTimeError.h"
#include "log/AppendRecord.h"
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

void AppendFile(const std::filesystem::path& file, std::string_view bytes,
                const std::function<void()>& while_waiting) {
    logfile::LogFile log(file);
    logfile::AppendRecord(log, bytes, while_waiting);
}

}  // namespace pelagrin
