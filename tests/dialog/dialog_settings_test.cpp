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

TEST(FontSize, OutsideAReadableRangeFallsBackToTheDefault)
{
    for (std::int32_t readable : {0, 6, -6, 16, -16, 144, -144}) {
        EXPECT_EQ(UsableFontSize(readable), readable);
    }
    for (std::int32_t unreadable : {1, 5, -5, 145, -145, 100000, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(UsableFontSize(unreadable), 9) << unreadable;
    }
}

TEST(DialogSize, StaysWithinTheScreenAndLargeEnoughForItsOkButton)
{
    const DialogSize screen{1280, 984};
    EXPECT_EQ(FittedDialogSize({640, 400}, screen), (DialogSize{640, 400}));
    EXPECT_EQ(FittedDialogSize({100000, INT32_MAX}, screen), (DialogSize{1280, 984}));
    EXPECT_EQ(FittedDialogSize({1, 1}, screen), (DialogSize{160, 120}));
    EXPECT_EQ(FittedDialogSize({640, 400}, {100, 100}), (DialogSize{160, 120}));
}

}  // namespace
}  // namespace tuvex
