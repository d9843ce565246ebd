// The wait window driven directly, as an exchange drives it between its
// passes.
#include <gtest/gtest.h>

#include "common/module_location_win32.h"
#include "dialog/wait_window_win32.h"
#include "resources/wait_window_resources.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

ExchangeProgress Progress(bool canEndCommand)
{
    return {"child.exe sleep 60000", 1500, 42, canEndCommand};
}

HWND FindWaitWindow()
{
    return test::FindVisibleWindow([](HWND window) { return GetDlgItem(window, IDC_WAIT_PROGRESS) != nullptr; });
}

// Whether the owner was enabled at the moment the wait window was destroyed.
struct DestroyWatch {
    HWND owner = nullptr;
    int destroyed = 0;
    bool ownerEnabledAtDestroy = false;
};
DestroyWatch* watchedDestroy = nullptr;

LRESULT CALLBACK RecordDestroy(int code, WPARAM window, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND && GetDlgItem(reinterpret_cast<HWND>(window), IDC_WAIT_PROGRESS)) {
        ++watchedDestroy->destroyed;
        watchedDestroy->ownerEnabledAtDestroy = IsWindowEnabled(watchedDestroy->owner) != FALSE;
    }
    return CallNextHookEx(nullptr, code, window, lParam);
}

class WaitWindowTest : public ::testing::Test {
protected:
    WaitWindowTest() { RecordModuleLocation(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH); }

    const UniqueWindow owner_ = test::MakeOwnerWindow(100, 100, 400, 300);
};

TEST_F(WaitWindowTest, DisablesItsOwnerWhileItShowsAndEnablesItBeforeItIsDestroyed)
{
    DestroyWatch watch{owner_.get()};
    watchedDestroy = &watch;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, &RecordDestroy, nullptr, GetCurrentThreadId());
    bool enabledWhileShown = true;
    {
        WaitWindow window(owner_.get(), 0);
        window.ContinueWaiting(Progress(false));
        ASSERT_NE(FindWaitWindow(), nullptr);
        enabledWhileShown = IsWindowEnabled(owner_.get()) != FALSE;
    }
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(enabledWhileShown);
    EXPECT_EQ(watch.destroyed, 1);
    EXPECT_TRUE(watch.ownerEnabledAtDestroy);
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));
}

TEST_F(WaitWindowTest, EnablesItsOwnerAgainWhenTheWaitEndsInAnException)
{
    try {
        WaitWindow window(owner_.get(), 0);
        window.ContinueWaiting(Progress(false));
        ASSERT_FALSE(IsWindowEnabled(owner_.get()));
        throw ErrorMessage("failed");
    } catch (const ErrorMessage&) {
    }
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));
}

TEST_F(WaitWindowTest, LeavesAnOwnerThatWasDisabledAlreadyDisabled)
{
    EnableWindow(owner_.get(), FALSE);
    {
        WaitWindow window(owner_.get(), 0);
        window.ContinueWaiting(Progress(false));
    }
    EXPECT_FALSE(IsWindowEnabled(owner_.get()));
    EnableWindow(owner_.get(), TRUE);
}

TEST_F(WaitWindowTest, ThePressedEndButtonAsksToEndTheCommand)
{
    WaitWindow window(owner_.get(), 0);
    EXPECT_EQ(window.ContinueWaiting(Progress(true)), WaitChoice::KeepWaiting);
    HWND button = GetDlgItem(FindWaitWindow(), IDC_WAIT_END_COMMAND);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(test::WindowTextOf(button), L"コマンドを終了");
    PostMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(window.ContinueWaiting(Progress(true)), WaitChoice::EndCommand);
}

TEST_F(WaitWindowTest, TheStopButtonAsksToStopWaiting)
{
    WaitWindow window(owner_.get(), 0);
    window.ContinueWaiting(Progress(true));
    PostMessageW(GetDlgItem(FindWaitWindow(), IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_EQ(window.ContinueWaiting(Progress(true)), WaitChoice::StopWaiting);
}

TEST_F(WaitWindowTest, OffersNoEndButtonWhereTheCommandCannotBeEnded)
{
    WaitWindow window(owner_.get(), 0);
    window.ContinueWaiting(Progress(false));
    HWND button = GetDlgItem(FindWaitWindow(), IDC_WAIT_END_COMMAND);
    EXPECT_FALSE(button && IsWindowVisible(button));
}

}  // namespace
}  // namespace tuvex
