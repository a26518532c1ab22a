// The tooltip that shows a result caption whole where its label cuts it short.
#include "ui/win32/CaptionTip.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "ui/FormDescription.h"
#include "ui/win32/Handles.h"
#include "ui/win32/WindowText.h"

namespace pelagrin::win32 {
namespace {

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

void CaptionTip::MouseOverResult(HWND window, HINSTANCE instance,
                                 const ControlHandles& controls) noexcept {
    if (tried_) {
        return;
    }
    tried_ = true;
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    if (tooltip_ == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (form::ResultOf(form::kControls[i])) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window;
            tool.uId = reinterpret_cast<UINT_PTR>(controls[i]);
            tool.lpszText = LPSTR_TEXTCALLBACKW;
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

bool CaptionTip::Asks(const NMHDR& notice) const {
    return tooltip_ != nullptr && notice.hwndFrom == tooltip_ && notice.code == TTN_GETDISPINFOW;
}

void CaptionTip::Fill(NMTTDISPINFOW& request, HFONT font) {
    text_.clear();
    request.lpszText = text_.data();
    if (font == nullptr) {
        return;
    }
    const auto label = reinterpret_cast<HWND>(request.hdr.idFrom);
    std::wstring text = WindowText(label);
    if (!Fits(label, font, text)) {
        text_ = std::move(text);
        request.lpszText = text_.data();
    }
}

void CaptionTip::Hide() const noexcept {
    if (tooltip_ != nullptr) {
        SendMessageW(tooltip_, TTM_POP, 0, 0);
    }
}

}  // namespace pelagrin::win32
