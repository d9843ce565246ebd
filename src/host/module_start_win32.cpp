// The module's start-up: the loader's notifications. The module never
// refuses to load.
#include <windows.h>

#include "common/module_location_win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    tuvex::RecordModuleLocation(instance, reason);
    return TRUE;
}
