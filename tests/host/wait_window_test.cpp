#include <gtest/gtest.h>

#include <atomic>

#include "host/exports.h"
#include "resources/wait_window_resources.h"
#include "support/test_support.h"

#include <tlhelp32.h>

namespace tuvex {
namespace {

using test::DialogWatcher;
using test::TestChildPath;

constexpr int kProgressControl = 1103;

// A visible wait window of this process: the dialog with the progress line.
HWND FindWaitWindow()
{
    return test::FindVisibleWindow([](HWND window) { return GetDlgItem(window, kProgressControl) != nullptr; });
}

// Ends the children this test left running on purpose.
void EndChildrenOfThisProcess()
{
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId()) {
            const UniqueHandle child(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
            TerminateProcess(child.get(), 0);
        }
    }
}

// The running copies of the test child, wherever they were started from.
int RunningTestChildren()
{
    const UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        count += lstrcmpiA(entry.szExeFile, "tuvex_test_child.exe") == 0 ? 1 : 0;
    }
    return count;
}

constexpr int kNoButton = 0;
constexpr int kStopWaitingButton = IDCANCEL;
constexpr int kEndCommandButton = 1104;

// Watches for the wait window during a call: when it showed, what it said,
// and, if asked, presses one of its buttons.
class WaitWindowUser {
public:
    explicit WaitWindowUser(int button) : button_(button), thread_([this] { Watch(); }) {}
    ~WaitWindowUser() { Stop(); }

    void Stop()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    bool shown() const { return shownAtMs_ >= 0; }
    long shownAtMs() const { return shownAtMs_; }
    const std::wstring& texts() const { return texts_; }
    DWORD pressedAt() const { return pressedAt_; }

private:
    void Watch()
    {
        const DWORD start = GetTickCount();
        HWND window = nullptr;
        while (!stop_) {
            HWND found = FindWaitWindow();
            if (found && !window) {
                window = found;
                shownAtMs_ = static_cast<long>(GetTickCount() - start);
                // The progress line is written at the first look after the
                // window shows.
                for (int i = 0; i < 500 && GetWindowTextLengthW(GetDlgItem(window, IDC_WAIT_PROGRESS)) == 0; ++i) {
                    Sleep(10);
                }
                for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
                    texts_ += test::WindowTextOf(control) + L"\n";
                }
                if (button_ != kNoButton) {
                    pressedAt_ = GetTickCount();
                    PostMessageW(window, WM_COMMAND, button_, 0);
                }
            }
            Sleep(20);
        }
    }

    int button_;
    std::atomic<bool> stop_{false};
    std::atomic<long> shownAtMs_{-1};
    std::wstring texts_;
    DWORD pressedAt_ = 0;
    std::thread thread_;
};

class WaitWindowTest : public ::testing::Test {
protected:
    void TearDown() override { EndChildrenOfThisProcess(); }

    std::string Parameter(const std::string& childActions) const { return TestChildPath() + "|" + childActions; }

    test::InstalledModule module_;
    decltype(&TuvexW) wide_ = module_.Export<decltype(TuvexW)>("TuvexW");
    decltype(&TuvexRun) run_ = module_.Export<decltype(TuvexRun)>("TuvexRun");
};

TEST_F(WaitWindowTest, StoppingTheWaitReturnsNullAndLeavesNothingBehind)
{
    DialogWatcher watcher;
    wide_(nullptr, L"", Parameter("exit 0").c_str());  // the first call's one-time costs
    DWORD handlesBefore = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);

    WaitWindowUser user(kStopWaitingButton);
    const HGLOBAL result = wide_(GetDesktopWindow(), L"text", Parameter("out 6869 sleep 60000").c_str());
    const DWORD returnedAt = GetTickCount();
    user.Stop();

    EXPECT_EQ(result, nullptr);
    ASSERT_TRUE(user.shown());
    EXPECT_GE(user.shownAtMs(), 700);
    EXPECT_NE(user.texts().find(L"\"" + test::FromCp932(TestChildPath()) + L"\" out 6869 sleep 60000"), std::wstring::npos)
        << "the window shows: " << testing::PrintToString(user.texts());
    EXPECT_NE(user.texts().find(L"待機を中止"), std::wstring::npos);
    EXPECT_LT(returnedAt - user.pressedAt(), 1000u);
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].text, L"コマンドの終了を待たずに中断しました");

    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesAfter, handlesBefore);
}

TEST_F(WaitWindowTest, EndingTheCommandEndsItAndWhatItStartedAndReturnsNull)
{
    DialogWatcher watcher;
    const int childrenBefore = RunningTestChildren();
    WaitWindowUser user(kEndCommandButton);
    const HGLOBAL result = wide_(GetDesktopWindow(), L"text", Parameter("grandchild 60000 6869 sleep 60000").c_str());
    user.Stop();

    EXPECT_EQ(result, nullptr);
    ASSERT_TRUE(user.shown());
    EXPECT_NE(user.texts().find(L"コマンドを終了"), std::wstring::npos);
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].text, L"コマンドを終了しました");
    int childrenLeft = RunningTestChildren() - childrenBefore;
    for (int wait = 0; wait < 50 && childrenLeft > 0; ++wait) {
        Sleep(100);
        childrenLeft = RunningTestChildren() - childrenBefore;
    }
    EXPECT_EQ(childrenLeft, 0) << "the child or its grandchild still runs";
}

TEST_F(WaitWindowTest, ACommandThatEndsWithinASecondShowsNoWindow)
{
    WaitWindowUser user(kNoButton);
    const HGLOBAL result = wide_(nullptr, L"", Parameter("sleep 200 out 6f6b").c_str());
    user.Stop();
    EXPECT_FALSE(user.shown());
    ASSERT_NE(result, nullptr);
    GlobalFree(result);
}

TEST_F(WaitWindowTest, TheWindowClosesByItselfWhenTheCommandEnds)
{
    WaitWindowUser user(kNoButton);
    const HGLOBAL result = wide_(nullptr, L"", Parameter("pieces 4 1000 500 sleep 1000").c_str());
    const bool windowGoneAtReturn = FindWaitWindow() == nullptr;
    user.Stop();
    EXPECT_TRUE(user.shown());
    EXPECT_TRUE(windowGoneAtReturn);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(GlobalSize(result), 4000u + 2);
    GlobalFree(result);
}

TEST_F(WaitWindowTest, TuvexRunShowsTheWindowTooAndReturnsAnEmptyStringWhenStopped)
{
    DialogWatcher watcher;
    WaitWindowUser user(kStopWaitingButton);
    const char* result = run_("", TestChildPath().c_str(), "out 6869 sleep 60000");
    user.Stop();
    ASSERT_TRUE(user.shown());
    EXPECT_STREQ(result, "");
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].text, L"コマンドの終了を待たずに中断しました");
}

}  // namespace
}  // namespace tuvex
