#include "exec/exit_status.h"

#include "common/messages.h"

namespace tuvex {

bool IsCrashExitCode(std::uint32_t exitStatus)
{
    return exitStatus >= 0xC0000000u;
}

ByteString CrashMessage(std::uint32_t exitStatus)
{
    static const char digits[] = "0123456789ABCDEF";
    ByteString text(messages::kCommandCrashed);
    text += "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += digits[(exitStatus >> shift) & 0xF];
    }
    text += ')';
    return text;
}

void RaiseIfCrashed(std::uint32_t exitStatus)
{
    if (IsCrashExitCode(exitStatus)) {
        throw ErrorMessage(CrashMessage(exitStatus));
    }
}

}  // namespace tuvex
