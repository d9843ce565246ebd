#include <windows.h>

#include "common/module_location_win32.h"
#include "exec/command_lookup.h"

namespace tuvex {

namespace {

// A folder that a Windows call writes into a buffer; empty when it fails.
template <typename Query>
ByteString FolderFrom(Query query)
{
    char buffer[MAX_PATH + 1] = {};
    const UINT length = query(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? ByteString(buffer, length) : ByteString();
}

ByteString PathVariable()
{
    const DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (size == 0) {
        return {};
    }
    ByteString value(size, '\0');
    const DWORD length = GetEnvironmentVariableA("PATH", value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

PathKind KindOf(const ByteString& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return PathKind::Missing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}

}  // namespace

CommandLocation LocateCommand(const ByteString& command)
{
    const std::vector<ByteString> folders =
        SearchFolders(ModuleFileDirectory(nullptr),
                      FolderFrom([](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }),
                      FolderFrom([](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); }),
                      PathVariable());
    return FindCommand(command, folders, &KindOf);
}

}  // namespace tuvex
