// Which processor a DLL is built for, read from its file's PE header, so
// that a DLL of the other width gets a clear message instead of error 193.
#pragma once

#include <string>
#include <string_view>

namespace tuvex::host {

enum class ModuleMachine { X86, X64, Other, NoModule };

// From the first bytes of the file (the DOS header, and the PE header that
// it points to, if they are among them).
ModuleMachine MachineOfModule(std::string_view firstBytes);

// Why the DLL at `path` cannot be loaded by this program (32- or 64-bit
// after `program64`): what it is built for and what to use instead.
std::string WrongMachineProblem(const std::string& path, ModuleMachine machine, bool program64);

}  // namespace tuvex::host
