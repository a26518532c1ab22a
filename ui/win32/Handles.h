// Owners of the window's system handles and COM objects: the window itself, fonts, icons,
// regions, menus, device
// contexts, an object selected into one, COM interface pointers and BSTRs. Each is released
// exactly once, however the code that made it ends, also when the window cannot be made.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <memory>
#include <system_error>
#include <type_traits>
#include <utility>

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

// The one owner of a window, as a smart pointer owns memory: it destroys the window once,
// unless the system destroyed it first (a close request, the session ending), in which case
// the window procedure lets go of it at WM_NCDESTROY. The handle stays readable while the
// window's last messages run, so they can still be handled as any other.
class UniqueWindow {
public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND window) noexcept : window_(window) {}
    ~UniqueWindow() { reset(); }
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    UniqueWindow(UniqueWindow&& other) noexcept : window_(other.release()) {}
    UniqueWindow& operator=(UniqueWindow&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.release();
        }
        return *this;
    }

    void reset() noexcept {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        window_ = nullptr;
    }
    HWND release() noexcept { return std::exchange(window_, nullptr); }
    [[nodiscard]] HWND get() const noexcept { return window_; }
    explicit operator bool() const noexcept { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};

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
