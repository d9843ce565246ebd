// tuvex_host conf: reads "Tuvex.conf" as the module does and says what it
// asks for.
#pragma once

#include <string>

namespace tuvex::host {

// Prints what the settings file beside the module (in `moduleFolder`), or
// the one at `path` when it is not empty, asks of the module. Returns 0 with
// no findings, 1 with findings.
int CheckSettingsFile(const std::string& moduleFolder, const std::string& path);

}  // namespace tuvex::host
