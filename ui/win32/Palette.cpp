#include "ui/win32/Palette.h"

namespace pelagrin {

SystemColours ReadSystemColours() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    // Where the question fails, the theme is taken as off: the form as designed.
    const bool on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return {on, SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOWTEXT)};
}

}  // namespace pelagrin
