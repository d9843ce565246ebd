// tuvex_host conf: what "Tuvex.conf" asks of the module, checked.
#pragma once

#include <optional>
#include <string>

namespace tuvex::host {

// What [COMMAND] exitCode does, from its value as the profile functions read
// it (none when the key is not there), and whether that value is a finding:
// one that the module does not know counts as report.
struct ExitCodeSetting {
    std::string description;
    bool finding = false;
};
ExitCodeSetting DescribeExitCodeSetting(const std::optional<std::string>& value);

// The line that tuvex_host prints after a run: the command's exit code in
// decimal, with the hexadecimal of a crash code.
std::string ExitCodeLine(unsigned long exitCode);

}  // namespace tuvex::host
