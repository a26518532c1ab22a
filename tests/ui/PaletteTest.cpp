#include "ui/win32/Palette.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pelagrin {
namespace {

auto Tie(form::Rgb colour) {
    return std::tuple(colour.red, colour.green, colour.blue);
}

// With no high-contrast theme every control keeps the form's colours, whatever the system's
// window colours are; with one, every control takes the theme's text on the theme's
// background, the coloured captions included.
TEST(Palette, TheFormsColoursUnlessAHighContrastThemeIsOn) {
    const form::Rgb theme_background{0, 0, 128};
    const form::Rgb theme_text{255, 255, 0};
    for (const form::Control& control : form::kControls) {
        const Colours off = ControlColours(control, {false, theme_background, theme_text});
        EXPECT_EQ(Tie(off.text), Tie(control.colour)) << control.name;
        EXPECT_EQ(Tie(off.background), Tie(form::kBlack)) << control.name;

        const Colours on = ControlColours(control, {true, theme_background, theme_text});
        EXPECT_EQ(Tie(on.text), Tie(theme_text)) << control.name;
        EXPECT_EQ(Tie(on.background), Tie(theme_background)) << control.name;
    }
}

}  // namespace
}  // namespace pelagrin
