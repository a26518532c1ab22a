#include "ui/win32/Form1.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "platform/windows/WideText.h"
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

// The program's icon at the size the system asks for at `dpi` (SM_CXICON, SM_CYICON or the
// small pair), drawn from the nearest size the icon holds rather than stretched from one;
// null where it cannot be loaded, and the system's default is shown.
win32::Icon LoadIconFor(HINSTANCE instance, int width_metric, int height_metric, UINT dpi) {
    return win32::Icon(static_cast<HICON>(
        LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetricsForDpi(width_metric, dpi),
                   GetSystemMetricsForDpi(height_metric, dpi), LR_DEFAULTCOLOR)));
}

int Scale(int twips, UINT dpi) {
    return form::Pixels(twips, static_cast<int>(dpi));
}

COLORREF Colour(form::Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

using Fonts = std::array<win32::Font, form::kTypeSizeCount>;

// The classic face, bold, in each of the form's sizes for this DPI, one font per size that
// every control of that size shares. Where the face is missing the font mapper picks the
// closest sans serif, as it does for any program.
Fonts CreateFormFonts(UINT dpi) {
    const std::wstring face = Utf16(form::kFontFace);
    Fonts fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const int height = -static_cast<int>(std::lround(form::kTypeSizes.at(i) * dpi / 72.0));
        fonts.at(i).reset(CreateFontW(height, 0, 0, 0, form::kFontWeight, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, face.c_str()));
        if (!fonts.at(i)) {
            throw std::runtime_error("cannot create the form's font");
        }
    }
    return fonts;
}

// The frame that holds the client area at `dpi`, with a one-line menu bar.
SIZE FrameSize(UINT dpi) {
    RECT frame{0, 0, Scale(form::kClientWidth, dpi), Scale(form::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kStyle, TRUE, kExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

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

// Whether `text` fits its label on one line in the label's font, as the label draws it.
// Where it cannot be measured it counts as cut, so the tooltip still offers it whole.
bool Fits(HWND label, HFONT font, std::wstring_view text) {
    RECT client{};
    GetClientRect(label, &client);
    const WindowDc dc(label);
    if (dc.get() == nullptr) {
        return false;
    }
    const Selection selected(dc.get(), font);
    SIZE extent{};
    return GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent) &&
           extent.cx <= client.right - client.left;
}

}  // namespace

Form1::Form1(HINSTANCE instance, ColourSource colours)
    : instance_(instance), title_(Utf16(form::kApplicationTitle)), read_colours_(colours) {
    // A new window opens on the primary monitor, at the system's DPI: the class's icons are
    // drawn for it, so the window needs no icons of its own there (see Build).
    const UINT dpi = GetDpiForSystem();
    win32::Icon class_big = LoadIconFor(instance, SM_CXICON, SM_CYICON, dpi);
    win32::Icon class_small = LoadIconFor(instance, SM_CXSMICON, SM_CYSMICON, dpi);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = class_big.get();
    window_class.hIconSm = class_small.get();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    window_class.lpszClassName = kClassName;
    if (RegisterClassExW(&window_class) != 0) {
        // The class's for as long as the process runs; a class already there keeps its own.
        static_cast<void>(class_big.release());
        static_cast<void>(class_small.release());
    } else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassExW");
    }

    // The File drop-down, then the commands that sit on the bar itself and run at once. The
    // menu is ours until the window takes it, and the drop-down until the bar does.
    win32::Menu menu(CreateMenu());
    if (!menu) {
        ThrowLastError("CreateMenu");
    }
    HMENU file = nullptr;
    for (const form::MenuEntry& entry : form::kMenus) {
        const std::wstring caption = Utf16(entry.caption);
        if (!entry.command) {
            win32::Menu drop_down(CreatePopupMenu());
            if (!drop_down) {
                ThrowLastError("CreatePopupMenu");
            }
            if (!AppendMenuW(menu.get(), MF_POPUP | MF_STRING,
                             reinterpret_cast<UINT_PTR>(drop_down.get()), caption.c_str())) {
                ThrowLastError("AppendMenuW");
            }
            file = drop_down.release();
            continue;
        }
        if (!AppendMenuW(entry.place == form::MenuPlace::File ? file : menu.get(), MF_STRING,
                         CommandId(*entry.command), caption.c_str())) {
            ThrowLastError("AppendMenuW");
        }
    }

    // Made at its size for the primary monitor's DPI, where a new window opens; on another
    // monitor, Build sizes it once more.
    const SIZE size = FrameSize(dpi);
    window_ =
        CreateWindowExW(kExStyle, kClassName, Utf16(form::kCaption).c_str(), kStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, size.cx, size.cy, nullptr, menu.get(), instance, this);
    if (window_ == nullptr) {
        ThrowLastError("CreateWindowExW");
    }
    static_cast<void>(menu.release());  // the window's now, destroyed with it
    try {
        Build(dpi);
    } catch (...) {
        // No destructor runs for a constructor that throws: take the half-made window down
        // here, so nothing is left that could still call into this object.
        Abandon();
        throw;
    }
}

void Form1::Build(UINT sized_for_dpi) {
    dpi_ = GetDpiForWindow(window_);
    fonts_ = CreateFormFonts(dpi_);
    CreateControls();
    accessibility_.Attach(window_, controls_);
    if (dpi_ != sized_for_dpi) {
        LoadIcons();  // the class's are drawn for another DPI
        const SIZE size = FrameSize(dpi_);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitClientArea();
    // The depth box takes the focus when the shown window is activated (WM_SETFOCUS). Set
    // now, on a window not yet shown, the focus would activate it early and, under wine,
    // start the input method's COM before the first paint.
    last_focus_ = controls_[form::IndexOf(InputBox::txtAD)];
}

void Form1::Abandon() noexcept {
    // Detached first: the window's last messages go to the system alone, and ask no quit.
    // Its fonts and icons go after it, with the members that own them.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    accessibility_.Forget();
    DestroyWindow(window_);  // its boxes, tooltip and menu with it
    window_ = nullptr;
}

Form1::~Form1() {
    // The window first, then (with the members) the fonts and icons it was drawn with.
    if (!closed_ && window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void Form1::Show(int show_command) {
    ShowWindow(window_, show_command);
    UpdateWindow(window_);
}

// Each control is made in its place and font for the window's DPI, so nothing is moved or
// redrawn before the window is first shown.
void Form1::CreateControls() {
    for (const std::size_t i : form::kCreationOrder) {
        const form::Control& control = form::kControls[i];
        const bool is_box = form::BoxOf(control) != nullptr;
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
                                      Utf16(control.text).c_str(), style, Scale(place.left, dpi_),
                                      Scale(place.top, dpi_), Scale(place.width, dpi_),
                                      Scale(place.height, dpi_), window_,
                                      reinterpret_cast<HMENU>(ControlId(i)), instance_, nullptr);
        if (handle == nullptr) {
            ThrowLastError("CreateWindowExW");
        }
        controls_.at(i) = handle;
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(i)), FALSE);
        if (is_box) {
            // No limit on what may be typed (the system's default stops at 32767).
            SendMessageW(handle, EM_SETLIMITTEXT, 0, 0);
            // Enter and Tab are the form's: without them a box would neither calculate nor
            // lead to the other box.
            if (!SetWindowSubclass(handle, &Form1::BoxProc, 0, reinterpret_cast<DWORD_PTR>(this))) {
                throw std::runtime_error("cannot take the boxes' keys");
            }
        }
    }
    CutCaptions();
}

// Moves every control and sets its font for a new DPI, so the form keeps its proportions and
// stays sharp on any monitor.
void Form1::Layout() {
    Fonts fonts = CreateFormFonts(dpi_);
    const auto place_at = [this](std::size_t i, auto&& move) {
        const form::Place& place = form::kControls[i].place;
        return move(controls_[i], Scale(place.left, dpi_), Scale(place.top, dpi_),
                    Scale(place.width, dpi_), Scale(place.height, dpi_));
    };
    // All in one move, so the form is redrawn once.
    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (std::size_t i = 0; i < controls_.size() && moves != nullptr; ++i) {
        moves = place_at(i, [moves](HWND control, int x, int y, int width, int height) {
            return DeferWindowPos(moves, control, nullptr, x, y, width, height,
                                  SWP_NOZORDER | SWP_NOACTIVATE);
        });
    }
    if (moves == nullptr || !EndDeferWindowPos(moves)) {
        // Too little memory to move them together: one at a time.
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            place_at(i, [](HWND control, int x, int y, int width, int height) {
                return SetWindowPos(control, nullptr, x, y, width, height,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
            });
        }
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        SendMessageW(controls_[i], WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts.at(form::TypeSizeOf(i)).get()), TRUE);
    }
    fonts_ = std::move(fonts);  // the old ones, no longer drawn with, go
    CutCaptions();
}

// Each caption label sits over its box by a few pixels, and comes before the box in the
// window order, so it is drawn above it. Cut back to the part above the box, it leaves the
// box's border whole.
void Form1::CutCaptions() {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const form::Box* role = form::BoxOf(form::kControls[i]);
        if (role == nullptr) {
            continue;
        }
        const form::Place& label = form::kControls.at(role->caption).place;
        const form::Place& box = form::kControls[i].place;
        const int visible = Scale(box.top, dpi_) - Scale(label.top, dpi_);
        win32::Region region(CreateRectRgn(0, 0, Scale(label.width, dpi_), visible));
        if (!region) {
            throw std::runtime_error("cannot cut a caption back to its box");
        }
        // The region is the label's once it takes it; should it refuse, the region is still
        // ours to delete, and the label keeps its old shape.
        if (SetWindowRgn(controls_.at(role->caption), region.get(), IsWindowVisible(window_)) !=
            0) {
            region.release();
        }
    }
}

// The title bar's and the task switcher's icons, drawn for the monitor's DPI from the sizes
// the program's icon holds rather than stretched from one.
void Form1::LoadIcons() {
    const auto load = [this](int width_metric, int height_metric) {
        return LoadIconFor(instance_, width_metric, height_metric, dpi_);
    };
    // Where one cannot be loaded, the window keeps the one it shows.
    const auto show = [this](WPARAM kind, win32::Icon& held, win32::Icon loaded) {
        if (loaded) {
            SendMessageW(window_, WM_SETICON, kind, reinterpret_cast<LPARAM>(loaded.get()));
            held = std::move(loaded);  // the one shown before goes
        }
    };
    show(ICON_SMALL, small_icon_, load(SM_CXSMICON, SM_CYSMICON));
    show(ICON_BIG, big_icon_, load(SM_CXICON, SM_CYICON));
}

HFONT Form1::FontOf(std::size_t index) const {
    return fonts_.at(form::TypeSizeOf(index)).get();
}

bool Form1::IsResultLabel(HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == control && control != nullptr) {
            return form::ResultOf(form::kControls[i]).has_value();
        }
    }
    return false;
}

// A result caption too wide for its label ends in "..."; its tooltip then shows it whole.
// A screen reader reads the label's text, which is always the whole caption. The tooltip is
// an extra: made only when the mouse first comes over a result label, it asks for each
// caption as it is about to show it, so setting a caption costs it nothing; where it cannot
// be made, the window does without.
void Form1::MakeTooltip() noexcept {
    tooltip_tried_ = true;
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (tooltip_ == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (form::ResultOf(form::kControls[i])) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window_;
            tool.uId = reinterpret_cast<UINT_PTR>(controls_[i]);
            tool.lpszText = LPSTR_TEXTCALLBACKW;
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

// The caption the tooltip is about to show for a result label: the whole of it when the
// label cuts it short, else nothing, and no tip shows.
void Form1::FillTip(NMTTDISPINFOW& request) {
    tip_text_.clear();
    request.lpszText = tip_text_.data();
    const auto label = reinterpret_cast<HWND>(request.hdr.idFrom);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == label && form::ResultOf(form::kControls[i])) {
            std::wstring text = WindowText(label);
            if (!Fits(label, FontOf(i), text)) {
                tip_text_ = std::move(text);
                request.lpszText = tip_text_.data();
            }
        }
    }
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
    if (form != nullptr) {
        // No exception may cross the system's frames back to the message loop: the diver is
        // told in the error box, and the system handles the message as for any window.
        try {
            return form->OnMessage(message, wparam, lparam);
        } catch (...) {
            form->ReportFault();
        }
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Only from a handler: says what the exception being handled was, as the dispatch words a
// fault it did not expect.
void Form1::ReportFault() const noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowError("Internal error: ", error.what());
    } catch (...) {
        ShowError("Internal error: ", "unknown fault");
    }
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
            colours_ = read_colours_();
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            break;
        case WM_GETOBJECT:
            accessibility_.Asked();  // then the system answers
            break;
        case WM_NOTIFY: {
            const auto& notice = *reinterpret_cast<const NMHDR*>(lparam);
            if (tooltip_ != nullptr && notice.hwndFrom == tooltip_ &&
                notice.code == TTN_GETDISPINFOW) {
                FillTip(*reinterpret_cast<NMTTDISPINFOW*>(lparam));
                return 0;
            }
            break;
        }
        case WM_SETCURSOR:
            // The mouse over a result label: the first time, make the tooltip that can show
            // its caption whole. It watches the label's mouse from then on.
            if (!tooltip_tried_ && IsResultLabel(reinterpret_cast<HWND>(wparam))) {
                MakeTooltip();
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
            const SIZE size = FrameSize(static_cast<UINT>(wparam));
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
    HWND depth = controls_[form::IndexOf(InputBox::txtAD)];
    return box == depth ? controls_[form::IndexOf(InputBox::txtO2)] : depth;
}

LRESULT CALLBACK Form1::BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                DWORD_PTR form) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(box, &Form1::BoxProc, id);
    } else if (auto* owner = reinterpret_cast<Form1*>(form); owner != nullptr) {
        try {
            return owner->OnBoxMessage(box, message, wparam, lparam);
        } catch (...) {
            owner->ReportFault();
        }
    }
    return DefSubclassProc(box, message, wparam, lparam);
}

LRESULT Form1::OnBoxMessage(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Enter, main or keypad, with any of Shift, Ctrl or Alt and on every auto-repeat,
            // calculates when this box holds text, whatever the other box holds. The key
            // then goes on to the box as usual.
            if (wparam == VK_RETURN) {
                if (!closed_) {
                    Handle(PressEnter(box == controls_[form::IndexOf(InputBox::txtAD)]
                                          ? InputBox::txtAD
                                          : InputBox::txtO2,
                                      *this, values_));
                }
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
    return DefSubclassProc(box, message, wparam, lparam);
}

void Form1::Run(form::Command command) {
    if (!closed_) {
        Handle(Dispatch(command, *this, values_));
    }
}

void Form1::Handle(const Outcome& outcome) {
    if (outcome.close) {
        DestroyWindow(window_);
    } else if (outcome.fault) {
        ShowError({}, *outcome.fault);
    } else if (!closed_) {
        accessibility_.Announce(outcome.spoken);
    }
}

void Form1::ShowError(std::string_view prefix, std::string_view fault) const noexcept {
    if (closed_) {
        return;
    }
    const wchar_t* text = L"Internal error: out of memory";
    std::wstring wide;
    try {
        wide = Utf16(prefix) + Utf16(fault);
        text = wide.c_str();
    } catch (const std::exception&) {
        // The fixed text above still tells the diver the command did not finish.
    }
    MessageBoxW(window_, text, title_.c_str(), MB_OK | MB_ICONERROR);
}

std::string Form1::InputText(InputBox box) const {
    return Utf8Replacing(WindowText(controls_.at(form::IndexOf(box))));
}

void Form1::SetInputText(InputBox box, std::string_view text) {
    SetWindowTextW(controls_.at(form::IndexOf(box)), Utf16(text).c_str());
}

void Form1::SetCaption(ResultLabel label, std::string_view text) {
    const std::size_t index = form::IndexOf(label);
    SetWindowTextW(controls_.at(index), Utf16(text).c_str());
    if (tooltip_ != nullptr) {
        SendMessageW(tooltip_, TTM_POP, 0, 0);  // a tip on show may hold the old caption
    }
}

void Form1::FocusDepthBox() {
    last_focus_ = controls_[form::IndexOf(InputBox::txtAD)];
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
