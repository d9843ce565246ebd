#include <gtest/gtest.h>

#include "dialog/dialog_settings.h"

namespace tuvex {
namespace {

TEST(DialogExtent, OfZeroOrLessFallsBackToTheDefault)
{
    EXPECT_EQ(UsableDialogExtent(0, 320), 320);
    EXPECT_EQ(UsableDialogExtent(-1, 200), 200);
    EXPECT_EQ(UsableDialogExtent(INT32_MIN, 200), 200);
}

TEST(DialogExtent, AnyPositiveSettingIsKept)
{
    EXPECT_EQ(UsableDialogExtent(1, 320), 1);
    EXPECT_EQ(UsableDialogExtent(640, 320), 640);
    EXPECT_EQ(UsableDialogExtent(INT32_MAX, 320), INT32_MAX);
}

}  // namespace
}  // namespace tuvex
