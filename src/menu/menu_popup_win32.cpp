#include "menu/menu_popup_win32.h"

#include <cstddef>

#include "menu/menu_file.h"

namespace tuvex {

std::map<std::int32_t, IMenuItem*> commandTable;
std::int32_t commandCounter = 0;

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

}  // namespace

void Menu::BuildMenu()
{
    UINT position = 0;
    for (const auto& child : children) {
        MENUITEMINFOA item{};
        item.cbSize = kMenuItemInfoSize;
        if (auto* submenu = dynamic_cast<Menu*>(child.get())) {
            // Complete before it is attached.
            submenu->menuHandle.reset(CreateMenu());
            submenu->BuildMenu();
            item.fMask = MIIM_SUBMENU | MIIM_TYPE;
            SetText(item, submenu->GetName());
            item.hSubMenu = submenu->menuHandle.get();
        } else if (auto* command = dynamic_cast<MenuItemCommand*>(child.get())) {
            const std::int32_t id = ++commandCounter;
            commandTable[id] = command;
            item.fMask = MIIM_STATE | MIIM_ID | MIIM_TYPE;
            SetText(item, command->GetName());
            item.wID = static_cast<UINT>(id);
        } else if (dynamic_cast<MenuItemSeparator*>(child.get())) {
            item.fMask = MIIM_TYPE;
            item.fType = MFT_SEPARATOR;
        }
        InsertMenuItemA(menuHandle.get(), position++, TRUE, &item);
    }
}

CommandEntry ShowCommandMenu(HWND owner, const ByteString& menuFilePath)
{
    // The tree owns every menu handle made below, so that all of them are
    // destroyed with it, also when building fails half-way.
    const std::unique_ptr<Menu> root = LoadMenuDefinition(menuFilePath);
    root->menuHandle.reset(CreatePopupMenu());
    commandCounter = 0;
    commandTable.clear();
    root->BuildMenu();

    POINT cursor{};
    GetCursorPos(&cursor);
    // The id comes back as the result: the owner is sent no command.
    const std::int32_t chosen = TrackPopupMenu(root->menuHandle.get(), TPM_RETURNCMD | TPM_NONOTIFY, cursor.x,
                                               cursor.y, 0, owner, nullptr);

    CommandEntry entry;
    const auto found = commandTable.find(chosen);
    if (found != commandTable.end()) {
        if (const auto* command = dynamic_cast<const MenuItemCommand*>(found->second)) {
            entry.name = command->GetName();
            entry.command = command->command;
            entry.arguments = command->arguments;
        }
    }
    return entry;
}

}  // namespace tuvex
