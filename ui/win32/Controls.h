// The form's controls as child windows of the calculator's window: made in window order at
// their places and in their fonts for a DPI, and traced back to the description from a handle.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "ui/win32/DpiLayout.h"

namespace pelagrin::win32 {

// Makes every control of the form as a child of `window`, each with its place in the
// description as its identifier, into `controls` as it goes (what is made is destroyed with
// the window should a later one fail, which throws). Nothing is moved or redrawn afterwards
// before the window is first shown.
void CreateControls(HWND window, HINSTANCE instance, const Fonts& fonts, UINT dpi,
                    ControlHandles& controls);

// Where `control` stands in the description, from the identifier it was made with; nothing
// for a window that is not one of the form's controls.
std::optional<std::size_t> ControlIndex(const ControlHandles& controls, HWND control);

}  // namespace pelagrin::win32
