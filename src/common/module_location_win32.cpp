#include "common/module_location_win32.h"

#include "common/module_location.h"

namespace tuvex {

HINSTANCE moduleInstance = nullptr;

namespace {

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace

ByteString ModuleFileDirectory(HMODULE module)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return DirectoryOfModulePath(std::string_view(path, length), &IsAnsiLeadByte);
}

void RecordModuleLocation(HINSTANCE instance, DWORD reason)
{
    moduleInstance = instance;
    if (reason == DLL_PROCESS_ATTACH) {
        // Without a directory, files are looked for in the current directory
        // rather than in a wrong one.
        moduleDirectory = ModuleFileDirectory(instance);
    }
}

}  // namespace tuvex
