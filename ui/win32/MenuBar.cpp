// The window's menu bar and the command of each entry.
#include "ui/win32/MenuBar.h"

#include <algorithm>
#include <string>

#include "platform/windows/WideText.h"

namespace pelagrin::win32 {
namespace {

// Menu command identifiers: one per command, clear of the controls' identifiers and of the
// dialog identifiers (IDOK, IDCANCEL, ...) that the system sends on its own.
constexpr UINT CommandId(form::Command command) {
    return 100 + static_cast<UINT>(command);
}

}  // namespace

// The menu is ours until the window takes it, and the drop-down until the bar does.
Menu MakeMenuBar() {
    Menu menu(CreateMenu());
    if (!menu) {
        ThrowLastError("CreateMenu");
    }
    HMENU file = nullptr;
    for (const form::MenuEntry& entry : form::kMenus) {
        const std::wstring caption = Utf16(entry.caption);
        if (!entry.command) {
            Menu drop_down(CreatePopupMenu());
            if (!drop_down) {
                ThrowLastError("CreatePopupMenu");
            }
            if (!AppendMenuW(menu.get(), MF_POPUP | MF_STRING,
                             reinterpret_cast<UINT_PTR>(drop_down.get()), caption.c_str())) {
                ThrowLastError("AppendMenuW");
            }
            file = drop_down.release();
            continue;
        }
        if (!AppendMenuW(entry.place == form::MenuPlace::File ? file : menu.get(), MF_STRING,
                         CommandId(*entry.command), caption.c_str())) {
            ThrowLastError("AppendMenuW");
        }
    }
    return menu;
}

std::optional<form::Command> ChosenCommand(WPARAM wparam, LPARAM lparam) {
    if (lparam != 0 || HIWORD(wparam) != 0) {
        return std::nullopt;
    }
    const auto* chosen = std::find_if(
        form::kMenus.begin(), form::kMenus.end(), [wparam](const form::MenuEntry& entry) {
            return entry.command && LOWORD(wparam) == CommandId(*entry.command);
        });
    return chosen == form::kMenus.end() ? std::nullopt : chosen->command;
}

}  // namespace pelagrin::win32
