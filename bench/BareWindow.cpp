// The yardstick for the calculator's start-up on Windows: the least a program can do to put a
// window on screen (register a class, create the window, show it, pump messages), built with
// the same compiler, flags and static runtime. Whatever the calculator takes beyond this is
// its own doing. Built a second time with BARE_WINDOW_WITH_BOX and the calculator's manifest,
// it also holds one edit box: the least a window with Common Controls 6 boxes costs, since the
// first box makes the system load them. Close the window to end it.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*command_line*/,
                    int show_command) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = L"Pelagrin.BareWindow";
    if (RegisterClassW(&window_class) == 0) {
        return 1;
    }
    HWND window =
        CreateWindowW(window_class.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 400, 375, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
#ifdef BARE_WINDOW_WITH_BOX
    if (CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10,
                        10, 120, 24, window, nullptr, instance, nullptr) == nullptr) {
        return 1;
    }
#endif
    ShowWindow(window, show_command);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
