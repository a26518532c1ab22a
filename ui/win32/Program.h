// The calculator's run from its window's opening to its close: the message loop, and the
// word to the diver when the window cannot even be made.
#pragma once

#include <windows.h>

#include "ui/win32/Palette.h"

namespace pelagrin {

// Opens the window, shown as `show_command` asks, with its colours from `colours`, and runs
// until it closes. Returns the process's exit code.
int RunCalculator(HINSTANCE instance, int show_command, ColourSource colours) noexcept;

}  // namespace pelagrin
