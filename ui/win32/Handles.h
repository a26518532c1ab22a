// Owners of the window's system handles and COM objects: fonts, icons, regions, menus, device
// contexts, an object selected into one, COM interface pointers and BSTRs. Each is released
// exactly once, however the code that made it ends, also when the window cannot be made.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <system_error>
#include <type_traits>

namespace pelagrin::win32 {

// A handle the system would not make: its last error, with the call that failed.
[[noreturn]] inline void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct DestroyMenuHandle {
    void operator()(HMENU menu) const noexcept { DestroyMenu(menu); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, DeleteGdiObject>;
using Region = std::unique_ptr<std::remove_pointer_t<HRGN>, DeleteGdiObject>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, DestroyIconHandle>;
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, DestroyMenuHandle>;

// A COM interface pointer, released once.
struct ReleaseInterface {
    void operator()(IUnknown* object) const noexcept { object->Release(); }
};
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ReleaseInterface>;

// A BSTR, freed by the SysFreeString it was found with: the accessibility libraries are loaded
// only when a screen reader asks, so the function is not linked but looked up.
struct FreeBstr {
    void(WINAPI* free_string)(wchar_t*) = nullptr;
    void operator()(wchar_t* text) const noexcept {
        if (free_string != nullptr) {
            free_string(text);
        }
    }
};
using Bstr = std::unique_ptr<wchar_t, FreeBstr>;

// A window's device context, given back to it however the drawing ends.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&&) = delete;
    WindowDc& operator=(WindowDc&&) = delete;

    [[nodiscard]] HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for as long as this lives; the one it replaced
// goes back in afterwards.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    Selection(Selection&&) = delete;
    Selection& operator=(Selection&&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace pelagrin::win32
