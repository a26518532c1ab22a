#include <windows.h>

#include <exception>
#include <string>

#include "ui/win32/Form1.h"

// The calculator starts straight into its window: no command line, no settings, no file read.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int show_command) {
    try {
        pelagrin::Form1 window(instance);
        window.Show(show_command);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    } catch (const std::exception& error) {
        // The window could not even be made (out of handles or memory): say so rather than
        // vanish without a word.
        const std::string text = std::string("The calculator cannot start: ") + error.what();
        MessageBoxA(nullptr, text.c_str(), "Pelagrin", MB_OK | MB_ICONERROR);
        return 1;
    }
}
