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

// The value of an environment variable of this process; nothing when it is
// not set.
std::optional<ByteString> EnvironmentVariable(const char* name)
{
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    ByteString value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, value.data(), size);
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
                      EnvironmentVariable("PATH").value_or(""));
    return FindCommand(command, folders, ExecutableExtensions(EnvironmentVariable("PATHEXT")), &KindOf);
}

}  // namespace tuvex
