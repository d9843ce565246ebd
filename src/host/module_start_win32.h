#pragma once

#include <windows.h>

namespace tuvex {

// The module's own instance handle: the dialog template is loaded through it.
extern HINSTANCE moduleInstance;

// Records the instance handle and, when the module is being loaded, its
// directory. Runs under the loader lock: nothing but GetModuleFileNameA.
void RecordModuleStart(HINSTANCE instance, DWORD reason);

}  // namespace tuvex
