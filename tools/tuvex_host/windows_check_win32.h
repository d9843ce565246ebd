// tuvex_host check: tries, on the machine where it runs, each behaviour of
// Windows that the module relies on and that only Windows can confirm.
#pragma once

#include <windows.h>

namespace tuvex::host {

// Prints the table to standard output. `module` is the loaded Tuvex.dll,
// whose TuvexRun starts a batch file as the filters would. Opens a window and
// a popup menu for a moment and clicks beside the popup. Returns 0 when no
// row failed, 1 otherwise.
int RunWindowsCheck(HMODULE module);

}  // namespace tuvex::host
