// The module's own instance handle and where it was loaded from.
#pragma once

#include <windows.h>

#include "common/tuvex_types.h"

namespace tuvex {

// The module's own instance handle: its dialog templates are loaded through it.
extern HINSTANCE moduleInstance;

// The drive and directory of the file of `module` (of the program for null),
// as DirectoryOfModulePath gives them; empty when its name cannot be had
// whole, so that a cut-off name never stands for a wrong folder.
ByteString ModuleFileDirectory(HMODULE module);

// Records the instance handle and, when the module is being loaded, its
// directory. Runs under the loader lock: nothing but GetModuleFileNameA.
void RecordModuleLocation(HINSTANCE instance, DWORD reason);

}  // namespace tuvex
