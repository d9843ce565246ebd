// The module's own instance handle and where it was loaded from.
#pragma once

#include <windows.h>

namespace tuvex {

// The module's own instance handle: its dialog templates are loaded through it.
extern HINSTANCE moduleInstance;

// Records the instance handle and, when the module is being loaded, its
// directory. Runs under the loader lock: nothing but GetModuleFileNameA.
void RecordModuleLocation(HINSTANCE instance, DWORD reason);

}  // namespace tuvex
