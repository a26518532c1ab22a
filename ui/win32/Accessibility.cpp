// What a screen reader hears from the window beyond the controls' texts: the boxes' names, every
// control's description and the figures of each Calculate, all loaded only once one asks.
#include "ui/win32/Accessibility.h"

#include <initguid.h>  // the accessibility GUIDs below are defined here, not imported
#include <oleacc.h>
#include <uiautomationcore.h>  // the provider a notification is raised on

#include <exception>
#include <string_view>

#include "platform/windows/WideText.h"
#include "ui/Dispatch.h"

namespace pelagrin {
namespace {

// The message's kind and handling: the end of an action the diver asked for, read out at
// once; of several in quick succession (Enter held down) only the latest, which replaces
// the others, so the figures on screen are the ones heard.
constexpr int kActionCompleted = 2;      // NotificationKind_ActionCompleted
constexpr int kImportantMostRecent = 1;  // NotificationProcessing_ImportantMostRecent
constexpr wchar_t kActivity[] = L"Pelagrin.Results";

HMODULE LoadSystemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A function of a library that may be missing, or may lack it: null then.
template <typename Function>
Function Find(HMODULE library, const char* name) {
    if (library == nullptr) {
        return nullptr;
    }
    // Through the generic function type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

std::string Hex(HRESULT result) {
    std::string text = "0x00000000";
    auto bits = static_cast<unsigned long>(result);
    for (std::size_t i = text.size(); i > 2; --i, bits >>= 4) {
        text[i - 1] = "0123456789ABCDEF"[bits & 0xF];
    }
    return text;
}

// What the window told the accessibility layer, for a debugger (or DebugView): speech and
// names cannot be seen on screen, so this is where a failure shows. In UTF-8, the code page
// the program asks for.
void Trace(const std::string& text) {
    OutputDebugStringA(("Pelagrin: " + text + "\n").c_str());
}

void TraceFailure(const std::exception& error) noexcept {
    OutputDebugStringA("Pelagrin: accessibility: ");
    OutputDebugStringA(error.what());
    OutputDebugStringA("\n");
}

}  // namespace

Accessibility::Accessibility() = default;

Accessibility::~Accessibility() {
    services_.reset();  // before COM ends
    if (end_com_ != nullptr) {
        end_com_();
    }
    // The libraries stay loaded: the system's accessibility layer may still hold threads in
    // them, and the process ends soon after the window.
}

void Accessibility::Attach(HWND window, const std::array<HWND, form::kControls.size()>& controls) {
    window_ = window;
    controls_ = controls;
}

void Accessibility::Asked() noexcept {
    asked_ = true;
    Annotate();
}

void Accessibility::Annotate() noexcept {
    if (annotated_) {
        return;
    }
    annotated_ = true;  // once, whatever comes of it
    try {
        HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
        const auto start_com = Find<HRESULT(WINAPI*)(void*, DWORD)>(ole32, "CoInitializeEx");
        const auto end_com = Find<void(WINAPI*)()>(ole32, "CoUninitialize");
        const auto create = Find<HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**)>(
            ole32, "CoCreateInstance");
        if (start_com == nullptr || end_com == nullptr || create == nullptr) {
            Trace("accessibility: no COM");
            return;
        }
        const HRESULT started = start_com(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(started)) {
            end_com_ = end_com;  // S_FALSE too: every successful start is ended once
        } else if (started != RPC_E_CHANGED_MODE) {  // else COM runs here already: use it
            Trace("accessibility: COM " + Hex(started));
            return;
        }
        IAccPropServices* made = nullptr;
        const HRESULT created = create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IAccPropServices, reinterpret_cast<void**>(&made));
        if (FAILED(created) || made == nullptr) {
            Trace("accessibility: AccPropServices " + Hex(created));
            return;
        }
        services_.reset(made);
        HRESULT outcome = S_OK;  // the first failure, if any
        for (std::size_t i = 0; i < form::kControls.size(); ++i) {
            const form::Control& control = form::kControls[i];
            const auto give = [&](const MSAAPROPID& property, std::string_view text) {
                if (text.empty()) {
                    return;
                }
                const HRESULT given =
                    services_->SetHwndPropStr(controls_[i], static_cast<DWORD>(OBJID_CLIENT),
                                              CHILDID_SELF, property, Utf16(text).c_str());
                if (FAILED(given) && SUCCEEDED(outcome)) {
                    outcome = given;
                }
            };
            // A label keeps the name the system reads off it, the text it shows, which a
            // Calculate changes; a box shows no text of its own, so it is named for its caption.
            if (form::BoxOf(control)) {
                give(PROPID_ACC_NAME, form::AccessibleName(control));
            }
            // The description as help text too: UI Automation clients may take a control's
            // HelpText from either.
            give(PROPID_ACC_DESCRIPTION, control.description);
            give(PROPID_ACC_HELP, control.description);
        }
        Trace("accessibility: names and descriptions " + Hex(outcome));
    } catch (const std::exception& error) {
        TraceFailure(error);
    }
}

void Accessibility::Forget() noexcept {
    if (services_ == nullptr) {
        return;
    }
    // The system keeps given texts until told, even past the controls' end.
    MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION, PROPID_ACC_HELP};
    HRESULT outcome = S_OK;  // the first failure, if any
    for (HWND control : controls_) {
        const HRESULT cleared =
            services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      properties, static_cast<int>(std::size(properties)));
        if (FAILED(cleared) && SUCCEEDED(outcome)) {
            outcome = cleared;
        }
    }
    services_.reset();  // once
    try {
        Trace("accessibility: names and descriptions taken back " + Hex(outcome));
    } catch (const std::exception& error) {
        TraceFailure(error);
    }
}

bool Accessibility::LoadSpeech() noexcept {
    if (!speech_loaded_) {
        speech_loaded_ = true;
        HMODULE automation = LoadSystemLibrary(L"UIAutomationCore.dll");
        HMODULE automation_strings = LoadSystemLibrary(L"oleaut32.dll");
        host_provider_ = Find<HostProviderFromHwnd>(automation, "UiaHostProviderFromHwnd");
        raise_notification_ = Find<RaiseNotificationEvent>(automation, "UiaRaiseNotificationEvent");
        alloc_string_ = Find<AllocString>(automation_strings, "SysAllocString");
        free_string_ = Find<FreeString>(automation_strings, "SysFreeString");
    }
    return host_provider_ != nullptr && raise_notification_ != nullptr &&
           alloc_string_ != nullptr && free_string_ != nullptr;
}

void Accessibility::Announce(const std::vector<std::string>& spoken) noexcept {
    if (!asked_ || spoken.empty()) {
        return;
    }
    try {
        const std::wstring text = Utf16(SpokenText(spoken, kCaptionsRunTogether));
        if (!LoadSpeech()) {
            Trace("not spoken, no UI Automation notifications on this system: " + Utf8(text));
            return;
        }
        IRawElementProviderSimple* given = nullptr;
        HRESULT result = host_provider_(window_, &given);
        const win32::ComPtr<IRawElementProviderSimple> provider(SUCCEEDED(result) ? given
                                                                                  : nullptr);
        if (SUCCEEDED(result) && provider == nullptr) {
            result = E_POINTER;
        }
        if (SUCCEEDED(result)) {
            const win32::Bstr display(alloc_string_(text.c_str()), {free_string_});
            const win32::Bstr activity(alloc_string_(kActivity), {free_string_});
            result = display != nullptr && activity != nullptr
                         ? raise_notification_(provider.get(), kActionCompleted,
                                               kImportantMostRecent, display.get(), activity.get())
                         : E_OUTOFMEMORY;
        }
        Trace("spoken " + Hex(result) + ": " + Utf8(text));
    } catch (const std::exception& error) {
        TraceFailure(error);
    }
}

}  // namespace pelagrin
