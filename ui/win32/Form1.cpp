#include "ui/win32/Form1.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <system_error>
#include <utility>

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

// Menu command identifiers: one per command, clear of the controls' identifiers and of the
// dialog identifiers (IDOK, IDCANCEL, ...) that the system sends on its own.
constexpr UINT CommandId(form::Command command) {
    return 100 + static_cast<UINT>(command);
}

constexpr UINT_PTR ControlId(std::size_t index) {
    return 1000 + index;
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

// Where the first control that `matches` stands in the description.
template <typename Predicate>
std::size_t IndexWhere(Predicate matches) {
    const auto* found = std::find_if(form::kControls.begin(), form::kControls.end(), matches);
    if (found == form::kControls.end()) {
        throw std::logic_error("control missing from the form");
    }
    return static_cast<std::size_t>(found - form::kControls.begin());
}

std::size_t Index(InputBox box) {
    return IndexWhere([box](const form::Control& c) { return c.box == box; });
}

std::size_t Index(ResultLabel label) {
    return IndexWhere([label](const form::Control& c) { return c.result == label; });
}

std::size_t Index(std::string_view name) {
    return IndexWhere([name](const form::Control& c) { return c.name == name; });
}

// The order the controls are made in, which is the window order that a screen reader walks:
// the description's, except that each box's caption label comes right before the box, so the
// reader names the box after it.
std::array<std::size_t, form::kControls.size()> CreationOrder() {
    std::array<std::size_t, form::kControls.size()> order{};
    std::array<bool, form::kControls.size()> placed{};
    std::size_t next = 0;
    const auto place = [&](std::size_t index) {
        if (!placed.at(index)) {
            placed.at(index) = true;
            order.at(next++) = index;
        }
    };
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        for (const form::BoxCaption& caption : form::kBoxCaptions) {
            if (caption.box == form::kControls[i].name) {
                place(Index(caption.label));
            }
        }
        place(i);
    }
    return order;
}

// Whether `text` fits its label on one line in the label's font, as the label draws it.
bool Fits(HWND label, HFONT font, std::wstring_view text) {
    RECT client{};
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return extent.cx <= client.right - client.left;
}

}  // namespace

Form1::Form1(HINSTANCE instance) : instance_(instance), title_(Utf16(form::kApplicationTitle)) {
    // The tooltip that shows a result caption whole.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    // Shared copies for the class; the window sets its own for its monitor's DPI.
    window_class.hIcon = LoadIconW(instance, kIconName);
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
    try {
        Build();
    } catch (...) {
        // No destructor runs for a constructor that throws: take the half-made window down
        // here, so nothing is left that could still call into this object.
        Abandon();
        throw;
    }
}

void Form1::Build() {
    dpi_ = GetDpiForWindow(window_);
    CreateControls();
    accessibility_.Attach(window_, controls_);
    Layout();
    LoadIcons();
    const SIZE size = WindowSize(dpi_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    FocusDepthBox();
}

void Form1::Abandon() noexcept {
    // Detached first: the window's last messages go to the system alone, and ask no quit.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    accessibility_.Forget();
    DestroyWindow(window_);  // its boxes, tooltip and menu with it
    window_ = nullptr;
    ReleaseResources();
}

Form1::~Form1() {
    if (!closed_ && window_ != nullptr) {
        DestroyWindow(window_);
    }
    ReleaseResources();
}

void Form1::ReleaseResources() noexcept {
    for (HFONT& font : fonts_) {
        if (font != nullptr) {
            DeleteObject(std::exchange(font, nullptr));
        }
    }
    for (HICON* icon : {&small_icon_, &big_icon_}) {
        if (*icon != nullptr) {
            DestroyIcon(std::exchange(*icon, nullptr));
        }
    }
}

void Form1::Show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
}

void Form1::CreateControls() {
    for (const std::size_t i : CreationOrder()) {
        const form::Control& control = form::kControls[i];
        const bool is_box = control.kind == form::Kind::TextBox;
        // Boxes scroll sideways rather than stop at their width. Labels show their text as
        // it is, with no "&" taken for an access key, on one line that ends in "..." rather
        // than wrap out of sight when a figure is too wide; a result label takes the mouse,
        // so its tooltip can show the figure whole.
        const DWORD label_style =
            SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | (control.result ? SS_NOTIFY : 0);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
                            (is_box ? WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL : label_style);
        HWND handle = CreateWindowExW(is_box ? WS_EX_CLIENTEDGE : 0, is_box ? L"EDIT" : L"STATIC",
                                      Utf16(control.text).c_str(), style, 0, 0, 0, 0, window_,
                                      reinterpret_cast<HMENU>(ControlId(i)), instance_, nullptr);
        if (handle == nullptr) {
            ThrowLastError("CreateWindowExW");
        }
        controls_.at(i) = handle;
        if (is_box) {
            // No limit on what may be typed (the system's default stops at 32767).
            SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            box_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1::BoxProc)));
        }
    }
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (tooltip_ == nullptr) {
        ThrowLastError("CreateWindowExW");
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
        if (control.result) {
            UpdateTip(i);
        }
    }
    // Each caption label sits over its box by a few pixels, and comes before the box in the
    // window order, so it is drawn above it. Cut back to the part above the box, it leaves
    // the box's border whole.
    for (const form::BoxCaption& caption : form::kBoxCaptions) {
        const form::Place& label = form::kControls[Index(caption.label)].place;
        const form::Place& box = form::kControls[Index(caption.box)].place;
        const int visible = Scale(box.top, dpi_) - Scale(label.top, dpi_);
        HRGN region = CreateRectRgn(0, 0, Scale(label.width, dpi_), visible);
        // The window owns the region from here on, also when the call fails.
        SetWindowRgn(controls_[Index(caption.label)], region, TRUE);
    }
}

// The title bar's and the task switcher's icons, drawn for the monitor's DPI from the sizes
// the program's icon holds rather than stretched from one.
void Form1::LoadIcons() {
    const auto load = [this](int width_metric, int height_metric) {
        return static_cast<HICON>(
            LoadImageW(instance_, kIconName, IMAGE_ICON, GetSystemMetricsForDpi(width_metric, dpi_),
                       GetSystemMetricsForDpi(height_metric, dpi_), LR_DEFAULTCOLOR));
    };
    HICON small_icon = load(SM_CXSMICON, SM_CYSMICON);
    HICON big_icon = load(SM_CXICON, SM_CYICON);
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon));
    for (auto [held, loaded] : {std::pair{&small_icon_, small_icon}, {&big_icon_, big_icon}}) {
        if (*held != nullptr) {
            DestroyIcon(*held);
        }
        *held = loaded;
    }
}

// A result caption too wide for its label ends in "..."; its tooltip then shows it whole.
// A screen reader reads the label's text, which is always the whole caption.
void Form1::UpdateTip(std::size_t index) {
    HWND label = controls_.at(index);
    const std::wstring text = WindowText(label);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(label);
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!Fits(label, fonts_.at(index), text)) {
        tool.lpszText = const_cast<wchar_t*>(text.c_str());  // copied by the tooltip
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
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
        // Windows 10 1607 knows only the first per-monitor mode, in which the title bar and
        // menu bar keep their size on a denser monitor unless asked; later versions scale
        // them anyway.
        EnableNonClientDpiScaling(window);
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
        case WM_ERASEBKGND:
            // The class's brush is the form's black; a high-contrast theme's background is
            // painted here instead.
            if (colours_.high_contrast) {
                RECT client{};
                GetClientRect(window_, &client);
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
            colours_ = ReadSystemColours();
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case WM_GETOBJECT:
            accessibility_.Asked();  // then the system answers
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
            const SIZE size = WindowSize(static_cast<UINT>(wparam));
            *reinterpret_cast<SIZE*>(lparam) = size;
            return TRUE;
        }
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wparam);
            Layout();
            LoadIcons();
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
            accessibility_.Forget();  // the controls are still there
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
            const Colours colours = ControlColours(form::kControls[i], colours_);
            SetTextColor(dc, Colour(colours.text));
            SetBkColor(dc, Colour(colours.background));
            break;
        }
    }
    SetBkMode(dc, OPAQUE);
    return BackgroundBrush(colours_);
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
        case WM_GETOBJECT:
            accessibility_.Asked();  // then the system answers for the box
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
    const Outcome outcome = Dispatch(command, *this, values_);
    if (outcome.fault) {
        ShowError(*outcome.fault);
    } else if (!closed_) {
        accessibility_.Announce(outcome.spoken);
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
    const std::size_t index = Index(label);
    SetWindowTextW(controls_[index], Utf16(text).c_str());
    UpdateTip(index);
}

void Form1::FocusDepthBox() {
    last_focus_ = controls_[Index(InputBox::txtAD)];
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
    if (closed_) {
        return;  // the window is gone: no box may outlive it
    }
    const std::wstring caption = title ? Utf16(*title) : title_;
    const UINT icon = style == MessageStyle::MessageInformation ? MB_ICONINFORMATION : 0;
    MessageBoxW(window_, Utf16(text).c_str(), caption.c_str(), MB_OK | icon);
}

}  // namespace pelagrin
