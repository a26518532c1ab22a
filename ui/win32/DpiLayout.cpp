// The form laid out at a monitor's DPI: fonts, frame, places, caption cuts and icons.
#include "ui/win32/DpiLayout.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/windows/WideText.h"

namespace pelagrin::win32 {
namespace {

constexpr wchar_t kIconName[] = L"IDI_ICON1";  // the program icon in the resources

}  // namespace

int Scale(int twips, UINT dpi) {
    return form::Pixels(twips, static_cast<int>(dpi));
}

// Where the face is missing the font mapper picks the closest sans serif, as it does for any
// program.
Fonts CreateFormFonts(UINT dpi) {
    const std::wstring face = Utf16(form::kFontFace);
    Fonts fonts;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const int height = -static_cast<int>(std::lround(form::kPoints.at(i) * dpi / 72.0));
        fonts.at(i).reset(CreateFontW(height, 0, 0, 0, form::kFontWeight, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, face.c_str()));
        if (!fonts.at(i)) {
            throw std::runtime_error("cannot create the form's font");
        }
    }
    return fonts;
}

SIZE FrameSize(UINT dpi) {
    RECT frame{0, 0, Scale(form::kClientWidth, dpi), Scale(form::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kFrameStyle, TRUE, kFrameExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The frame's size is worked out for a one-line menu bar; should the bar wrap, or the frame
// differ from what the system predicted, this puts it right.
void FitClientArea(HWND window, UINT dpi) {
    RECT client{};
    RECT frame{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    const int dx = Scale(form::kClientWidth, dpi) - (client.right - client.left);
    const int dy = Scale(form::kClientHeight, dpi) - (client.bottom - client.top);
    if (dx != 0 || dy != 0) {
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + dx,
                     frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PlaceControls(const ControlHandles& controls, const Fonts& fonts, UINT dpi) {
    const auto place_at = [&controls, dpi](std::size_t i, auto&& move) {
        const form::Place& place = form::kControls[i].place;
        return move(controls[i], Scale(place.left, dpi), Scale(place.top, dpi),
                    Scale(place.width, dpi), Scale(place.height, dpi));
    };
    // All in one move, so the form is redrawn once.
    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls.size()));
    for (std::size_t i = 0; i < controls.size() && moves != nullptr; ++i) {
        moves = place_at(i, [moves](HWND control, int x, int y, int width, int height) {
            return DeferWindowPos(moves, control, nullptr, x, y, width, height,
                                  SWP_NOZORDER | SWP_NOACTIVATE);
        });
    }
    if (moves == nullptr || !EndDeferWindowPos(moves)) {
        // Too little memory to move them together: one at a time.
        for (std::size_t i = 0; i < controls.size(); ++i) {
            place_at(i, [](HWND control, int x, int y, int width, int height) {
                return SetWindowPos(control, nullptr, x, y, width, height,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
            });
        }
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(fonts, i)), TRUE);
    }
}

void Relayout(HWND window, const ControlHandles& controls, Fonts& fonts, UINT dpi) {
    Fonts made = CreateFormFonts(dpi);
    PlaceControls(controls, made, dpi);
    fonts = std::move(made);  // the old ones, no longer drawn with, go
    CutCaptions(window, controls, dpi);
}

void TakeFrame(HWND window, const RECT& suggested, UINT dpi) {
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea(window, dpi);
}

// Each caption label sits over its box by a few pixels, and comes before the box in the
// window order, so it is drawn above it.
void CutCaptions(HWND window, const ControlHandles& controls, UINT dpi) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const std::optional<form::Box> role = form::BoxOf(form::kControls[i]);
        if (!role) {
            continue;
        }
        const std::size_t caption = form::IndexOf(role->caption);
        const form::Place& label = form::kControls.at(caption).place;
        const form::Place& box = form::kControls[i].place;
        const int visible = Scale(box.top, dpi) - Scale(label.top, dpi);
        Region region(CreateRectRgn(0, 0, Scale(label.width, dpi), visible));
        if (!region) {
            throw std::runtime_error("cannot cut a caption back to its box");
        }
        // The region is the label's once it takes it; should it refuse, the region is still
        // ours to delete, and the label keeps its old shape.
        if (SetWindowRgn(controls.at(caption), region.get(), IsWindowVisible(window)) != 0) {
            static_cast<void>(region.release());
        }
    }
}

// Drawn from the nearest size the icon holds rather than stretched from one.
Icon LoadIconFor(HINSTANCE instance, int width_metric, int height_metric, UINT dpi) {
    return Icon(static_cast<HICON>(
        LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetricsForDpi(width_metric, dpi),
                   GetSystemMetricsForDpi(height_metric, dpi), LR_DEFAULTCOLOR)));
}

void WindowIcons::Load(HWND window, HINSTANCE instance, UINT dpi) {
    const auto show = [window](WPARAM kind, Icon& held, Icon loaded) {
        if (loaded) {
            SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(loaded.get()));
            held = std::move(loaded);  // the one shown before goes
        }
    };
    show(ICON_SMALL, small_, LoadIconFor(instance, SM_CXSMICON, SM_CYSMICON, dpi));
    show(ICON_BIG, big_, LoadIconFor(instance, SM_CXICON, SM_CYICON, dpi));
}

}  // namespace pelagrin::win32
