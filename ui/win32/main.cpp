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
        MSG message{};
        BOOL got = 0;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // 0: WM_QUIT, with the exit code; -1: the queue itself failed, and no message came.
        return got == 0 ? static_cast<int>(message.wParam) : 1;
    } catch (const std::exception& error) {
        // The window could not even be made (out of handles or memory): say so rather than
        // vanish without a word.
        const std::string text = std::string("The calculator cannot start: ") + error.what();
        MessageBoxA(nullptr, text.c_str(), "Pelagrin", MB_OK | MB_ICONERROR);
        return 1;
    }
}
