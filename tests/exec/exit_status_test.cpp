#include <gtest/gtest.h>

#include "exec/exit_status.h"

namespace tuvex {
namespace {

TEST(IsCrashExitCode, IsTrueFromTheExceptionCodesUp)
{
    for (std::uint32_t status : {0xC0000000u, 0xC0000005u, 0xC00000FDu, 0xC0000409u, 0xC000013Au, 0xFFFFFFFFu}) {
        EXPECT_TRUE(IsCrashExitCode(status)) << std::hex << status;
    }
    for (std::uint32_t status : {0u, 1u, 2u, 259u, 0x80000003u, 0xBFFFFFFFu}) {
        EXPECT_FALSE(IsCrashExitCode(status)) << std::hex << status;
    }
}

}  // namespace
}  // namespace tuvex
