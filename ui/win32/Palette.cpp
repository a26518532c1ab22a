#include "ui/win32/Palette.h"

namespace pelagrin {
namespace {

form::Rgb SystemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

}  // namespace

SystemColours ReadSystemColours() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    // Where the question fails, the theme is taken as off: the form as designed.
    const bool on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                    (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    return {on, SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOWTEXT)};
}

HBRUSH BackgroundBrush(const SystemColours& system) {
    return system.high_contrast ? GetSysColorBrush(COLOR_WINDOW)
                                : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

}  // namespace pelagrin
