#include "ui/win32/Form1.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <system_error>

#include "log/WideText.h"
#include "ui/Dispatch.h"

namespace pelagrin {
namespace {

constexpr wchar_t kClassName[] = L"Pelagrin.Form1";
constexpr wchar_t kIconName[] = L"IDI_ICON1";  // the program icon in the resources

// A fixed frame: the form is laid out in twips for one client size, so it is not resizable
// or maximisable; it can still be minimised.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

// Menu command identifiers: one per command, clear of the controls' identifiers.
constexpr UINT CommandId(form::Command command) {
    return 100 + static_cast<UINT>(command);
}

[[noreturn]] void ThrowLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

std::wstring WindowText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

int Scale(int twips, UINT dpi) {
    return form::Pixels(twips, static_cast<int>(dpi));
}

COLORREF Colour(form::Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// The classic face, bold, at the control's size in points for this DPI. Where the face is
// missing the font mapper picks the closest sans serif, as it does for any program.
HFONT CreateFormFont(double points, UINT dpi) {
    static const std::wstring face = Utf16(form::kFontFace);
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, form::kFontWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, face.c_str());
}

// Where the control that holds `role` stands in the description.
template <typename Role>
std::size_t IndexOf(std::optional<Role> form::Control::*field, Role role) {
    const auto* found = std::find_if(form::kControls.begin(), form::kControls.end(),
                                     [&](const form::Control& c) { return c.*field == role; });
    if (found == form::kControls.end()) {
        throw std::logic_error("control missing from the form");
    }
    return static_cast<std::size_t>(found - form::kControls.begin());
}

std::size_t Index(InputBox box) {
    return IndexOf(&form::Control::box, box);
}

std::size_t Index(ResultLabel label) {
    return IndexOf(&form::Control::result, label);
}

}  // namespace

Form1::Form1(HINSTANCE instance) : title_(Utf16(form::kApplicationTitle)) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, kIconName);
    window_class.hIconSm = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON,
                                                         GetSystemMetrics(SM_CXSMICON),
                                                         GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = kClassName;
    if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassExW");
    }

    // The File drop-down, then the commands that sit on the bar itself and run at once.
    menu_ = CreateMenu();
    HMENU file = nullptr;
    for (const form::MenuEntry& entry : form::kMenus) {
        const std::wstring caption = Utf16(entry.caption);
        if (!entry.command) {
            file = CreatePopupMenu();
            AppendMenuW(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file),
                        caption.c_str());
            continue;
        }
        AppendMenuW(entry.place == form::MenuPlace::File ? file : menu_, MF_STRING,
                    CommandId(*entry.command), caption.c_str());
    }

    // Sized once the window knows the DPI of the monitor it is on.
    window_ = CreateWindowExW(kExStyle, kClassName, Utf16(form::kCaption).c_str(), kStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, menu_, instance, this);
    if (window_ == nullptr) {
        ThrowLastError("CreateWindowExW");
    }
    dpi_ = GetDpiForWindow(window_);
    CreateControls(instance);
    Layout();
    const SIZE size = WindowSize(dpi_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    FocusDepthBox();
}

Form1::~Form1() {
    if (!closed_ && window_ != nullptr) {
        DestroyWindow(window_);
    }
    for (HFONT font : fonts_) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

void Form1::Show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
}

void Form1::CreateControls(HINSTANCE instance) {
    // Created in the description's order, which puts the boxes above the caption labels
    // that overlap their top edge, so no label paints over a box's border.
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        const form::Control& control = form::kControls[i];
        const bool is_box = control.kind == form::Kind::TextBox;
        // Boxes scroll sideways rather than stop at their width; labels show their text as
        // it is, with no "&" taken for an access key.
        const DWORD style =
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
            (is_box ? WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL : SS_LEFT | SS_NOPREFIX);
        HWND handle = CreateWindowExW(is_box ? WS_EX_CLIENTEDGE : 0, is_box ? L"EDIT" : L"STATIC",
                                      Utf16(control.text).c_str(), style, 0, 0, 0, 0, window_,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(i + 1)),
                                      instance, nullptr);
        if (handle == nullptr) {
            ThrowLastError("CreateWindowExW");
        }
        controls_[i] = handle;
        if (is_box) {
            // No limit on what may be typed (the system's default stops at 32767).
            SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            box_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1::BoxProc)));
        }
    }
}

// Places every control and sets its font for the current DPI, so the form keeps its
// proportions and stays sharp on any monitor.
void Form1::Layout() {
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        const form::Control& control = form::kControls[i];
        const form::Place& place = control.place;
        SetWindowPos(controls_[i], nullptr, Scale(place.left, dpi_), Scale(place.top, dpi_),
                     Scale(place.width, dpi_), Scale(place.height, dpi_),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        HFONT font = CreateFormFont(control.points, dpi_);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (fonts_[i] != nullptr) {
            DeleteObject(fonts_[i]);
        }
        fonts_[i] = font;
    }
}

SIZE Form1::WindowSize(UINT dpi) const {
    RECT frame{0, 0, Scale(form::kClientWidth, dpi), Scale(form::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kStyle, TRUE, kExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The frame's size is worked out for a one-line menu bar; should the bar wrap, or the frame
// differ from what the system predicted, grow or shrink it until the client area is exact.
void Form1::FitClientArea() {
    RECT client{};
    RECT frame{};
    GetClientRect(window_, &client);
    GetWindowRect(window_, &frame);
    const int dx = Scale(form::kClientWidth, dpi_) - (client.right - client.left);
    const int dy = Scale(form::kClientHeight, dpi_) - (client.bottom - client.top);
    if (dx != 0 || dy != 0) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + dx,
                     frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return form->OnMessage(message, wparam, lparam);
}

LRESULT Form1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            // Menu entries only: the boxes' notifications carry a control's handle.
            if (lparam == 0 && HIWORD(wparam) == 0) {
                const auto chosen = std::find_if(
                    form::kMenus.begin(), form::kMenus.end(), [wparam](const form::MenuEntry& e) {
                        return e.command && LOWORD(wparam) == CommandId(*e.command);
                    });
                if (chosen != form::kMenus.end()) {
                    Run(*chosen->command);
                    return 0;
                }
            }
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return reinterpret_cast<LRESULT>(
                PaintControl(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
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
            const SIZE size = WindowSize(static_cast<UINT>(wparam));
            *reinterpret_cast<SIZE*>(lparam) = size;
            return TRUE;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wparam);
            Layout();
            const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
            SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                         suggested.right - suggested.left, suggested.bottom - suggested.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            FitClientArea();
            return 0;
        }
        case WM_DESTROY:
            // Exit and every close request end here: nothing is saved or confirmed, the log
            // is never left open, and the process ends once this event returns.
            closed_ = true;
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

HBRUSH Form1::PaintControl(HDC dc, HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == control) {
            SetTextColor(dc, Colour(form::kControls[i].colour));
            break;
        }
    }
    SetBkColor(dc, Colour(form::kBlack));
    SetBkMode(dc, OPAQUE);
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

HWND Form1::OtherBox(HWND box) const {
    HWND depth = controls_[Index(InputBox::txtAD)];
    return box == depth ? controls_[Index(InputBox::txtO2)] : depth;
}

LRESULT CALLBACK Form1::BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(box, GWLP_USERDATA));
    return form->OnBoxMessage(box, message, wparam, lparam);
}

LRESULT Form1::OnBoxMessage(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Enter, main or keypad, with any of Shift, Ctrl or Alt and on every auto-repeat,
            // calculates when this box holds text, whatever the other box holds. The key
            // then goes on to the box as usual.
            if (wparam == VK_RETURN && GetWindowTextLengthW(box) > 0) {
                Run(form::Command::Calculate);
                if (closed_) {
                    return 0;
                }
            } else if (wparam == VK_TAB && message == WM_KEYDOWN && GetKeyState(VK_CONTROL) >= 0) {
                // Tab and Shift+Tab: the two boxes are the only stops.
                HWND next = OtherBox(box);
                SetFocus(next);
                SendMessageW(next, EM_SETSEL, 0, -1);
                return 0;
            }
            break;
        case WM_CHAR:
        case WM_SYSCHAR:
            // A single-line box has no use for these characters and would only beep.
            if (wparam == L'\r' || wparam == L'\n' || wparam == L'\t') {
                return 0;
            }
            break;
        case WM_SETFOCUS:
            last_focus_ = box;
            break;
        default:
            break;
    }
    return CallWindowProcW(box_proc_, box, message, wparam, lparam);
}

void Form1::Run(form::Command command) {
    if (closed_) {
        return;
    }
    if (command == form::Command::Exit) {
        DestroyWindow(window_);
        return;
    }
    if (const std::optional<std::string> fault = Dispatch(command, *this, values_)) {
        ShowError(*fault);
    }
}

void Form1::ShowError(const std::string& fault) const noexcept {
    if (closed_) {
        return;
    }
    const wchar_t* text = L"Internal error: out of memory";
    std::wstring wide;
    try {
        wide = Utf16(fault);
        text = wide.c_str();
    } catch (const std::exception&) {
        // The fixed text above still tells the diver the command did not finish.
    }
    MessageBoxW(window_, text, title_.c_str(), MB_OK | MB_ICONERROR);
}

std::string Form1::InputText(InputBox box) const {
    return Utf8(WindowText(controls_[Index(box)]));
}

void Form1::SetInputText(InputBox box, std::string_view text) {
    SetWindowTextW(controls_[Index(box)], Utf16(text).c_str());
}

void Form1::SetCaption(ResultLabel label, std::string_view text) {
    SetWindowTextW(controls_[Index(label)], Utf16(text).c_str());
}

void Form1::FocusDepthBox() {
    last_focus_ = controls_[Index(InputBox::txtAD)];
    SetFocus(last_focus_);
}

void Form1::ShowMessage(std::string_view text, MessageStyle style,
                        std::optional<std::string_view> title) {
    if (closed_) {
        return;  // the window is gone: no box may outlive it
    }
    const std::wstring caption = title ? Utf16(*title) : title_;
    const UINT icon = style == MessageStyle::MessageInformation ? MB_ICONINFORMATION : 0;
    MessageBoxW(window_, Utf16(text).c_str(), caption.c_str(), MB_OK | icon);
}

}  // namespace pelagrin
