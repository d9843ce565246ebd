// What this program runs on: Windows and its version, or Wine.
#pragma once

#include <optional>
#include <string>

namespace tuvex::host {

// Wine's version when this runs under Wine; nothing on Windows.
std::optional<std::string> WineVersion();

// The system's version, the width of this program and of the system, the
// user's language and the ANSI code page: "Windows 10.0.19045, 32-bit
// program on 64-bit Windows, user language 0411, ANSI code page 932"
// (and Wine's version under Wine).
std::wstring PlatformDescription();

}  // namespace tuvex::host
