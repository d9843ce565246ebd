#include "menu/menu_popup_win32.h"

#include <cstddef>

#include "common/messages.h"
#include "menu/menu_file.h"
#include "menu/menu_items.h"

namespace tuvex {

namespace {

// Items are described in the record's original form, without hbmpItem,
// which every version of the menu functions accepts: 44 bytes on 32-bit
// Windows, 72 with 64-bit pointers.
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(kMenuItemInfoSize == (sizeof(void*) == 4 ? 44 : 72));

void SetText(MENUITEMINFOA& item, const ByteString& text)
{
    item.fType = MFT_STRING;
    // The A functions only read the text; they merely declare it writable.
    item.dwTypeData = const_cast<char*>(text.c_str());
    item.cch = static_cast<UINT>(text.size());
}

// A menu that is only partly made must not be shown.
[[noreturn]] void RaiseMenuFailure()
{
    throw ErrorMessage(MessageWithCode(messages::kMenuCreateFailed, static_cast<std::uint32_t>(GetLastError())));
}

UniqueMenu NewMenu(HMENU(WINAPI* create)())
{
    UniqueMenu menu(create());
    if (!menu) {
        RaiseMenuFailure();
    }
    return menu;
}

}  // namespace

void Menu::BuildMenu(CommandTable& commands)
{
    UINT position = 0;
    for (const auto& child : children) {
        MENUITEMINFOA item{};
        item.cbSize = kMenuItemInfoSize;
        if (auto* submenu = dynamic_cast<Menu*>(child.get())) {
            // Complete before it is attached.
            submenu->menuHandle = NewMenu(&CreateMenu);
            submenu->BuildMenu(commands);
            item.fMask = MIIM_SUBMENU | MIIM_TYPE;
            SetText(item, submenu->GetName());
            item.hSubMenu = submenu->menuHandle.get();
        } else if (const auto* command = dynamic_cast<const MenuItemCommand*>(child.get())) {
            item.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
            SetText(item, command->GetName());
            item.wID = static_cast<UINT>(commands.Add(*command));
        } else if (dynamic_cast<MenuItemSeparator*>(child.get())) {
            item.fMask = MIIM_TYPE;
            item.fType = MFT_SEPARATOR;
        }
        if (!InsertMenuItemA(menuHandle.get(), position++, TRUE, &item)) {
            RaiseMenuFailure();
        }
    }
}

CommandEntry ShowCommandMenu(HWND owner, const ByteString& menuFilePath)
{
    // The tree owns every menu handle made below, so that all of them are
    // destroyed with it, also when building fails half-way.
    const std::unique_ptr<Menu> root = LoadMenuDefinition(menuFilePath);
    RaiseIfNotShowable(*root, menuFilePath);
    root->menuHandle = NewMenu(&CreatePopupMenu);
    CommandTable commands;
    root->BuildMenu(commands);

    POINT cursor{};
    GetCursorPos(&cursor);
    // A popup whose owner is not the foreground window stays open when the
    // user clicks elsewhere.
    SetForegroundWindow(owner);
    // The id comes back as the result: the owner is sent no command.
    const std::int32_t chosen = TrackPopupMenu(root->menuHandle.get(), TPM_RETURNCMD | TPM_NONOTIFY, cursor.x,
                                               cursor.y, 0, owner, nullptr);

    CommandEntry entry;
    if (const MenuItemCommand* command = commands.Find(chosen)) {
        entry.name = command->GetName();
        entry.command = command->command;
        entry.arguments = command->arguments;
    }
    return entry;
}

}  // namespace tuvex
