#include <gtest/gtest.h>

#include <vector>

#include "common/unique_resource.h"

namespace tuvex {
namespace {

std::vector<int> released;

void Record(int value) { released.push_back(value); }

struct MinusOneIsInvalid {
    static constexpr int value() noexcept { return -1; }
};

using OwnerOfNullKind = UniqueResource<int, &Record>;
using OwnerOfMinusOneKind = UniqueResource<int, &Record, MinusOneIsInvalid>;

TEST(UniqueResource, ReleasesEveryValueButItsKindsInvalidOne)
{
    released.clear();
    {
        const OwnerOfNullKind nothing;
        const OwnerOfNullKind failed(0);
        const OwnerOfNullKind held(-1);
        const OwnerOfMinusOneKind otherNothing;
        const OwnerOfMinusOneKind otherFailed(-1);
        const OwnerOfMinusOneKind otherHeld(0);
        EXPECT_FALSE(failed);
        EXPECT_TRUE(held);
        EXPECT_FALSE(otherFailed);
        EXPECT_TRUE(otherHeld);
    }
    EXPECT_EQ(released, (std::vector<int>{0, -1})) << released.size() << " values released";
}

}  // namespace
}  // namespace tuvex
