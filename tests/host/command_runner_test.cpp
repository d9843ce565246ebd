// What every entry point does with how a command ended: the exit code, as
// "Tuvex.conf" says, and the order of what the user is shown.
#include <gtest/gtest.h>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::DialogWatcher;
using test::Hex;
using test::TestChildPath;

class CommandRunnerTest : public ::testing::Test {
protected:
    void SetExitCodeMode(const std::string& value)
    {
        test::WriteBytes(module_.directory() + "Tuvex.conf", "[COMMAND]\r\nexitCode=" + value + "\r\n");
    }

    // The text that the narrow filter returns for "text", or "(null)".
    std::string Narrow(const std::string& childActions)
    {
        const HGLOBAL block = narrow_(GetDesktopWindow(), L"text", (TestChildPath() + "|" + childActions).c_str());
        if (block == nullptr) {
            return "(null)";
        }
        const std::wstring text(static_cast<const wchar_t*>(GlobalLock(block)));
        GlobalUnlock(block);
        GlobalFree(block);
        return test::Cp932(text);
    }

    std::string Run(const std::string& childActions)
    {
        return run_("", TestChildPath().c_str(), childActions.c_str());
    }

    static std::vector<std::string> Shown(const DialogWatcher& watcher)
    {
        std::vector<std::string> texts;
        for (const test::SeenDialog& dialog : watcher.seen()) {
            texts.push_back(dialog.textBytes);
        }
        return texts;
    }

    test::InstalledModule module_;
    decltype(&Tuvex) narrow_ = module_.Export<decltype(Tuvex)>("Tuvex");
    decltype(&TuvexW) wide_ = module_.Export<decltype(TuvexW)>("TuvexW");
    decltype(&TuvexRun) run_ = module_.Export<decltype(TuvexRun)>("TuvexRun");
};

TEST_F(CommandRunnerTest, ReportIsTheDefaultAndEndsTheErrorOutputWithTheExitCode)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow("out 6f6b err " + Hex("warning") + " exit 2"), "ok");
    EXPECT_EQ(Run("out 6f6b err " + Hex("warning\r\n") + " exit 1"), "ok");
    EXPECT_EQ(Shown(watcher), (std::vector<std::string>{"warning\r\n" + Cp932(L"終了コード 2"),
                                                        "warning\r\n" + Cp932(L"終了コード 1")}));
}

TEST_F(CommandRunnerTest, ReportSaysTheExitCodeInTheKindOfTextOfAWideErrorOutput)
{
    DialogWatcher watcher;
    const std::string utf16Warning("w\0a\0r\0n\0", 8);
    const HGLOBAL block = wide_(GetDesktopWindow(), L"", (TestChildPath() + "|err " + Hex(utf16Warning) + " exit 4").c_str());
    EXPECT_EQ(block, nullptr);
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].text, L"warn\r\n終了コード 4");
}

TEST_F(CommandRunnerTest, ACommandThatFailsWithoutWritingAnythingSaysSoAndKeepsTheText)
{
    DialogWatcher watcher;
    EXPECT_EQ(Narrow("exit 3"), "(null)");
    EXPECT_EQ(Run("exit 3"), "");
    const std::string said = Cp932(L"コマンドは何も出力せずに終了しました(終了コード 3)");
    EXPECT_EQ(Shown(watcher), (std::vector<std::string>{said, said}));
}

TEST_F(CommandRunnerTest, KeepLeavesTheTextAndSaysWhyAfterTheErrorOutput)
{
    SetExitCodeMode("keep");
    DialogWatcher watcher;
    EXPECT_EQ(Narrow("out " + Hex("FIND: Invalid switch") + " err 65 exit 2"), "(null)");
    EXPECT_EQ(Run("out 6f6b exit 1"), "");
    EXPECT_EQ(Shown(watcher),
              (std::vector<std::string>{"e\r\n" + Cp932(L"終了コード 2"),
                                        Cp932(L"コマンドが終了コード 2 で終了したため、テキストを置き換えませんでした"),
                                        Cp932(L"コマンドが終了コード 1 で終了したため、テキストを置き換えませんでした")}));
}

TEST_F(CommandRunnerTest, IgnoreDoesNotLookAtTheExitCode)
{
    SetExitCodeMode("ignore");
    DialogWatcher watcher;
    EXPECT_EQ(Narrow("out 6f6b err 65 exit 2"), "ok");
    EXPECT_EQ(Narrow("exit 3"), "(null)");
    EXPECT_EQ(Shown(watcher), std::vector<std::string>{"e"});
}

TEST_F(CommandRunnerTest, AnUnknownValueCountsAsReportAndTheFileIsReadAtEveryCall)
{
    DialogWatcher watcher;
    SetExitCodeMode("keeep");
    EXPECT_EQ(Narrow("out 6f6b exit 1"), "ok");
    SetExitCodeMode("keep");
    EXPECT_EQ(Narrow("out 6f6b exit 1"), "(null)");
    EXPECT_EQ(Shown(watcher), std::vector<std::string>{
                                  Cp932(L"コマンドが終了コード 1 で終了したため、テキストを置き換えませんでした")});
}

TEST_F(CommandRunnerTest, ACrashKeepsTheTextEvenWhenTheExitCodeIsIgnored)
{
    SetExitCodeMode("ignore");
    DialogWatcher watcher;
    EXPECT_EQ(Narrow("out 6f6b crash"), "(null)");
    EXPECT_EQ(Shown(watcher),
              std::vector<std::string>{Cp932(L"コマンドが異常終了しました(0xC0000005)\r\nテキストはそのままです")});
}

// Destroys the editor's window from a timer of its thread while a command
// runs, then lets the command end.
struct WindowCloser {
    HWND editor = nullptr;
    std::string eventName;
}* windowCloser = nullptr;

VOID CALLBACK CloseTheEditorsWindow(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    DestroyWindow(windowCloser->editor);
    const UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, windowCloser->eventName.c_str()));
    SetEvent(event.get());
}

TEST_F(CommandRunnerTest, AFilterWhoseWindowWasDestroyedDuringTheRunShowsNothingAndReturnsNull)
{
    const std::string eventName = "tuvex-runner-test-" + std::to_string(GetCurrentProcessId());
    const UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    UniqueWindow editor = test::MakeOwnerWindow(60, 60, 400, 300);
    WindowCloser closer{editor.get(), eventName};
    windowCloser = &closer;
    // The timer's message is dispatched once the wait window shows.
    SetTimer(nullptr, 0, 100, &CloseTheEditorsWindow);
    DialogWatcher watcher;
    const HGLOBAL block =
        narrow_(editor.get(), L"text", (TestChildPath() + "|err 65 wait-event " + eventName + " out 6f6b exit 1").c_str());
    windowCloser = nullptr;
    EXPECT_FALSE(IsWindow(editor.get()));
    editor.release();
    EXPECT_EQ(block, nullptr);
    EXPECT_TRUE(watcher.seen().empty()) << watcher.seen().size() << " shown";
}

}  // namespace
}  // namespace tuvex
