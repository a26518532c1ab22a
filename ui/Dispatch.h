#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/FormDescription.h"

namespace pelagrin {

// How a command ended, for the window to tell the diver.
struct Outcome {
    // The text of the fault it ended with, for an error box; nothing when it ran to its end.
    std::optional<std::string> fault;
    // The result captions a Calculate wrote, in the order it wrote them, for a screen reader
    // to speak once it is over: the figures change where the diver is not looking, and the
    // focus stays in the box they typed in. Empty for every other command, for a Calculate
    // that wrote nothing, and after a fault, where the error box is what is spoken.
    std::vector<std::string> spoken;
};

// Runs one of the window's commands (Calculate, Clear, Print or About) over its view and
// figures. This is the one place a fault is caught: a run-time error names its kind
// ("Division by zero", "File error: ..."), and anything else, such as running out of memory
// over a huge paste, is an "Internal error: ...". Either way the command stops where it stood
// and the window carries on. Exit is the window's own.
Outcome Dispatch(form::Command command, view& window, CalcValues& values);

}  // namespace pelagrin
