// Asks the calculator's running window, as a screen reader would, what each text box is
// called. Prints one line per box, in window order:
//   name <accName>          where the system's accessibility layer answers;
//   order <text>            where it does not (wine answers E_NOINTERFACE for every window),
//                           with the text of the label just before the box in the window
//                           order, which is what Windows names a plain edit box after.
// Exits 2 if the window is not there.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Text(HWND window) {
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return name;
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
        BSTR name = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT),
                                                 IID_IAccessible,
                                                 reinterpret_cast<void**>(&accessible)))) {
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            accessible->get_accName(self, &name);
            accessible->Release();
        }
        if (name != nullptr) {
            std::printf("name %ls\n", name);
            SysFreeString(name);
        } else {
            HWND before = GetWindow(child, GW_HWNDPREV);
            std::printf("order %ls\n", before != nullptr && ClassName(before) == L"Static"
                                           ? Text(before).c_str()
                                           : L"(no label)");
        }
    }
    CoUninitialize();
    return 0;
}
