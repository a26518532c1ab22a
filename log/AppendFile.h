#pragma once

#include <filesystem>
#include <string_view>

namespace pelagrin {

// Appends `bytes` to the file, creating it if missing, with a single write, and closes it.
// What the file held before is never truncated, rewritten or read. Any failure to open,
// write, flush or close throws RunTimeError (FileError) with the system's description and
// the file's full path; the file is closed in every case.
void AppendFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace pelagrin
