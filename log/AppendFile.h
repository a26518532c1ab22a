#pragma once

#include <filesystem>
#include <string_view>

namespace pelagrin {

// Appends `bytes` to the file, creating it if missing, and closes it. The file must be a
// regular file (symbolic links are followed); nothing waits on a pipe or device. The append
// holds the lock that other instances take, normally writes the bytes in one call, and has
// them flushed to the disk. If it fails part way the file is cut back to its earlier length,
// so a failure leaves it exactly as it was. What it held before is never rewritten or read.
// Any failure throws RunTimeError (FileError) with the system's description and the file's
// full path; when even the cutting back failed, the description says the log may end in a
// partial record.
void AppendFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace pelagrin
