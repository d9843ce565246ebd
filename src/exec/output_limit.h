// How much standard output one call takes before it gives up.
#pragma once

#include <cstdint>

namespace tuvex {

// The most standard output that a call takes, given the physical memory
// available when it starts: half of that, so that a command that writes
// without end stops while the machine still has room (the editor needs as
// much again to take the text), and never more than 4 GiB, beyond what an
// editor takes as one text.
std::uint64_t OutputLimit(std::uint64_t availablePhysicalBytes);

}  // namespace tuvex
