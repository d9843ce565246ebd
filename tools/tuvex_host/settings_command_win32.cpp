#include "settings_command_win32.h"

#include <windows.h>

#include <optional>

#include "host/run_decision.h"
#include "host_io_win32.h"
#include "settings_doctor.h"

namespace tuvex::host {

namespace {

// The value of a key as the module's profile read gives it; none when the
// file, the section or the key is not there.
std::optional<std::string> ProfileValue(const std::string& path, const char* section, const char* key)
{
    // A default that no value in a text file is; blanks would not do, as the
    // read strips them.
    const char absent[] = "\x01";
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, absent, value, sizeof value, path.c_str());
    return std::string(value) == absent ? std::nullopt : std::optional<std::string>(value);
}

}  // namespace

int CheckSettingsFile(const std::string& moduleFolder, const std::string& path)
{
    const std::string file = path.empty() ? moduleFolder + "Tuvex.conf" : path;
    const bool exists = GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    const ExitCodeSetting exitCode = DescribeExitCodeSetting(exists ? ProfileValue(file, kCommandSection, kExitCodeKey)
                                                                    : std::nullopt);
    std::string report = "settings file " + file +
                         (exists ? "\n" : " (not there: every setting has its default)\n") + exitCode.description +
                         "\n";
    if (exitCode.finding) {
        report = report + "\nfinding: [COMMAND] exitCode has a value that the module does not know\n";
    }
    WriteText(GetStdHandle(STD_OUTPUT_HANDLE), Decode(report, CP_ACP));
    return exitCode.finding ? 1 : 0;
}

}  // namespace tuvex::host
