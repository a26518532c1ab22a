// The window's menu bar, made from the form's menu entries, and the command each of its
// entries stands for when chosen.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/FormDescription.h"
#include "ui/win32/Handles.h"

namespace pelagrin::win32 {

// The File drop-down, then the commands that sit on the bar itself and run at once. Throws
// where the system cannot make it.
Menu MakeMenuBar();

// The command of the menu entry a WM_COMMAND reports chosen; nothing for any other WM_COMMAND,
// such as a box's notification, which carries the box's handle.
std::optional<form::Command> ChosenCommand(WPARAM wparam, LPARAM lparam);

}  // namespace pelagrin::win32
