// Reads the whole text a window or control shows, however long.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace pelagrin::win32 {

inline std::wstring WindowText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace pelagrin::win32
