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
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
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
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
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

    // More than the input pipe holds, for a child that does not read it: the
    // wait ends while a write and both reads are pending.
    const std::wstring unreadText_ = std::wstring(4 << 20, L'x');

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
    const HGLOBAL result =
        wide_(GetDesktopWindow(), unreadText_.c_str(), Parameter("out 6869 err 6f6f7073 sleep 60000").c_str());
    const DWORD returnedAt = GetTickCount();
    user.Stop();

    EXPECT_EQ(result, nullptr);
    ASSERT_TRUE(user.shown());
    EXPECT_GE(user.shownAtMs(), 700);
    EXPECT_NE(user.texts().find(L"\"" + test::FromCp932(TestChildPath()) + L"\" out 6869 err 6f6f7073 sleep 60000"),
              std::wstring::npos)
        << "the window shows: " << testing::PrintToString(user.texts());
    EXPECT_NE(user.texts().find(L"待機を中止"), std::wstring::npos);
    EXPECT_LT(returnedAt - user.pressedAt(), 1000u);
    // What the child wrote to standard error until then comes first.
    ASSERT_EQ(watcher.seen().size(), 2u);
    EXPECT_EQ(watcher.seen()[0].text, L"oops");
    EXPECT_EQ(watcher.seen()[1].text, L"コマンドの終了を待たずに中断しました");

    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesAfter, handlesBefore);
}

TEST_F(WaitWindowTest, EndingTheCommandEndsItAndWhatItStartedAndReturnsNull)
{
    DialogWatcher watcher;
    const int childrenBefore = RunningTestChildren();
    WaitWindowUser user(kEndCommandButton);
    const HGLOBAL result =
        wide_(GetDesktopWindow(), unreadText_.c_str(), Parameter("grandchild 60000 6869 sleep 60000").c_str());
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

// Counts the WM_PAINT messages of a window whose user data points to the count.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        ++*reinterpret_cast<std::atomic<int>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WaitWindowTest, TheEditorsWindowRepaintsWhileTheWaitWindowShows)
{
    const UniqueWindow editor = test::MakeOwnerWindow(60, 60, 500, 400);
    std::atomic<int> paints{0};
    SetWindowLongPtrW(editor.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&paints));
    SetWindowLongPtrW(editor.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints));
    DialogWatcher watcher;
    int paintsBefore = -1;
    int paintsWhileShown = -1;
    std::thread user([&] {
        const HWND window = test::WaitForWindow([](HWND found) { return GetDlgItem(found, kProgressControl) != nullptr; }, 30000);
        paintsBefore = paints;
        InvalidateRect(editor.get(), nullptr, TRUE);
        for (int wait = 0; wait < 100 && paints == paintsBefore; ++wait) {
            Sleep(20);
        }
        paintsWhileShown = paints;
        PostMessageW(window, WM_COMMAND, kStopWaitingButton, 0);
    });
    wide_(editor.get(), L"", Parameter("sleep 60000").c_str());
    user.join();
    EXPECT_GT(paintsWhileShown, paintsBefore) << "WM_PAINT came " << paintsBefore << " times before the window showed";
}

TEST_F(WaitWindowTest, OutputThatFloodsInAfterSilenceArrivesWhole)
{
    const UniqueWindow editor = test::MakeOwnerWindow(60, 60, 500, 400);
    WaitWindowUser user(kNoButton);
    const HGLOBAL result = wide_(editor.get(), L"", Parameter("sleep 2000 out-repeat 50000000 61").c_str());
    user.Stop();
    EXPECT_TRUE(user.shown());
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(GlobalSize(result), 50000000u + 2);
    const std::string_view bytes(static_cast<const char*>(GlobalLock(result)), 50000000);
    EXPECT_EQ(bytes.find_first_not_of('a'), std::string_view::npos);
    GlobalUnlock(result);
    GlobalFree(result);
}

TEST_F(WaitWindowTest, OutputWithoutEndEndsTheCommandAndSaysHowMuchCame)
{
    if (sizeof(void*) != 4) {
        GTEST_SKIP() << "a 64-bit host holds more output than the machine may have";
    }
    const auto narrow = module_.Export<decltype(Tuvex)>("Tuvex");
    const std::wstring before = L"コマンドの出力が大きすぎるため中止しました(受信 ";
    const int childrenBefore = RunningTestChildren();
    for (const char* filter : {"Tuvex", "TuvexW", "TuvexRun"}) {
        DialogWatcher watcher;
        if (filter == std::string_view("TuvexRun")) {
            EXPECT_STREQ(run_("", TestChildPath().c_str(), "flood"), "");
        } else {
            EXPECT_EQ((filter == std::string_view("Tuvex") ? narrow : wide_)(nullptr, L"text", Parameter("flood").c_str()),
                      nullptr);
        }
        ASSERT_EQ(watcher.seen().size(), 1u) << filter;
        const std::wstring text = watcher.seen()[0].text;
        ASSERT_EQ(text.substr(0, before.size()), before) << filter << ": " << testing::PrintToString(text);
        EXPECT_GT(std::stoull(text.substr(before.size())), 100000000ull) << filter << ": " << testing::PrintToString(text);
        EXPECT_EQ(text.substr(text.find(L' ', before.size())), L" バイト)") << filter;
    }
    int childrenLeft = RunningTestChildren() - childrenBefore;
    for (int wait = 0; wait < 50 && childrenLeft > 0; ++wait) {
        Sleep(100);
        childrenLeft = RunningTestChildren() - childrenBefore;
    }
    EXPECT_EQ(childrenLeft, 0) << "a flooding command still runs";
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
    const char* result = run_("", TestChildPath().c_str(), "out 6869 err 6f6f7073 sleep 60000");
    user.Stop();
    ASSERT_TRUE(user.shown());
    EXPECT_STREQ(result, "");
    ASSERT_EQ(watcher.seen().size(), 2u);
    EXPECT_EQ(watcher.seen()[0].text, L"oops");
    EXPECT_EQ(watcher.seen()[1].text, L"コマンドの終了を待たずに中断しました");
}

}  // namespace
}  // namespace tuvex
