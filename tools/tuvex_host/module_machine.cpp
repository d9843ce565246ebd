#include "module_machine.h"

#include <cstdint>

namespace tuvex::host {

namespace {

constexpr std::size_t kPeHeaderOffsetAt = 0x3C;
constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

ModuleMachine MachineOfModule(std::string_view firstBytes)
{
    if (firstBytes.size() < kPeHeaderOffsetAt + 4 || !firstBytes.starts_with("MZ")) {
        return ModuleMachine::NoModule;
    }
    const std::uint32_t peHeader = LittleEndian(firstBytes, kPeHeaderOffsetAt, 4);
    if (peHeader > firstBytes.size() || firstBytes.size() - peHeader < 6 ||
        firstBytes.substr(peHeader, 4) != std::string_view("PE\0\0", 4)) {
        return ModuleMachine::NoModule;
    }
    switch (LittleEndian(firstBytes, peHeader + 4, 2)) {
    case kMachineI386:
        return ModuleMachine::X86;
    case kMachineAmd64:
        return ModuleMachine::X64;
    default:
        return ModuleMachine::Other;
    }
}

std::string WrongMachineProblem(const std::string& path, ModuleMachine machine, bool program64)
{
    const std::string program = program64 ? "this tuvex_host is 64-bit" : "this tuvex_host is 32-bit";
    switch (machine) {
    case ModuleMachine::X86:
    case ModuleMachine::X64: {
        const bool module64 = machine == ModuleMachine::X64;
        return "cannot load " + path + ": it is a " + (module64 ? "64" : "32") + "-bit DLL and " + program +
               ": use the tuvex_host.exe of the same package (" + (module64 ? "win64" : "win32") +
               "), as an editor loads only the Tuvex.dll of its own width";
    }
    case ModuleMachine::Other:
        return "cannot load " + path + ": it is a DLL for another processor (not x86 or x64)";
    case ModuleMachine::NoModule:
        break;
    }
    return "cannot load " + path + ": it is not a DLL (no Windows program header)";
}

}  // namespace tuvex::host
