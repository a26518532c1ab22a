// The colours the window is painted in: the form's own, or those high contrast asks for.
#pragma once

#include <windows.h>

#include "ui/FormColours.h"
#include "ui/FormDescription.h"

namespace pelagrin {

inline COLORREF ColourRef(form::Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// One of the system's colours (COLOR_WINDOW, ...).
inline form::Rgb SystemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// What the system reports now: its high-contrast switch and window colours.
form::SystemColours ReadSystemColours();

// Where the window reads its colours from, at its start and whenever the system says they
// changed: ReadSystemColours, or a test's stand-in for a theme wine does not have.
using ColourSource = form::SystemColours (*)();

// The brush for the window's and the controls' background: the theme's window colour where
// high contrast takes it, else the form's black (both kept by the system, never deleted).
inline HBRUSH BackgroundBrush(const form::SystemColours& system) {
    return system.high_contrast && form::WindowBackground(system) == system.window
               ? GetSysColorBrush(COLOR_WINDOW)
               : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

// Sets up `dc` to draw `control` (null for a window that is none of the form's) in its colours
// on its background, and gives the brush for the rest of it.
HBRUSH PaintControl(HDC dc, const form::Control* control, const form::SystemColours& system);

}  // namespace pelagrin
