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
constexpr int kStopWaitingButton = IDC_WAIT_STOP_WAITING;
constexpr int kEndCommandButton = 1104;

// Watches for the wait window during a call: when it showed, what it said,
// and, if asked, presses one of its buttons.
class WaitWindowUser {
public:
    // `seen`, when given, is set once the window has shown: a child that
    // waits for it runs until then, however slow the machine. The button is
    // pressed once `ready`, when given, is set: by a child whose output has
    // been read.
    explicit WaitWindowUser(int button, const test::ChildSignal* seen = nullptr,
                            const test::ChildSignal* ready = nullptr)
        : button_(button), seen_(seen), ready_(ready), thread_([this] { Watch(); })
    {
    }
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
                test::WaitUntil([&] { return GetWindowTextLengthW(GetDlgItem(window, IDC_WAIT_PROGRESS)) != 0; });
                for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
                    texts_ += test::WindowTextOf(control) + L"\n";
                }
                if (seen_) {
                    seen_->Set();
                }
                if (ready_) {
                    ready_->WaitSet();
                }
                if (button_ != kNoButton) {
                    PostMessageW(window, WM_COMMAND, button_, 0);
                }
            }
            Sleep(20);
        }
    }

    int button_;
    const test::ChildSignal* seen_;
    const test::ChildSignal* ready_;
    std::atomic<bool> stop_{false};
    std::atomic<long> shownAtMs_{-1};
    std::wstring texts_;
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
    auto stopWaiting = [&] {
        const test::ChildSignal outputRead;
        const std::string actions = "out 6869 err 6f6f7073 flush set-event " + outputRead.name() + " sleep 60000";
        const std::string parameter = Parameter(actions);
        DialogWatcher watcher;
        WaitWindowUser user(kStopWaitingButton, nullptr, &outputRead);
        const HGLOBAL result = wide_(GetDesktopWindow(), unreadText_.c_str(), parameter.c_str());
        user.Stop();
        EXPECT_EQ(result, nullptr);
        ASSERT_TRUE(user.shown());
        EXPECT_GE(user.shownAtMs(), 700);
        EXPECT_NE(user.texts().find(L"\"" + test::FromCp932(TestChildPath()) + L"\" " + test::FromCp932(actions)),
                  std::wstring::npos)
            << "the window shows: " << testing::PrintToString(user.texts());
        EXPECT_NE(user.texts().find(L"待機を中止"), std::wstring::npos);
        // What the child wrote to standard error until then comes first.
        ASSERT_EQ(watcher.seen().size(), 2u);
        EXPECT_EQ(watcher.seen()[0].text, L"oops");
        EXPECT_EQ(test::FirstLine(watcher.seen()[1].text), L"コマンドの終了を待たずに中断しました");
    };
    stopWaiting();  // the first wait window's one-time costs
    DWORD handlesBefore = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    stopWaiting();
    stopWaiting();
    DWORD handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    // A handle left behind by each call shows as two; the system may open
    // one of its own on the way.
    EXPECT_LE(handlesAfter, handlesBefore + 1) << "before " << handlesBefore << ", after two more calls " << handlesAfter;
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
    EXPECT_TRUE(test::WaitUntil([&] { return RunningTestChildren() <= childrenBefore; }))
        << "the child or its grandchild still runs";
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
        test::WaitUntil([&] { return paints != paintsBefore; });
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
    const test::ChildSignal windowSeen;
    WaitWindowUser user(kNoButton, &windowSeen);
    const HGLOBAL result =
        wide_(editor.get(), L"", Parameter("wait-event " + windowSeen.name() + " out-repeat 50000000 61").c_str());
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
    EXPECT_TRUE(test::WaitUntil([&] { return RunningTestChildren() <= childrenBefore; }))
        << "a flooding command still runs";
}

TEST_F(WaitWindowTest, ACommandThatEndsWithinASecondShowsNoWindow)
{
    // A loaded machine may take the whole second to start the command:
    // the window may show only for a call that lasted that long.
    WaitWindowUser user(kNoButton);
    const DWORD start = GetTickCount();
    const HGLOBAL result = wide_(nullptr, L"", Parameter("out 6f6b").c_str());
    const DWORD callMs = GetTickCount() - start;
    user.Stop();
    EXPECT_TRUE(!user.shown() || callMs >= 1000) << "shown after " << user.shownAtMs() << " ms of a call of " << callMs;
    ASSERT_NE(result, nullptr);
    GlobalFree(result);
}

TEST_F(WaitWindowTest, TheWindowClosesByItselfWhenTheCommandEnds)
{
    const test::ChildSignal windowSeen;
    WaitWindowUser user(kNoButton, &windowSeen);
    const HGLOBAL result = wide_(nullptr, L"", Parameter("pieces 4 1000 0 wait-event " + windowSeen.name()).c_str());
    const bool windowGoneAtReturn = FindWaitWindow() == nullptr;
    user.Stop();
    EXPECT_TRUE(user.shown());
    EXPECT_TRUE(windowGoneAtReturn);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(GlobalSize(result), 4000u + 2);
    GlobalFree(result);
}

TEST_F(WaitWindowTest, TheCommandGetsTheTextAsItWasThoughTheEditorChangesItDuringTheWait)
{
    // More than the pipe holds, so that most of it is still to be written
    // when the editor, while the wait window shows, overwrites its text.
    for (const char* filter : {"Tuvex", "TuvexW", "TuvexUtf8"}) {
        const auto call = module_.Export<decltype(TuvexW)>(filter);
        std::wstring text(3 << 20, L'a');
        const test::ChildSignal changed;
        std::thread editor([&] {
            test::WaitForWindow([](HWND window) { return GetDlgItem(window, kProgressControl) != nullptr; },
                                test::kStateTimeoutMs);
            std::fill(text.begin(), text.end(), L'b');
            changed.Set();
        });
        const HGLOBAL result = call(nullptr, text.c_str(), Parameter("wait-event " + changed.name() + " cat").c_str());
        editor.join();
        ASSERT_NE(result, nullptr) << filter;
        const std::wstring_view got(static_cast<const wchar_t*>(GlobalLock(result)), GlobalSize(result) / sizeof(wchar_t) - 1);
        EXPECT_EQ(got.size(), text.size()) << filter;
        EXPECT_EQ(got.find_first_not_of(L'a'), std::wstring_view::npos) << filter << ": the command got what came later";
        GlobalUnlock(result);
        GlobalFree(result);
    }
}

TEST_F(WaitWindowTest, TuvexRunShowsTheWindowTooAndReturnsAnEmptyStringWhenStopped)
{
    DialogWatcher watcher;
    const test::ChildSignal outputRead;
    WaitWindowUser user(kStopWaitingButton, nullptr, &outputRead);
    const char* result =
        run_("", TestChildPath().c_str(), ("out 6869 err 6f6f7073 flush set-event " + outputRead.name() + " sleep 60000").c_str());
    user.Stop();
    ASSERT_TRUE(user.shown());
    EXPECT_STREQ(result, "");
    ASSERT_EQ(watcher.seen().size(), 2u);
    EXPECT_EQ(watcher.seen()[0].text, L"oops");
    // The program left running, by its path and its process id.
    const std::wstring message = watcher.seen()[1].text;
    const std::wstring stillRunning = L"コマンドの終了を待たずに中断しました\r\n終了していないプログラム: " +
                                      test::FromCp932(TestChildPath()) + L" (PID ";
    ASSERT_EQ(message.substr(0, stillRunning.size()), stillRunning) << testing::PrintToString(message);
    const auto processId = static_cast<DWORD>(std::stoul(message.substr(stillRunning.size())));
    EXPECT_EQ(message.substr(message.find(L')', stillRunning.size())), L")") << testing::PrintToString(message);
    const UniqueHandle child(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    ASSERT_TRUE(child) << "no process " << processId;
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(child.get(), &exitCode) && exitCode == STILL_ACTIVE) << "process " << processId;
}

// A test child that runs until it is ended, for up to a minute: it holds a
// mutex meanwhile, which this side finds abandoned only when the child was
// ended before its time.
class RunningChild {
public:
    RunningChild()
        : name_("tuvex-running-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made)),
          mutex_(CreateMutexA(nullptr, FALSE, (name_ + "-mutex").c_str())),
          held_(CreateEventA(nullptr, TRUE, FALSE, (name_ + "-held").c_str())),
          returned_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    std::string Actions() const { return "hold-mutex " + name_ + "-mutex " + name_ + "-held 60000 out 6869"; }
    // Once the child runs; false when its call returned first.
    bool WaitRunning() const
    {
        const HANDLE events[] = {held_.get(), returned_.get()};
        return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0;
    }
    // The wait window that shows this child's command line, once the child
    // runs; null when its call returned first.
    HWND AwaitWaitWindow() const
    {
        const std::wstring name = test::FromCp932(name_);
        for (bool running = WaitRunning(); running && !CallHasReturned(); Sleep(10)) {
            if (HWND found = test::FindVisibleWindow([&](HWND window) {
                    return test::WindowTextOf(GetDlgItem(window, IDC_WAIT_COMMAND_LINE)).find(name) != std::wstring::npos;
                })) {
                return found;
            }
        }
        return nullptr;
    }
    void CallReturned() const { SetEvent(returned_.get()); }
    bool CallHasReturned() const { return WaitForSingleObject(returned_.get(), 0) == WAIT_OBJECT_0; }
    // WAIT_ABANDONED_0 when the child was ended; WAIT_OBJECT_0 when it ran its time.
    DWORD WaitForItsEnd() const { return WaitForSingleObject(mutex_.get(), INFINITE); }

private:
    static inline int made = 0;
    std::string name_;
    UniqueHandle mutex_;
    UniqueHandle held_;
    UniqueHandle returned_;
};

TEST_F(WaitWindowTest, EscEndsTheCommandWhereItCanBeEnded)
{
    DialogWatcher watcher;
    RunningChild child;
    std::thread user([&] {
        if (HWND window = child.AwaitWaitWindow()) {
            PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        }
    });
    const HGLOBAL result = wide_(GetDesktopWindow(), L"", Parameter(child.Actions()).c_str());
    child.CallReturned();
    user.join();
    EXPECT_EQ(result, nullptr);
    ASSERT_EQ(watcher.seen().size(), 1u);
    ASSERT_EQ(test::FirstLine(watcher.seen()[0].text), L"コマンドを終了しました");
    EXPECT_EQ(child.WaitForItsEnd(), DWORD{WAIT_ABANDONED_0}) << "the child ran its time";
}

TEST_F(WaitWindowTest, TheWholeCommandLineCanBeReadInTheWindow)
{
    RunningChild child;
    const std::string arguments = child.Actions() + " exit 0 " + std::string(200, 'x') + " " + std::string(100, 'y');
    std::wstring shown;
    bool fitsItsWidth = false;
    bool scrollsWhereItMust = false;
    std::thread user([&] {
        HWND window = child.AwaitWaitWindow();
        HWND edit = GetDlgItem(window, IDC_WAIT_COMMAND_LINE);
        RECT area = {};
        SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        HDC context = GetDC(edit);
        SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics = {};
        GetTextMetricsW(context, &metrics);
        const auto lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
        LONG widest = 0;
        for (int line = 0; line < lines; ++line) {
            wchar_t text[512] = {};
            *reinterpret_cast<WORD*>(text) = 511;
            const auto length = static_cast<int>(SendMessageW(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(text)));
            SIZE size = {};
            GetTextExtentPoint32W(context, text, length, &size);
            widest = std::max(widest, size.cx);
            shown.append(text, length);
        }
        ReleaseDC(edit, context);
        fitsItsWidth = widest <= area.right - area.left;
        const bool hasScrollBar = (GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL) != 0;
        scrollsWhereItMust = hasScrollBar == (lines * metrics.tmHeight > area.bottom - area.top);
        PostMessageW(window, WM_COMMAND, kStopWaitingButton, 0);
    });
    DialogWatcher watcher;
    wide_(nullptr, L"", Parameter(arguments).c_str());
    child.CallReturned();
    user.join();
    EXPECT_EQ(shown, L"\"" + test::FromCp932(TestChildPath()) + L"\" " + test::FromCp932(arguments));
    EXPECT_TRUE(fitsItsWidth) << "a line is wider than the window shows";
    EXPECT_TRUE(scrollsWhereItMust) << "the scroll bar is missing, or shows for lines that all fit";
}

// Refuses every dialog window of the thread, as a system short of window
// resources would; counts those it refused.
std::atomic<int> refusedDialogs{0};
LRESULT CALLBACK RefuseDialogs(int code, WPARAM window, LPARAM detail)
{
    wchar_t name[16] = {};
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(window), name, 16) &&
        lstrcmpW(name, L"#32770") == 0) {
        ++refusedDialogs;
        return 1;
    }
    return CallNextHookEx(nullptr, code, window, detail);
}

// Closes the editor's window (WM_CLOSE, which DefWindowProc turns into
// DestroyWindow) while its call waits, under the wait window or, where
// none can be made, without it.
void ExpectTheEditorsEndToEndTheCallAndTheCommand(decltype(&TuvexW) filter, const std::string& childPath,
                                                 bool refuseWaitWindow)
{
    const UniqueWindow editor = test::MakeOwnerWindow(60, 60, 500, 400);
    RunningChild child;
    DialogWatcher watcher;
    const HHOOK hook = refuseWaitWindow ? SetWindowsHookExW(WH_CBT, &RefuseDialogs, nullptr, GetCurrentThreadId()) : nullptr;
    std::thread user([&] {
        if (refuseWaitWindow ? child.WaitRunning() : child.AwaitWaitWindow() != nullptr) {
            PostMessageW(editor.get(), WM_CLOSE, 0, 0);
        }
    });
    const HGLOBAL result = filter(editor.get(), L"", (childPath + "|" + child.Actions()).c_str());
    child.CallReturned();
    user.join();
    if (hook) {
        UnhookWindowsHookEx(hook);
        EXPECT_GT(refusedDialogs, 0) << "the wait window was made";
    }
    EXPECT_EQ(result, nullptr);
    EXPECT_FALSE(IsWindow(editor.get())) << "WM_CLOSE was not dispatched";
    EXPECT_EQ(child.WaitForItsEnd(), DWORD{WAIT_ABANDONED_0}) << "the child ran its time";
}

TEST_F(WaitWindowTest, TheEditorsWindowDestroyedDuringTheWaitEndsTheCallAndTheCommand)
{
    ExpectTheEditorsEndToEndTheCallAndTheCommand(wide_, TestChildPath(), false);
}

TEST_F(WaitWindowTest, WithoutAWaitWindowTheWaitStillDispatchesAndTheEditorsEndEndsIt)
{
    ExpectTheEditorsEndToEndTheCallAndTheCommand(wide_, TestChildPath(), true);
}

// A filter that the editor's timer calls while an outer call waits.
struct NestedCall {
    decltype(&TuvexW) filter;
    std::string parameter;
    const RunningChild& child;
};

void CALLBACK CallFromTheEditorsTimer(HWND editor, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(editor, timer);
    auto* nested = reinterpret_cast<NestedCall*>(GetWindowLongPtrW(editor, GWLP_USERDATA));
    nested->filter(editor, L"", nested->parameter.c_str());
    nested->child.CallReturned();
}

TEST_F(WaitWindowTest, TheOuterEndButtonEndsTheOuterCommandWhileANestedCallWaits)
{
    const UniqueWindow editor = test::MakeOwnerWindow(60, 60, 500, 400);
    RunningChild outer;
    RunningChild inner;
    NestedCall nested{wide_, Parameter(inner.Actions()), inner};
    SetWindowLongPtrW(editor.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&nested));
    SetTimer(editor.get(), 1, 10, &CallFromTheEditorsTimer);  // fires once the outer wait dispatches
    DialogWatcher watcher;
    DWORD outerEnd = 0;
    bool innerRanOn = false;
    std::thread user([&] {
        HWND outerWindow = outer.AwaitWaitWindow();
        HWND innerWindow = inner.AwaitWaitWindow();
        if (outerWindow && innerWindow) {
            PostMessageW(outerWindow, WM_COMMAND, kEndCommandButton, 0);
            outerEnd = outer.WaitForItsEnd();
            innerRanOn = !inner.CallHasReturned();
        }
        PostMessageW(innerWindow, WM_COMMAND, kEndCommandButton, 0);
    });
    const HGLOBAL result = wide_(editor.get(), L"", Parameter(outer.Actions()).c_str());
    outer.CallReturned();
    inner.CallReturned();
    user.join();
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(outerEnd, DWORD{WAIT_ABANDONED_0}) << "the outer child ran its time";
    EXPECT_TRUE(innerRanOn) << "the outer command ended only with the nested call";
}

}  // namespace
}  // namespace tuvex
