// The machine of a DLL read from arbitrary first bytes of a file: never a
// read beyond them, and a DLL of either width is told as such.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "module_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const tuvex::host::ModuleMachine machine = tuvex::host::MachineOfModule(bytes);
    FUZZ_CHECK(machine == tuvex::host::ModuleMachine::NoModule || bytes.starts_with("MZ"));
    FUZZ_CHECK(!tuvex::host::WrongMachineProblem("x.dll", machine, false).empty());
    return 0;
}
