// The calculator with the system's colours as a diver who turns a high-contrast theme on after
// the window is up would have them: off when the window first asks, on with the system's own
// window colours from then on. Wine has no such theme, so the window is handed this source.
#include <windows.h>

#include <utility>

#include "ui/FormColours.h"
#include "ui/win32/Palette.h"
#include "ui/win32/Program.h"

namespace {

pelagrin::form::SystemColours SwitchedOnAfterFirstAsk() {
    static bool asked = false;
    const bool on = std::exchange(asked, true);
    return {on, pelagrin::SystemColour(COLOR_WINDOW), pelagrin::SystemColour(COLOR_WINDOWTEXT)};
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int show_command) {
    return pelagrin::RunCalculator(instance, show_command, SwitchedOnAfterFirstAsk);
}
