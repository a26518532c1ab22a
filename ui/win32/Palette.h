// The colours the window is painted in: the form's own, or a high-contrast theme's.
#pragma once

#include <windows.h>

#include "ui/FormDescription.h"

namespace pelagrin {

// The colours the system asks every window to use, as it last reported them. A diver with
// low vision may turn on a high-contrast theme; the form's coloured captions on black must
// then give way to the theme's own text and background.
struct SystemColours {
    bool high_contrast = false;
    form::Rgb window{};       // the background of windows and boxes
    form::Rgb window_text{};  // text on that background
};

struct Colours {
    form::Rgb text;
    form::Rgb background;
};

// A control's text and background: the form's own unless a high-contrast theme is on, in
// which case every box and caption takes the theme's (as the system's own edit boxes do).
constexpr Colours ControlColours(const form::Control& control, const SystemColours& system) {
    if (system.high_contrast) {
        return {system.window_text, system.window};
    }
    return {control.colour, form::kBlack};
}

inline COLORREF ColourRef(form::Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// One of the system's colours (COLOR_WINDOW, ...).
inline form::Rgb SystemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// What the system reports now: its high-contrast switch and window colours.
SystemColours ReadSystemColours();

// Where the window reads its colours from, at its start and whenever the system says they
// changed: ReadSystemColours, or a test's stand-in for a theme wine does not have.
using ColourSource = SystemColours (*)();

// The brush for the window's and the controls' background: the form's black, or the
// theme's window colour (a system brush, never to be deleted).
inline HBRUSH BackgroundBrush(const SystemColours& system) {
    return system.high_contrast ? GetSysColorBrush(COLOR_WINDOW)
                                : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

// Sets up `dc` to draw `control` (null for a window that is none of the form's) in its colours
// on its background, and gives the brush for the rest of it.
HBRUSH PaintControl(HDC dc, const form::Control* control, const SystemColours& system);

}  // namespace pelagrin
