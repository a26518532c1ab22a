// Tells every window that the high-contrast theme was switched, as the system does when the
// diver switches it.
#include <windows.h>

int wmain() {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0,
                               SMTO_ABORTIFHUNG, 5000, &answer) != 0
               ? 0
               : 1;
}
