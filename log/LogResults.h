#pragma once

#include <filesystem>

#include "core/CalcValues.h"
#include "core/View.h"
#include "log/ProgramDirectory.h"

namespace pelagrin {

// The Print command: appends the last calculation's record to "Nitrox.txt" in the log
// directory (by default the program's own) and then tells the user where it went. Throws
// RunTimeError (FileError) when the file cannot be written; the confirmation is then not
// shown, so a failure is never reported as saved.
void LogResults(view& window, const CalcValues& values,
                const std::filesystem::path& log_directory = ProgramDirectory());

}  // namespace pelagrin
