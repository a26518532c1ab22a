// What the system reports of its colours, and a control painted in the colours in force.
#include "ui/win32/Palette.h"

#include "ui/FormColours.h"
#include "ui/FormDescription.h"

namespace pelagrin {

form::SystemColours ReadSystemColours() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    // Where the question fails, the theme is taken as off: the form as designed.
    const bool on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return {on, SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOWTEXT)};
}

HBRUSH PaintControl(HDC dc, const form::Control* control, const form::SystemColours& system) {
    if (control != nullptr) {
        const form::Colours colours = form::ControlColours(*control, system);
        SetTextColor(dc, ColourRef(colours.text));
        SetBkColor(dc, ColourRef(colours.background));
    }
    SetBkMode(dc, OPAQUE);
    return BackgroundBrush(system);
}

}  // namespace pelagrin
