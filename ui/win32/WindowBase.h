// The static window procedure of a window class backed by a C++ object, written once: the
// object handed over in CreateWindowExW's last argument is kept in GWLP_USERDATA from
// WM_NCCREATE to WM_NCDESTROY and owns the window for that time (window_), and no exception
// crosses the system's frames back into the message loop. The same boundary for the procedure that subclasses a child control; and
// the class registered with that procedure.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <exception>

#include "ui/win32/Handles.h"

namespace pelagrin::win32 {

// `Window` derives from WindowBase<Window> and, for WindowBase to call (a friend), has
//   LRESULT OnMessage(UINT, WPARAM, LPARAM);             its window's messages
//   LRESULT OnChildMessage(HWND, UINT, WPARAM, LPARAM);  a subclassed child's
//   void ReportFault(const char* what) const noexcept;    a handler's exception, told
// A message that throws is reported and then handled as the system handles it for any window.
template <typename Window>
class WindowBase {
protected:
    WindowBase() = default;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
            self->window_ = UniqueWindow(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr) {
            return DefWindowProcW(window, message, wparam, lparam);
        }
        if (message != WM_NCDESTROY) {
            return Handled(self, window, message, wparam, lparam);
        }
        // The window's last message: nothing may reach the object after it, and the window is
        // gone, so there is nothing left to own.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const LRESULT result = Handled(self, window, message, wparam, lparam);
        static_cast<void>(self->window_.release());
        return result;
    }

    // Registers the window class `name` for Window, with the icons the title bar and the task
    // switcher show and the background brush. They are the class's for as long as the process
    // runs; a class already there keeps its own.
    static void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, Icon big_icon,
                                    Icon small_icon, HBRUSH background) {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = &WindowProc;
        window_class.hInstance = instance;
        window_class.hIcon = big_icon.get();
        window_class.hIconSm = small_icon.get();
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.hbrBackground = background;
        window_class.lpszClassName = name;
        if (RegisterClassExW(&window_class) != 0) {
            static_cast<void>(big_icon.release());
            static_cast<void>(small_icon.release());
        } else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            ThrowLastError("RegisterClassExW");
        }
    }

    // Has `child`'s messages pass through OnChildMessage first; false where it cannot.
    bool Subclass(HWND child) {
        return SetWindowSubclass(child, &ChildProc, 0, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    }

    // The window's last messages go to the system alone: for a window abandoned half made.
    void Detach() noexcept { SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0); }

    // Made in CreateWindowExW's first message, and gone with the window, whoever destroys it.
    // Window's destructor destroys it first, while the object its procedure calls is whole.
    UniqueWindow window_;

private:
    static LRESULT Handled(Window* self, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        try {
            return self->OnMessage(message, wparam, lparam);
        } catch (const std::exception& error) {
            self->ReportFault(error.what());
        } catch (...) {
            self->ReportFault("unknown fault");
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }

    static LRESULT CALLBACK ChildProc(HWND child, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR owner) {
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(child, &ChildProc, id);
        } else if (auto* self = static_cast<Window*>(reinterpret_cast<WindowBase*>(owner));
                   self != nullptr) {
            try {
                return self->OnChildMessage(child, message, wparam, lparam);
            } catch (const std::exception& error) {
                self->ReportFault(error.what());
            } catch (...) {
                self->ReportFault("unknown fault");
            }
        }
        return DefSubclassProc(child, message, wparam, lparam);
    }
};

}  // namespace pelagrin::win32
