#include "log/AppendFile.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "core/RunTimeError.h"

namespace pelagrin {
namespace {

[[noreturn]] void ThrowFileError(int error, const std::filesystem::path& file) {
    const std::string description =
        error != 0 ? std::generic_category().message(error) : std::string("I/O error");
    throw RunTimeError(ErrorKind::FileError,
                       description + " (" + std::filesystem::absolute(file).string() + ")");
}

struct FileCloser {
    void operator()(std::FILE* stream) const noexcept { std::fclose(stream); }
};

}  // namespace

void AppendFile(const std::filesystem::path& file, std::string_view bytes) {
    errno = 0;
    // Binary append: the record carries its own "\r\n" line ends on every platform.
    std::unique_ptr<std::FILE, FileCloser> stream(std::fopen(file.string().c_str(), "ab"));
    if (!stream) {
        ThrowFileError(errno, file);
    }
    // Unbuffered, so the whole record goes to the system as one write of its own.
    std::setvbuf(stream.get(), nullptr, _IONBF, 0);

    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream.get()) != bytes.size() ||
        std::fflush(stream.get()) != 0) {
        ThrowFileError(errno, file);  // the closer still closes it
    }
    errno = 0;
    if (std::fclose(stream.release()) != 0) {
        ThrowFileError(errno, file);
    }
}

}  // namespace pelagrin
