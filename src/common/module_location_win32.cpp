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

void RecordModuleLocation(HINSTANCE instance, DWORD reason)
{
    moduleInstance = instance;
    if (reason != DLL_PROCESS_ATTACH) {
        return;
    }
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    // A failed or cut-off name leaves the directory empty: files are then
    // looked for in the current directory rather than in a wrong one.
    if (length == 0 || length >= MAX_PATH) {
        moduleDirectory.clear();
        return;
    }
    moduleDirectory = DirectoryOfModulePath(std::string_view(path, length), &IsAnsiLeadByte);
}

}  // namespace tuvex
