#pragma once

#include "ui/FormDescription.h"

namespace pelagrin::form {

// The colours the desktop asks every window to use, as it last reported them. A diver with
// low vision may turn high contrast on; the form's coloured captions on black must then give
// way to one text colour that stands out plainly from its background.
struct SystemColours {
    bool high_contrast = false;
    Rgb window{};       // the background of windows and boxes
    Rgb window_text{};  // text on that background
};

struct Colours {
    Rgb text;
    Rgb background;
};

// How far apart two colours stand for a reader, from 1:1 (the same) to 21:1 (black and white),
// as the web's accessibility guidelines measure it.
double ContrastRatio(Rgb first, Rgb second);

// What the guidelines ask of text for readers with low vision (their level AAA).
inline constexpr double kHighContrastRatio = 7.0;

// The one pair every text of the form takes in high contrast: the desktop's own window colours
// where they stand at least 7:1 apart, else white on black, which always does.
Colours HighContrastColours(const SystemColours& system);

// A control's text and background: the form's own unless high contrast is on.
Colours ControlColours(const Control& control, const SystemColours& system);

// The window's own background, behind the controls.
Rgb WindowBackground(const SystemColours& system);

}  // namespace pelagrin::form
