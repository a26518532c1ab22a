// The system's colours as a diver who turns a high-contrast theme on after the window is up
// would have them: off when the window first asks, on with the system's own window colours
// from then on. Wine has no such theme, so the high-contrast window is this program with
// this file in place of the window's question to the system.
#include <utility>

#include "ui/win32/Palette.h"

namespace pelagrin {

SystemColours ReadSystemColours() {
    static bool asked = false;
    const bool on = std::exchange(asked, true);
    return {on, SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOWTEXT)};
}

}  // namespace pelagrin
