// Makes the calculator's window and takes it down: its class, frame and menu, and its
// controls at the monitor's DPI, with nothing left half made when any of it fails.
#include <windows.h>

#include <cstddef>
#include <stdexcept>

#include "platform/windows/WideText.h"
#include "ui/Dispatch.h"
#include "ui/FormDescription.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Handles.h"
#include "ui/win32/MenuBar.h"

namespace pelagrin {
namespace {

constexpr wchar_t kClassName[] = L"Pelagrin.Form1";

}  // namespace

Form1::Form1(HINSTANCE instance, ColourSource colours)
    : instance_(instance),
      title_(Utf16(form::kApplicationTitle)),
      out_of_memory_(Utf16(kInternalError) + L"out of memory"),
      read_colours_(colours) {
    // A new window opens on the primary monitor, at the system's DPI: the class's icons are
    // drawn for it, so the window needs no icons of its own there (see Build).
    const UINT dpi = GetDpiForSystem();
    RegisterWindowClass(instance, kClassName,
                        win32::LoadIconFor(instance, SM_CXICON, SM_CYICON, dpi),
                        win32::LoadIconFor(instance, SM_CXSMICON, SM_CYSMICON, dpi),
                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    // The menu is ours until the window takes it.
    win32::Menu menu = win32::MakeMenuBar();

    // Made at its size for the primary monitor's DPI, where a new window opens; on another
    // monitor, Build sizes it once more.
    const SIZE size = win32::FrameSize(dpi);
    // Owned from its first message on (WindowBase).
    if (CreateWindowExW(win32::kFrameExStyle, kClassName, Utf16(form::kCaption).c_str(),
                        win32::kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                        menu.get(), instance, this) == nullptr) {
        win32::ThrowLastError("CreateWindowExW");
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
    dpi_ = GetDpiForWindow(window_.get());
    fonts_ = win32::CreateFormFonts(dpi_);
    CreateControls();
    accessibility_.Attach(window_.get(), controls_);
    if (dpi_ != sized_for_dpi) {
        icons_.Load(window_.get(), instance_, dpi_);  // the class's are drawn for another DPI
        const SIZE size = win32::FrameSize(dpi_);
        SetWindowPos(window_.get(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    win32::FitClientArea(window_.get(), dpi_);
    // The depth box takes the focus when the shown window is activated (WM_SETFOCUS). Set
    // now, on a window not yet shown, the focus would activate it early and, under wine,
    // start the input method's COM before the first paint.
    last_focus_ = Box(InputBox::txtAD);
}

void Form1::Abandon() noexcept {
    // Detached first: the window's last messages go to the system alone, and ask no quit.
    // Its fonts and icons go after it, with the members that own them.
    Detach();
    accessibility_.Forget();
    window_.reset();  // its boxes, tooltip and menu with it
}

Form1::~Form1() {
    // The window first, while this object its messages reach is whole, then (with the
    // members) the fonts and icons it was drawn with.
    window_.reset();
}

void Form1::Show(int show_command) {
    ShowWindow(window_.get(), show_command);
    UpdateWindow(window_.get());
}

// Enter and Tab are the form's: without them a box would neither calculate nor lead to the
// other box.
void Form1::CreateControls() {
    win32::CreateControls(window_.get(), instance_, fonts_, dpi_, controls_);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (form::BoxOf(form::kControls[i]) && !Subclass(controls_[i])) {
            throw std::runtime_error("cannot take the boxes' keys");
        }
    }
    win32::CutCaptions(window_.get(), controls_, dpi_);
}

}  // namespace pelagrin
