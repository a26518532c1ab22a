// The calculator's window on Windows: message routing, and the `view` the commands see.
#include "ui/win32/Form1.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/Val.h"
#include "platform/windows/WideText.h"
#include "ui/Dispatch.h"
#include "ui/win32/MenuBar.h"
#include "ui/win32/WindowText.h"

namespace pelagrin {

HWND Form1::Box(InputBox input) const {
    return controls_.at(form::IndexOf(input));
}

// The description of `control`, found from the identifier it was made with; null for a
// window that is none of the form's.
const form::Control* Form1::Described(HWND control) const {
    const auto index = win32::ControlIndex(controls_, control);
    return index ? &form::kControls.at(*index) : nullptr;
}

// A handler threw: the diver is told, in the words the dispatch gives a fault it did not
// expect.
void Form1::ReportFault(const char* what) const noexcept {
    ShowError(kInternalError, what);
}

LRESULT Form1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE:
            // Windows 10 1607 knows only the first per-monitor mode, in which the title bar and
            // menu bar keep their size on a denser monitor unless asked; later versions scale
            // them anyway.
            EnableNonClientDpiScaling(window_.get());
            break;
        case WM_COMMAND:
            if (const auto command = win32::ChosenCommand(wparam, lparam)) {
                Run(*command);
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(PaintControl(reinterpret_cast<HDC>(wparam),
                                                          Described(reinterpret_cast<HWND>(lparam)),
                                                          colours_));
        case WM_ERASEBKGND:
            // The class's brush is the form's black; a high-contrast theme's background is
            // painted here instead.
            if (colours_.high_contrast) {
                RECT client{};
                GetClientRect(window_.get(), &client);
                FillRect(reinterpret_cast<HDC>(wparam), &client, BackgroundBrush(colours_));
                return 1;
            }
            break;
        case WM_SETTINGCHANGE:
            if (wparam != SPI_SETHIGHCONTRAST) {
                break;
            }
            [[fallthrough]];
        case WM_SYSCOLORCHANGE:
            // A high-contrast theme turned on or off, or its colours changed: repaint all.
            colours_ = read_colours_();
            RedrawWindow(window_.get(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case WM_GETOBJECT:
            accessibility_.Asked();  // then the system answers
            break;
        case WM_NOTIFY:
            if (tip_.Asks(*reinterpret_cast<const NMHDR*>(lparam))) {
                auto& request = *reinterpret_cast<NMTTDISPINFOW*>(lparam);
                const auto index =
                    win32::ControlIndex(controls_, reinterpret_cast<HWND>(request.hdr.idFrom));
                const bool result = index && form::ResultOf(form::kControls.at(*index));
                tip_.Fill(request, result ? win32::FontOf(fonts_, *index) : nullptr);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            // The mouse over a result label: the first time, make the tooltip that can show
            // its caption whole.
            if (const form::Control* control = Described(reinterpret_cast<HWND>(wparam));
                control != nullptr && form::ResultOf(*control)) {
                tip_.MouseOverResult(window_.get(), instance_, controls_);
            }
            break;
        case WM_SETFOCUS:
            // Back from another window or a message box: the diver carries on typing where
            // they left off.
            if (last_focus_ != nullptr) {
                SetFocus(last_focus_);
            }
            return 0;
        case WM_GETDPISCALEDSIZE: {
            // Moving to a monitor of another DPI: ask for exactly the frame that holds the
            // client area at the new DPI, rather than the old frame scaled.
            const SIZE size = win32::FrameSize(static_cast<UINT>(wparam));
            *reinterpret_cast<SIZE*>(lparam) = size;
            return TRUE;
        }
        case WM_DPICHANGED:
            // Moved to a monitor of another DPI: the controls, the icons, then the frame.
            dpi_ = HIWORD(wparam);
            win32::Relayout(window_.get(), controls_, fonts_, dpi_);
            icons_.Load(window_.get(), instance_, dpi_);
            win32::TakeFrame(window_.get(), *reinterpret_cast<const RECT*>(lparam), dpi_);
            return 0;
        case WM_DESTROY:
            // Exit and every close request end here: nothing is saved or confirmed, the log
            // is never left open, and the process ends once this event returns.
            accessibility_.Forget();  // the controls are still there
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_.get(), message, wparam, lparam);
}

LRESULT Form1::OnChildMessage(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // The character this key makes comes next (TranslateMessage posted it).
            keypad_decimal_ = wparam == VK_DECIMAL || wparam == VK_SEPARATOR;
            // Enter, main or keypad, with any of Shift, Ctrl or Alt and on every auto-repeat,
            // calculates when this box holds text, whatever the other box holds. The key
            // then goes on to the box as usual. Taken here, at the key itself, because the
            // edit control's own Enter handling (WM_GETDLGCODE, a dialog's default button)
            // sees neither every repeat nor Enter with a modifier.
            if (wparam == VK_RETURN) {
                if (const form::Control* control = Described(box); control != nullptr) {
                    Handle(PressEnter(form::BoxOf(*control)->input, *this, values_));
                }
                if (!window_) {
                    return 0;  // closed while its error box was up: the box is gone too
                }
            } else if (wparam == VK_TAB && message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0) {
                // Tab and Shift+Tab: the two boxes are the only stops.
                HWND next =
                    box == Box(InputBox::txtAD) ? Box(InputBox::txtO2) : Box(InputBox::txtAD);
                SetFocus(next);
                SendMessageW(next, EM_SETSEL, 0, -1);
                return 0;
            }
            break;
        case WM_CHAR:
            // The keypad's decimal key types the one decimal point the calculator reads,
            // whatever the layout gives it: German and most European layouts give a comma,
            // which would cut 32.5 % to 32 %. With NumLock off it is Delete and makes none.
            if (std::exchange(keypad_decimal_, false)) {
                wparam = static_cast<WPARAM>(kDecimalPoint);
            }
            [[fallthrough]];
        case WM_SYSCHAR:
            // A single-line box has no use for these characters and would only beep.
            if (wparam == L'\r' || wparam == L'\n' || wparam == L'\t') {
                return 0;
            }
            break;
        case WM_SETFOCUS:
            last_focus_ = box;
            break;
        case WM_GETOBJECT:
            accessibility_.Asked();  // then the system answers for the box
            break;
        default:
            break;
    }
    return DefSubclassProc(box, message, wparam, lparam);
}

void Form1::Run(form::Command command) {
    Handle(Dispatch(command, *this, values_));
}

void Form1::Handle(const Outcome& outcome) {
    if (outcome.close) {
        window_.reset();
    } else if (outcome.fault) {
        ShowError({}, *outcome.fault);
    } else if (window_) {
        accessibility_.Announce(outcome.spoken);
    }
}

void Form1::ShowError(std::string_view prefix, std::string_view fault) const noexcept {
    const wchar_t* text = out_of_memory_.c_str();
    std::wstring wide;
    try {
        wide = Utf16(prefix) + Utf16(fault);
        text = wide.c_str();
    } catch (const std::exception&) {
        // The text made at the start still tells the diver the command did not finish.
    }
    Say(text, title_.c_str(), MB_ICONERROR);
}

void Form1::Say(const wchar_t* text, const wchar_t* title, UINT icon) const noexcept {
    // A command may still be running when a close request ends the window (under its own
    // error box, say): no box may outlive the window it belongs to.
    if (window_) {
        MessageBoxW(window_.get(), text, title, MB_OK | icon);
    }
}

std::string Form1::InputText(InputBox box) const {
    return Utf8Replacing(win32::WindowText(Box(box)));
}

void Form1::SetInputText(InputBox box, std::string_view text) {
    SetWindowTextW(Box(box), Utf16(text).c_str());
}

void Form1::SetCaption(ResultLabel label, std::string_view text) {
    SetWindowTextW(controls_.at(form::IndexOf(label)), Utf16(text).c_str());
    tip_.Hide();  // a tip on show may hold the old caption
}

void Form1::FocusDepthBox() {
    last_focus_ = Box(InputBox::txtAD);
    SetFocus(last_focus_);
}

void Form1::KeepPainted() {
    // Paint messages alone: no key, click or menu choice is taken, so no command can start
    // in the middle of the one that waits.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
        DispatchMessageW(&message);
    }
}

void Form1::ShowMessage(std::string_view text, MessageStyle style,
                        std::optional<std::string_view> title) {
    const std::wstring caption = title ? Utf16(*title) : title_;
    const UINT icon = style == MessageStyle::MessageInformation ? MB_ICONINFORMATION : 0;
    Say(Utf16(text).c_str(), caption.c_str(), icon);
}

}  // namespace pelagrin
