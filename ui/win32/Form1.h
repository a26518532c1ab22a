#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/Dispatch.h"
#include "ui/FormDescription.h"
#include "ui/win32/Accessibility.h"
#include "ui/win32/Palette.h"

namespace pelagrin {

// Owners of the window's GDI objects, icons and menu: each is released exactly once, also
// when the window cannot be made or built.
namespace win32 {
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

}  // namespace win32

// The calculator's one window on Windows, drawn from the form's description: the depth and
// O2 boxes, the eight result captions and the menu bar, laid out in twips and redrawn crisp
// on every monitor's DPI. It owns the stored figures and is a thin adapter: each menu entry
// or Enter key runs one command through the dispatch, which reports any fault in an error box.
class Form1 final : public view {
public:
    // Creates the window, hidden, on the default monitor, coloured as `colours` says; Show()
    // puts it on screen.
    Form1(HINSTANCE instance, ColourSource colours);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;

    void Show(int show_command);

    [[nodiscard]] std::string InputText(InputBox box) const override;
    void SetInputText(InputBox box, std::string_view text) override;
    void SetCaption(ResultLabel label, std::string_view text) override;
    void FocusDepthBox() override;
    void ShowMessage(std::string_view text, MessageStyle style,
                     std::optional<std::string_view> title) override;
    void KeepPainted() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR form);
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnBoxMessage(HWND box, UINT message, WPARAM wparam, LPARAM lparam);
    void ReportFault() const noexcept;

    void Build(UINT sized_for_dpi);
    void Abandon() noexcept;
    void CreateControls();
    void Layout();
    void CutCaptions();
    void LoadIcons();
    void MakeTooltip() noexcept;
    void FillTip(NMTTDISPINFOW& request);
    void FitClientArea();
    [[nodiscard]] HFONT FontOf(std::size_t index) const;
    [[nodiscard]] HBRUSH PaintControl(HDC dc, HWND control) const;
    [[nodiscard]] HWND OtherBox(HWND box) const;
    [[nodiscard]] bool IsResultLabel(HWND control) const;
    void Run(form::Command command);
    void Handle(const Outcome& outcome);
    void ShowError(std::string_view prefix, std::string_view fault) const noexcept;

    CalcValues values_;
    HINSTANCE instance_;
    std::wstring title_;  // the application's, for boxes without a title of their own
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool closed_ = false;                                  // the window is gone; nothing more runs
    std::array<HWND, form::kControls.size()> controls_{};  // in the description's order
    std::array<win32::Font, form::kTypeSizeCount> fonts_;  // one per type size, at dpi_
    // Shows a result caption whole when its label cuts it short. Made the first time the
    // mouse comes over a result label; where it cannot be made, the window does without.
    HWND tooltip_ = nullptr;
    bool tooltip_tried_ = false;
    std::wstring tip_text_;      // what the tooltip shows now; it reads it from here
    win32::Icon small_icon_;     // the title bar's, at dpi_
    win32::Icon big_icon_;       // the task switcher's, at dpi_
    HWND last_focus_ = nullptr;  // the box to return to on reactivation

    // Accessibility: the colours of a high-contrast theme when one is on, and what a screen
    // reader hears beyond the controls' texts.
    ColourSource read_colours_;
    SystemColours colours_ = read_colours_();
    Accessibility accessibility_;
};

}  // namespace pelagrin
