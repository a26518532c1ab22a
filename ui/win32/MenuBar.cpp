// The window's menu bar and the command of each entry.
#include "ui/win32/MenuBar.h"

#include <string>
#include <variant>

#include "platform/windows/WideText.h"

namespace pelagrin::win32 {
namespace {

// Menu command identifiers: one per command, clear of the controls' identifiers and of the
// dialog identifiers (IDOK, IDCANCEL, ...) that the system sends on its own.
constexpr UINT CommandId(form::Command command) {
    return 100 + static_cast<UINT>(command);
}

void Append(HMENU menu, const form::MenuItem& item) {
    const std::wstring caption = Utf16(item.caption);
    if (!AppendMenuW(menu, MF_STRING, CommandId(item.command), caption.c_str())) {
        ThrowLastError("AppendMenuW");
    }
}

}  // namespace

// The menu is ours until the window takes it, and the drop-down until the bar does.
Menu MakeMenuBar() {
    Menu menu(CreateMenu());
    if (!menu) {
        ThrowLastError("CreateMenu");
    }
    for (const form::MenuBarEntry& entry : form::kMenuBar) {
        if (const auto* item = std::get_if<form::MenuItem>(&entry)) {
            Append(menu.get(), *item);
            continue;
        }
        Menu drop_down(CreatePopupMenu());
        if (!drop_down) {
            ThrowLastError("CreatePopupMenu");
        }
        for (const form::MenuItem& item : form::kFileMenu) {
            Append(drop_down.get(), item);
        }
        const std::wstring caption = Utf16(std::get<form::FileMenu>(entry).caption);
        if (!AppendMenuW(menu.get(), MF_POPUP | MF_STRING,
                         reinterpret_cast<UINT_PTR>(drop_down.get()), caption.c_str())) {
            ThrowLastError("AppendMenuW");
        }
        drop_down.release();
    }
    return menu;
}

// Every command is on the menu, so each identifier in the commands' range names one.
std::optional<form::Command> ChosenCommand(WPARAM wparam, LPARAM lparam) {
    if (lparam != 0 || HIWORD(wparam) != 0) {
        return std::nullopt;
    }
    const UINT id = LOWORD(wparam);
    if (id < CommandId(form::Command::Calculate) || id > CommandId(form::Command::Exit)) {
        return std::nullopt;
    }
    return static_cast<form::Command>(id - CommandId(form::Command::Calculate));
}

}  // namespace pelagrin::win32
