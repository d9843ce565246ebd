#include "dialog/dialog_settings_win32.h"

#include <windows.h>

#include "common/module_location.h"

namespace tuvex {

ProfileFile::ProfileFile(ByteString path) : path_(std::move(path)) {}

ByteString ProfileFile::GetString(const ByteString& section, const ByteString& key,
                                  const ByteString& defaultValue) const
{
    constexpr DWORD kBufferSize = 1024;
    char buffer[kBufferSize] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, kBufferSize,
                             path_.c_str());
    return ByteString(buffer);
}

std::int32_t ProfileFile::GetInteger(const ByteString& section, const ByteString& key,
                                     std::int32_t defaultValue) const
{
    return static_cast<std::int32_t>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path_.c_str()));
}

DialogSettings ReadDialogSettings()
{
    const ProfileFile file(ModuleFilePath("Tuvex.conf"));
    DialogSettings settings;
    settings.fontName = file.GetString("DIALOG", "fontName", kDefaultFontName);
    settings.fontSize = UsableFontSize(file.GetInteger("DIALOG", "fontSize", kDefaultFontSize));
    settings.width = UsableDialogExtent(file.GetInteger("DIALOG", "width", kDefaultDialogWidth), kDefaultDialogWidth);
    settings.height =
        UsableDialogExtent(file.GetInteger("DIALOG", "height", kDefaultDialogHeight), kDefaultDialogHeight);
    return settings;
}

}  // namespace tuvex
