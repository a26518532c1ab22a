// The form laid out at a monitor's DPI: its fonts, the frame around the client area, the
// controls' places, the caption labels cut back to their boxes, and the program's icons.
// Everything is worked out from the description's twips, so the form keeps its proportions
// and stays sharp on any monitor.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "ui/FormDescription.h"
#include "ui/win32/Handles.h"

namespace pelagrin::win32 {

// The controls' windows, in the description's order.
using ControlHandles = std::array<HWND, form::kControls.size()>;
// One font per type size of the form (form::kPoints), shared by the controls of that size.
using Fonts = std::array<Font, form::kPoints.size()>;

// The font the control at `index` in the description is drawn in.
inline HFONT FontOf(const Fonts& fonts, std::size_t index) {
    return fonts.at(static_cast<std::size_t>(form::kControls.at(index).type)).get();
}

// A fixed frame: the form is laid out in twips for one client size, so it is not resizable
// or maximisable; it can still be minimised.
inline constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kFrameExStyle = 0;

int Scale(int twips, UINT dpi);

// The classic face, bold, in each of the form's sizes for this DPI. Throws where a font
// cannot be made.
Fonts CreateFormFonts(UINT dpi);

// The frame that holds the client area at `dpi`, with a one-line menu bar.
SIZE FrameSize(UINT dpi);

// Grows or shrinks the frame until the client area is exactly the form's at `dpi`.
void FitClientArea(HWND window, UINT dpi);

// Moves every control to its place at `dpi` and draws it in its font there.
void PlaceControls(const ControlHandles& controls, const Fonts& fonts, UINT dpi);

// Moves every control to its place at `dpi` in new fonts for it, which replace `fonts` once
// the controls are drawn with them, and cuts the captions again.
void Relayout(HWND window, const ControlHandles& controls, Fonts& fonts, UINT dpi);

// Moves `window` into the frame the system suggests for a new DPI, made exact.
void TakeFrame(HWND window, const RECT& suggested, UINT dpi);

// Cuts each caption label back to the part above its box, so the box's border shows whole.
void CutCaptions(HWND window, const ControlHandles& controls, UINT dpi);

// The program's icon at the size the system asks for at `dpi` (SM_CXICON, SM_CYICON or the
// small pair); null where it cannot be loaded, and the system's default is shown.
Icon LoadIconFor(HINSTANCE instance, int width_metric, int height_metric, UINT dpi);

// The title bar's and the task switcher's icons, as the window shows them now.
class WindowIcons {
public:
    // Loads both for `dpi` and has `window` show them; where one cannot be loaded, the
    // window keeps the one it shows.
    void Load(HWND window, HINSTANCE instance, UINT dpi);

private:
    Icon small_;
    Icon big_;
};

}  // namespace pelagrin::win32
