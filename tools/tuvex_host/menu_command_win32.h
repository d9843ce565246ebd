// tuvex_host menu: the menu-file doctor's reading and printing.
#pragma once

#include <string>

namespace tuvex::host {

// Prints the menu that a menu file gives and the doctor's findings.
// `which` is "Tuvex", "TuvexW" or "TuvexUtf8" (the file beside the module, in
// `moduleFolder`) or a path. Returns 0 with no findings, 1 with findings, 2
// when the file cannot be read.
int CheckMenuFile(const std::string& moduleFolder, const std::string& which);

}  // namespace tuvex::host
