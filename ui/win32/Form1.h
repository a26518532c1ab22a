#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/FormDescription.h"
#include "ui/win32/Accessibility.h"
#include "ui/win32/Palette.h"

namespace pelagrin {

// The calculator's one window on Windows, drawn from the form's description: the depth and
// O2 boxes, the eight result captions and the menu bar, laid out in twips and redrawn crisp
// on every monitor's DPI. It owns the stored figures and is a thin adapter: each menu entry
// or Enter key runs one command through the dispatch, which reports any fault in an error box.
class Form1 final : public view {
public:
    // Creates the window, hidden, on the default monitor; Show() puts it on screen.
    explicit Form1(HINSTANCE instance);
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
    static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnBoxMessage(HWND box, UINT message, WPARAM wparam, LPARAM lparam);

    void Build();
    void Abandon() noexcept;
    void CreateControls();
    void Layout();
    void LoadIcons();
    void UpdateTip(std::size_t index);
    void ReleaseResources() noexcept;
    void FitClientArea();
    [[nodiscard]] SIZE WindowSize(UINT dpi) const;
    [[nodiscard]] HBRUSH PaintControl(HDC dc, HWND control) const;
    [[nodiscard]] HWND OtherBox(HWND box) const;
    void Run(form::Command command);
    void ShowError(const std::string& fault) const noexcept;

    CalcValues values_;
    HINSTANCE instance_;
    std::wstring title_;  // the application's, for boxes without a title of their own
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool closed_ = false;                                  // the window is gone; nothing more runs
    std::array<HWND, form::kControls.size()> controls_{};  // in the description's order
    std::array<HFONT, form::kControls.size()> fonts_{};    // each control's, at dpi_
    WNDPROC box_proc_ = nullptr;                           // the system's own edit procedure
    HWND tooltip_ = nullptr;      // shows a result caption whole when its label cuts it short
    HICON small_icon_ = nullptr;  // the title bar's, at dpi_
    HICON big_icon_ = nullptr;    // the task switcher's, at dpi_
    HWND last_focus_ = nullptr;   // the box to return to on reactivation

    // Accessibility: the colours of a high-contrast theme when one is on, and what a screen
    // reader hears beyond the controls' texts.
    SystemColours colours_ = ReadSystemColours();
    Accessibility accessibility_;
};

}  // namespace pelagrin
