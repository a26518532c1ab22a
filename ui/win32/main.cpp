// The program's entry once the C runtime has started: the calculator, coloured as the
// system asks.
#include <windows.h>

#include "ui/win32/Palette.h"
#include "ui/win32/Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int show_command) {
    return pelagrin::RunCalculator(instance, show_command, pelagrin::ReadSystemColours);
}
