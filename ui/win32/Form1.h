// The calculator's one window on Windows: routes the system's messages to the form's
// commands and keeps the `view` that the commands see and change.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/CalcValues.h"
#include "core/View.h"
#include "ui/Dispatch.h"
#include "ui/FormDescription.h"
#include "ui/win32/Accessibility.h"
#include "ui/win32/CaptionTip.h"
#include "ui/win32/Controls.h"
#include "ui/win32/DpiLayout.h"
#include "ui/win32/Palette.h"
#include "ui/win32/WindowBase.h"

namespace pelagrin {

// Drawn from the form's description: the depth and O2 boxes, the eight result captions and
// the menu bar, laid out in twips and redrawn crisp on every monitor's DPI. It owns the
// stored figures and is a thin adapter: each menu entry or Enter key runs one command
// through the dispatch, which reports any fault in an error box.
class Form1 final : public view, public win32::WindowBase<Form1> {
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
    friend class win32::WindowBase<Form1>;
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnChildMessage(HWND box, UINT message, WPARAM wparam, LPARAM lparam);
    void ReportFault(const char* what) const noexcept;

    void Build(UINT sized_for_dpi);
    void Abandon() noexcept;
    void CreateControls();
    [[nodiscard]] HWND Box(InputBox input) const;
    [[nodiscard]] const form::Control* Described(HWND control) const;
    void Run(form::Command command);
    void Handle(const Outcome& outcome);
    void ShowError(std::string_view prefix, std::string_view fault) const noexcept;
    // Every message box of the window: modal over it, with one OK button.
    void Say(const wchar_t* text, const wchar_t* title, UINT icon) const noexcept;

    CalcValues values_;
    HINSTANCE instance_;
    std::wstring title_;  // the application's, for boxes without a title of their own
    std::wstring out_of_memory_;  // a fault told without making a text when memory runs out
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    win32::ControlHandles controls_{};  // in the description's order
    win32::Fonts fonts_;                // one per type size, at dpi_
    win32::WindowIcons icons_;          // at dpi_, where the class's are for another
    win32::CaptionTip tip_;             // a result caption whole, where its label cuts it
    HWND last_focus_ = nullptr;         // the box to return to on reactivation
    bool keypad_decimal_ = false;       // the last key down was the keypad's decimal key

    // Accessibility: the colours of a high-contrast theme when one is on, and what a screen
    // reader hears beyond the controls' texts.
    ColourSource read_colours_;
    form::SystemColours colours_ = read_colours_();
    Accessibility accessibility_;
};

}  // namespace pelagrin
