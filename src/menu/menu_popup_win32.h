// The command popup: a menu definition file shown as a popup menu.
#pragma once

#include <windows.h>

#include "common/tuvex_types.h"

namespace tuvex {

// Reads the menu definition file at `menuFilePath`, shows its popup at the mouse cursor, owned by `owner`,
// and returns the chosen command, or an entry with three empty strings when nothing was chosen.
// Raises ErrorMessage when the file cannot be opened, holds no command, or
// nests its submenus deeper than Windows builds.
CommandEntry ShowCommandMenu(HWND owner, const ByteString& menuFilePath);

}  // namespace tuvex
