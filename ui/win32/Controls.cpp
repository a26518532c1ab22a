// The form's controls as child windows: made from the description, and found again.
#include "ui/win32/Controls.h"

#include "platform/windows/WideText.h"
#include "ui/FormDescription.h"
#include "ui/win32/Handles.h"

namespace pelagrin::win32 {
namespace {

constexpr int kFirstControlId = 1000;

constexpr UINT_PTR ControlId(std::size_t index) {
    return kFirstControlId + index;
}

}  // namespace

void CreateControls(HWND window, HINSTANCE instance, const Fonts& fonts, UINT dpi,
                    ControlHandles& controls) {
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        const form::Control& control = form::kControls[i];
        const bool is_box = form::BoxOf(control).has_value();
        // Boxes scroll sideways rather than stop at their width. Labels show their text as
        // it is, with no "&" taken for an access key, on one line that ends in "..." rather
        // than wrap out of sight when a figure is too wide; a result label takes the mouse,
        // so its tooltip can show the figure whole.
        const DWORD label_style =
            SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | (form::ResultOf(control) ? SS_NOTIFY : 0);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
                            (is_box ? WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL : label_style);
        const form::Place& place = control.place;
        HWND handle = CreateWindowExW(is_box ? WS_EX_CLIENTEDGE : 0, is_box ? L"EDIT" : L"STATIC",
                                      Utf16(control.text).c_str(), style, Scale(place.left, dpi),
                                      Scale(place.top, dpi), Scale(place.width, dpi),
                                      Scale(place.height, dpi), window,
                                      reinterpret_cast<HMENU>(ControlId(i)), instance, nullptr);
        if (handle == nullptr) {
            ThrowLastError("CreateWindowExW");
        }
        controls.at(i) = handle;
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(fonts, i)), FALSE);
        if (is_box) {
            // No limit on what may be typed (the system's default stops at 32767).
            SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);
        }
    }
}

std::optional<std::size_t> ControlIndex(const ControlHandles& controls, HWND control) {
    const int id = control == nullptr ? 0 : GetDlgCtrlID(control);
    if (id < kFirstControlId) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(id - kFirstControlId);
    if (index >= controls.size() || controls[index] != control) {
        return std::nullopt;  // a window of another kind that happens to carry such a number
    }
    return index;
}

}  // namespace pelagrin::win32
