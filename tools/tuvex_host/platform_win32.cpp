#include "platform_win32.h"

#include <windows.h>

namespace tuvex::host {

namespace {

template <typename Function>
Function NtdllExport(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace

std::optional<std::string> WineVersion()
{
    using GetWineVersion = const char*(CDECL*)();
    const auto version = NtdllExport<GetWineVersion>("wine_get_version");
    return version ? std::optional<std::string>(version()) : std::nullopt;
}

std::wstring PlatformDescription()
{
    // RtlGetVersion tells the version as it is; GetVersionEx tells what the
    // program's manifest asks for.
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (const auto get = NtdllExport<GetVersion>("RtlGetVersion")) {
        get(&version);
    }
    BOOL emulated = FALSE;
    IsWow64Process(GetCurrentProcess(), &emulated);
    const bool program64 = sizeof(void*) == 8;
    wchar_t language[8] = {};
    wsprintfW(language, L"%04X", static_cast<unsigned>(GetUserDefaultUILanguage()));
    std::wstring text = L"Windows " + std::to_wstring(version.dwMajorVersion) + L"." +
                        std::to_wstring(version.dwMinorVersion) + L"." + std::to_wstring(version.dwBuildNumber) +
                        L", " + (program64 ? L"64" : L"32") + L"-bit program on " +
                        (program64 || emulated ? L"64" : L"32") + L"-bit Windows, user language " + language +
                        L", ANSI code page " + std::to_wstring(GetACP());
    if (const std::optional<std::string> wine = WineVersion()) {
        text += L", under Wine " + std::wstring(wine->begin(), wine->end());
    }
    return text;
}

}  // namespace tuvex::host
