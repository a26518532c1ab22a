// The tooltip that shows a result caption whole where its label cuts it short: the Windows
// twin of the Qt window's CaptionLabel. A screen reader reads the label's text, which is
// always the whole caption; the tip is for the eye.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/win32/DpiLayout.h"

namespace pelagrin::win32 {

// An extra: made only when the mouse first comes over a result label, it asks for each
// caption as it is about to show it, so setting a caption costs it nothing; where it cannot
// be made, the window does without.
class CaptionTip {
public:
    // The mouse is over a result label of `window`: the first time, the tip is made, watching
    // every result label's mouse from then on.
    void MouseOverResult(HWND window, HINSTANCE instance, const ControlHandles& controls) noexcept;

    // Whether `notice` is the tip asking for the text to show (TTN_GETDISPINFOW).
    [[nodiscard]] bool Asks(const NMHDR& notice) const;

    // Answers the tip: the whole caption of the label it is over, drawn in `font`, when the
    // label cuts it short; else nothing, and no tip shows. `font` is null for a label that is
    // not a result's.
    void Fill(NMTTDISPINFOW& request, HFONT font);

    // A caption changed: a tip on show may hold the old one.
    void Hide() const noexcept;

private:
    HWND tooltip_ = nullptr;
    bool tried_ = false;
    std::wstring text_;  // what the tip shows now; it reads it from here
};

}  // namespace pelagrin::win32
