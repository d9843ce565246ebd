#include "exec/output_limit.h"

#include <algorithm>

namespace tuvex {

std::uint64_t OutputLimit(std::uint64_t availablePhysicalBytes)
{
    constexpr std::uint64_t kMostOutput = std::uint64_t(4) << 30;
    return std::min(availablePhysicalBytes / 2, kMostOutput);
}

}  // namespace tuvex
