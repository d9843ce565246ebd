// What a command's exit status tells of how it ended.
#pragma once

#include <cstdint>

namespace tuvex {

// Whether a process that ended with `exitStatus` was cut off by an exception
// (an access violation 0xC0000005, a stack overflow 0xC00000FD, Ctrl+C
// 0xC000013A, ...): every status from 0xC0000000 up. Any other status is an
// ordinary result of the command (1 from diff or findstr, for example).
bool IsCrashExitCode(std::uint32_t exitStatus);

}  // namespace tuvex
