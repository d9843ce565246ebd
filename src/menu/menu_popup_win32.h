// The command popup: a menu definition file shown as a popup menu.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

#include "common/tuvex_types.h"
#include "menu/menu_items.h"

namespace tuvex {

// Reads the menu definition file at `menuFilePath`, shows its popup at the mouse cursor, owned by `owner`,
// and returns the chosen command, or an entry with three empty strings when nothing was chosen.
// Raises ErrorMessage when the file cannot be opened.
CommandEntry ShowCommandMenu(HWND owner, const ByteString& menuFilePath);

// Command id -> its MenuItemCommand, for the popup being shown. Emptied and
// refilled by each popup; the entries point into that popup's tree and are
// not used once the popup is over.
extern std::map<std::int32_t, IMenuItem*> commandTable;

// The last command id given out. Reset before each popup, so that ids run
// 1, 2, 3... in file order; 0 stays free to mean "nothing chosen".
extern std::int32_t commandCounter;

}  // namespace tuvex
