#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace pelagrin {

// Appends `bytes` to the file, creating it if missing, and closes it. The file must be a
// regular file (symbolic links are followed); nothing waits on a pipe or device. The append
// holds the lock that other instances take, normally writes the bytes in one call, and has
// them flushed to the disk. If it fails part way the file is cut back to its earlier length,
// so a failure leaves it exactly as it was. What it held before is never rewritten or read.
// Any failure throws RunTimeError (FileError) with the system's description and the file's
// full path; when the cutting back failed and the file is longer than before, the description
// says the log may end in a partial record. While another instance holds the lock (at most
// two seconds), `while_waiting` is called between tries.
void AppendFile(const std::filesystem::path& file, std::string_view bytes,
                const std::function<void()>& while_waiting);

}  // namespace pelagrin
