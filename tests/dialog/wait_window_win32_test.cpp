// The wait window driven directly, as a wait drives it.
#include <gtest/gtest.h>

#include <functional>

#include "common/module_location_win32.h"
#include "dialog/wait_window_win32.h"
#include "resources/wait_window_resources.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

constexpr std::string_view kCommandLine = "child.exe sleep 60000";

// Hands the thread's messages to the window, as a wait does while it shows.
void DispatchMessages(WaitWindow& window)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!window.TakeDialogMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
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
        WaitWindow window(owner_.get(), kCommandLine, {});
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
        WaitWindow window(owner_.get(), kCommandLine, {});
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
        WaitWindow window(owner_.get(), kCommandLine, {});
    }
    EXPECT_FALSE(IsWindowEnabled(owner_.get()));
    EnableWindow(owner_.get(), TRUE);
}

TEST_F(WaitWindowTest, ThePressedEndButtonEndsTheCommandAtOnce)
{
    int ends = 0;
    WaitWindow window(owner_.get(), kCommandLine, [&] { ++ends; });
    EXPECT_EQ(window.chosen(), WaitWindowChoice::None);
    HWND button = GetDlgItem(FindWaitWindow(), IDC_WAIT_END_COMMAND);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(test::WindowTextOf(button), L"コマンドを終了");
    PostMessageW(button, BM_CLICK, 0, 0);
    DispatchMessages(window);
    EXPECT_EQ(window.chosen(), WaitWindowChoice::EndCommand);
    EXPECT_EQ(ends, 1);
}

TEST_F(WaitWindowTest, TheStopButtonAsksToStopWaiting)
{
    int ends = 0;
    WaitWindow window(owner_.get(), kCommandLine, [&] { ++ends; });
    HWND button = GetDlgItem(FindWaitWindow(), IDC_WAIT_STOP_WAITING);
    EXPECT_EQ(test::WindowTextOf(button), L"待機を中止");
    PostMessageW(button, BM_CLICK, 0, 0);
    DispatchMessages(window);
    EXPECT_EQ(window.chosen(), WaitWindowChoice::StopWaiting);
    EXPECT_EQ(ends, 0);
}

TEST_F(WaitWindowTest, EnterAndEscEndTheCommandWhereItCanBeEndedElseStopWaiting)
{
    for (const bool canEnd : {true, false}) {
        for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            int ends = 0;
            WaitWindow window(owner_.get(), kCommandLine, canEnd ? std::function<void()>([&] { ++ends; }) : nullptr);
            PostMessageW(FindWaitWindow(), WM_KEYDOWN, key, 0);
            DispatchMessages(window);
            const bool ended = window.chosen() == WaitWindowChoice::EndCommand && ends == 1;
            EXPECT_EQ(ended, canEnd) << "key " << key << ", chose " << int(window.chosen()) << ", ended " << ends;
            EXPECT_EQ(window.chosen() == WaitWindowChoice::StopWaiting, !canEnd) << "key " << key;
        }
    }
}

TEST_F(WaitWindowTest, ShowsTheCommandLineAndTheProgress)
{
    WaitWindow window(owner_.get(), kCommandLine, [] {});
    window.ShowProgress(3, 42);
    HWND shown = FindWaitWindow();
    EXPECT_EQ(test::WindowTextOf(GetDlgItem(shown, IDC_WAIT_COMMAND_LINE)), L"child.exe sleep 60000");
    EXPECT_EQ(test::WindowTextOf(GetDlgItem(shown, IDC_WAIT_PROGRESS)), L"経過 3 秒、受信 42 バイト");
}

TEST_F(WaitWindowTest, OffersNoEndButtonWhereTheCommandCannotBeEnded)
{
    WaitWindow window(owner_.get(), kCommandLine, {});
    HWND button = GetDlgItem(FindWaitWindow(), IDC_WAIT_END_COMMAND);
    EXPECT_FALSE(button && IsWindowVisible(button));
}

}  // namespace
}  // namespace tuvex
