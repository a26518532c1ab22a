#pragma once

#include <optional>
#include <string>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/FormDescription.h"

namespace pelagrin {

// Runs one of the window's commands (Calculate, Clear, Print or About) over its view and
// figures, and returns the text of the fault it ended with, for the window to show in an
// error box; nothing when it ran to its end. This is the one place a fault is caught: a
// run-time error names its kind ("Division by zero", "File error: ..."), and anything else,
// such as running out of memory over a huge paste, is an "Internal error: ...". Either way
// the command stops where it stood and the window carries on. Exit is the window's own.
std::optional<std::string> Dispatch(form::Command command, view& window, CalcValues& values);

}  // namespace pelagrin
