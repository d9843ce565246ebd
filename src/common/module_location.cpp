#include "common/module_location.h"

#include <algorithm>

namespace tuvex {

ByteString moduleDirectory;

ByteString DirectoryOfModulePath(std::string_view modulePath, LeadByteTest isLeadByte)
{
    std::string_view drive;
    std::string_view rest = modulePath;
    if (modulePath.size() >= 2 && modulePath[1] == ':') {
        drive = modulePath.substr(0, 2);
        rest = modulePath.substr(2);
    }

    std::size_t directoryLength = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const auto byte = static_cast<unsigned char>(rest[i]);
        if (isLeadByte(byte)) {
            ++i;  // the trail byte may equal "\" but is no separator
        } else if (byte == '\\' || byte == '/') {
            directoryLength = i + 1;
        }
    }
    constexpr std::size_t kMaxDirectoryLength = 255;
    directoryLength = std::min(directoryLength, kMaxDirectoryLength);

    ByteString directory(drive);
    directory.append(rest.substr(0, directoryLength));
    return directory;
}

ByteString ModuleFilePath(std::string_view fileName)
{
    ByteString path = moduleDirectory;
    path.append(fileName);
    return path;
}

}  // namespace tuvex
