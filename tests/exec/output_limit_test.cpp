#include <gtest/gtest.h>

#include <cstdint>

#include "exec/output_limit.h"

namespace tuvex {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t(1) << 30;

TEST(OutputLimit, IsHalfTheAvailableMemoryAndAtMostFourGiB)
{
    EXPECT_EQ(OutputLimit(0), 0u);
    EXPECT_EQ(OutputLimit(3), 1u);
    EXPECT_EQ(OutputLimit(2 * kGiB), kGiB);
    EXPECT_EQ(OutputLimit(8 * kGiB), 4 * kGiB);
    EXPECT_EQ(OutputLimit(8 * kGiB + 2), 4 * kGiB);
    EXPECT_EQ(OutputLimit(UINT64_MAX), 4 * kGiB);
}

}  // namespace
}  // namespace tuvex
