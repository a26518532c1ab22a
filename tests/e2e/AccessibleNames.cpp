// Asks the calculator's running window, as a screen reader would, what each text box is
// called and how it is described. Prints two lines per box, in window order:
//   name <accName>
//   description <accDescription>
// each empty where the system's accessibility layer gives none.
// Asking is also what has the window give its names and descriptions: it waits for the
// first question of an assistive technology. Exits 2 if the window is not there.
// A third line, help <accHelp>, gives the help text that UI Automation may read instead.
// clang-format off
#include <windows.h>
#include <initguid.h>  // IID_IAccessible defined here: oleacc's import library has no such data
#include <oleacc.h>
// clang-format on

#include <cstdio>
#include <string>

namespace {

std::wstring ClassName(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return name;
}

// The text a property getter returns, empty for none; frees it.
template <typename Getter>
std::wstring Read(Getter get) {
    BSTR text = nullptr;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    std::wstring read;
    if (get(self, &text) == S_OK && text != nullptr) {
        read = text;
    }
    SysFreeString(text);
    return read;
}

}  // namespace

int wmain() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND main = FindWindowW(nullptr, L"EAD Calculator");
    if (main == nullptr) {
        return 2;
    }
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (CompareStringOrdinal(ClassName(child).c_str(), -1, L"Edit", -1, TRUE) != CSTR_EQUAL) {
            continue;
        }
        IAccessible* accessible = nullptr;
        std::wstring name;
        std::wstring description;
        std::wstring help;
        if (SUCCEEDED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT),
                                                 IID_IAccessible,
                                                 reinterpret_cast<void**>(&accessible)))) {
            name = Read([accessible](VARIANT self, BSTR* text) {
                return accessible->get_accName(self, text);
            });
            description = Read([accessible](VARIANT self, BSTR* text) {
                return accessible->get_accDescription(self, text);
            });
            help = Read([accessible](VARIANT self, BSTR* text) {
                return accessible->get_accHelp(self, text);
            });
            accessible->Release();
        }
        std::printf("name %ls\ndescription %ls\nhelp %ls\n", name.c_str(), description.c_str(),
                    help.c_str());
    }
    CoUninitialize();
    return 0;
}
