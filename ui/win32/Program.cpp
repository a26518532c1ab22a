// The calculator's run: its window, the message loop, and the word when it cannot start.
#include "ui/win32/Program.h"

#include <exception>
#include <string>

#include "ui/FormDescription.h"
#include "ui/win32/Form1.h"

namespace pelagrin {

// No command line, no settings, no file read: straight into the window.
int RunCalculator(HINSTANCE instance, int show_command, ColourSource colours) noexcept {
    try {
        Form1 window(instance, colours);
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
        try {
            const std::string text = std::string("The calculator cannot start: ") + error.what();
            MessageBoxA(nullptr, text.c_str(), form::kApplicationTitle, MB_OK | MB_ICONERROR);
        } catch (const std::exception&) {
            MessageBoxA(nullptr, "The calculator cannot start.", form::kApplicationTitle,
                        MB_OK | MB_ICONERROR);
        }
        return 1;
    }
}

}  // namespace pelagrin
