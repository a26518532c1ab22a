#pragma once

#include <filesystem>

namespace pelagrin {

// The directory that holds the running executable, asked of the operating system, so the
// log lands beside the program whatever directory it was started from. Throws RunTimeError
// (FileError) when the system cannot tell.
std::filesystem::path ProgramDirectory();

}  // namespace pelagrin
