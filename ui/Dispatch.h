#pragma once

#include <optional>
#include <string>
#include <string_view>
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
    // Exit: the window is to close now. Nothing is saved or confirmed: the log is closed
    // after every Print.
    bool close = false;
};

// Runs one of the window's commands over its view and figures. This is the one place a fault is
// caught: a run-time error names its kind
// ("Division by zero", "File error: ..."), and anything else, such as running out of memory
// over a huge paste, is an "Internal error: ...". Either way the command stops where it stood
// and the window carries on.
Outcome Dispatch(form::Command command, view& window, CalcValues& values);

// Enter, main or keypad, with any modifier and on every auto-repeat, in `box`: calculates
// when that box holds text, whatever the other box holds; an empty box ignores it.
Outcome PressEnter(InputBox box, view& window, CalcValues& values);

// What the diver reads before the words of a fault the calculator did not expect.
inline constexpr std::string_view kInternalError = "Internal error: ";

// The captions a Calculate wrote as one text for a screen reader, `between` each two.
std::string SpokenText(const std::vector<std::string>& captions, std::string_view between);
// One caption a line, as they stand on screen.
inline constexpr std::string_view kCaptionPerLine = "\n";
// Run together with a mark no figure contains, so no decimal point or digit of one reading
// can be heard as part of the next, in one utterance.
inline constexpr std::string_view kCaptionsRunTogether = "; ";

}  // namespace pelagrin
