// What a screen reader hears from the window beyond what it reads off the controls.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "ui/FormDescription.h"
#include "ui/win32/Handles.h"

struct IAccPropServices;
struct IRawElementProviderSimple;

namespace pelagrin {

// What a screen reader hears from the window beyond what it reads off the controls: each
// box's name (its caption) and every control's longer description, both from the form's
// description, and the figures a Calculate wrote, spoken once it is over.
//
// Nothing of it is loaded while no assistive technology is about: only when one first asks
// the window or a box something (WM_GETOBJECT, passed on by the window) are COM and the
// system's accessibility libraries brought in, all from System32. A diver without a screen
// reader pays nothing at start-up, nor on Enter. A screen reader asks the window itself the
// moment it comes to the front, before it can reach any control.
class Accessibility {
public:
    Accessibility();  // where the COM interfaces it holds are known
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;
    Accessibility(Accessibility&&) = delete;
    Accessibility& operator=(Accessibility&&) = delete;

    // The window spoken for, and its controls in the description's order.
    void Attach(HWND window, const std::array<HWND, form::kControls.size()>& controls);

    // An assistive technology asks the window or a box something (WM_GETOBJECT): the first
    // time, the controls' names and descriptions are given, before the system answers.
    void Asked() noexcept;

    // Takes the given texts back, as the system asks, while the controls still exist: when
    // the window is being destroyed.
    void Forget() noexcept;

    // Has a screen reader speak the captions a Calculate wrote, in order, as one message,
    // leaving the focus and the screen as they are. Nothing for no captions, nothing while
    // no assistive technology has asked the window anything, and nothing (without fault)
    // on a Windows older than 10 version 1709, which has no such message.
    void Announce(const std::vector<std::string>& spoken) noexcept;

private:
    void Annotate() noexcept;
    bool LoadSpeech() noexcept;

    using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    // The two texts are BSTRs, made and freed by the two functions after.
    using RaiseNotificationEvent = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, wchar_t*,
                                                    wchar_t*);
    using AllocString = wchar_t*(WINAPI*)(const wchar_t*);
    using FreeString = void(WINAPI*)(wchar_t*);

    HWND window_ = nullptr;
    std::array<HWND, form::kControls.size()> controls_{};
    bool asked_ = false;                 // an assistive technology has asked the window something
    bool annotated_ = false;             // the texts were given, or could not be
    void(WINAPI* end_com_)() = nullptr;  // set where COM was started here, to end it here
    win32::ComPtr<IAccPropServices> services_;
    bool speech_loaded_ = false;
    HostProviderFromHwnd host_provider_ = nullptr;
    RaiseNotificationEvent raise_notification_ = nullptr;
    AllocString alloc_string_ = nullptr;
    FreeString free_string_ = nullptr;
};

}  // namespace pelagrin
