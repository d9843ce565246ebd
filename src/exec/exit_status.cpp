#include "exec/exit_status.h"

namespace tuvex {

bool IsCrashExitCode(std::uint32_t exitStatus)
{
    return exitStatus >= 0xC0000000u;
}

}  // namespace tuvex
