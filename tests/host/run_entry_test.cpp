#include <gtest/gtest.h>

#include <atomic>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::Cp932;
using test::DialogWatcher;
using test::Hex;
using test::TestChildPath;

class TuvexRunTest : public ::testing::Test {
protected:
    const char* Run(const char* input, const std::string& command, const std::string& arguments)
    {
        return run_(input, command.c_str(), arguments.c_str());
    }

    test::InstalledModule module_;
    decltype(&TuvexRun) run_ = module_.Export<decltype(TuvexRun)>("TuvexRun");
};

TEST_F(TuvexRunTest, ReturnsWhatTheChildWroteForItsInput)
{
    const std::string text = Cp932(L"日本語\r\nABC\r\n");
    DialogWatcher watcher;
    EXPECT_EQ(std::string(Run(text.c_str(), TestChildPath(), "cat")), text);
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(TuvexRunTest, ShowsStandardErrorInAMessageBoxBeforeReturningTheOutput)
{
    const std::string message = Cp932(L"警告: 行が長すぎます");
    DialogWatcher watcher;
    EXPECT_STREQ(Run("", TestChildPath(), "out " + Hex("result") + " err " + Hex(message)), "result");
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(watcher.seen()[0].textBytes, message);
}

// A host timer that calls TuvexRun while an earlier call's message box is open.
struct NestedCall {
    decltype(&TuvexRun) run = nullptr;
    std::atomic<bool> boxOpen{false};
    std::atomic<bool> done{false};
    std::string result;
}* nestedCall = nullptr;

VOID CALLBACK CallAgainWhileTheBoxIsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (nestedCall->boxOpen && KillTimer(nullptr, timer)) {
        nestedCall->result = nestedCall->run("", TestChildPath().c_str(), ("out " + Hex("INNER")).c_str());
        nestedCall->done = true;
    }
}

TEST_F(TuvexRunTest, ACallMadeFromItsMessageBoxLeavesTheOuterCallItsOwnOutput)
{
    NestedCall nested;
    nested.run = run_;
    nestedCall = &nested;
    DialogWatcher watcher([&](HWND) {
        nested.boxOpen = true;
        test::WaitUntil([&] { return bool(nested.done); });
    });
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CallAgainWhileTheBoxIsOpen);
    EXPECT_EQ(std::string(Run("", TestChildPath(), "out " + Hex("OUTER") + " err 21")), "OUTER");
    KillTimer(nullptr, timer);
    EXPECT_EQ(nested.result, "INNER");
}

TEST_F(TuvexRunTest, AStringStaysValidUntilTheNextCallBeginsAndMayBeItsArguments)
{
    const char* hello = Run("hello", TestChildPath(), "cat");
    EXPECT_STREQ(run_(hello, TestChildPath().c_str(), "cat"), "hello");
    const char* cat = Run("", TestChildPath(), "out " + Hex("cat"));
    EXPECT_STREQ(run_("again", TestChildPath().c_str(), cat), "again");
}

// A host timer that calls TuvexRun while an outer call waits for its
// command, then lets that command end.
struct CallDuringTheWait {
    decltype(&TuvexRun) run = nullptr;
    std::string eventName;
    const char* result = nullptr;
}* callDuringTheWait = nullptr;

VOID CALLBACK CallAgainDuringTheWait(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    callDuringTheWait->result = callDuringTheWait->run("", TestChildPath().c_str(), ("out " + Hex("NESTED")).c_str());
    const UniqueHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, callDuringTheWait->eventName.c_str()));
    SetEvent(event.get());
}

TEST_F(TuvexRunTest, AStringReturnedDuringAnOuterCallStaysValidAfterItReturns)
{
    CallDuringTheWait nested{run_, "tuvex-run-test-" + std::to_string(GetCurrentProcessId())};
    const UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, nested.eventName.c_str()));
    callDuringTheWait = &nested;
    // The timer's message is dispatched once the wait window shows.
    SetTimer(nullptr, 0, 100, &CallAgainDuringTheWait);
    const char* outer = Run("", TestChildPath(), "wait-event " + nested.eventName + " out " + Hex("OUTER"));
    callDuringTheWait = nullptr;
    EXPECT_STREQ(outer, "OUTER");
    ASSERT_NE(nested.result, nullptr);
    EXPECT_STREQ(nested.result, "NESTED");
}

TEST_F(TuvexRunTest, ShowsALongStandardErrorInTheMessageWindow)
{
    bool inMessageWindow = false;
    DialogWatcher watcher([&](HWND dialog) { inMessageWindow = GetDlgItem(dialog, 1000) != nullptr; });
    EXPECT_STREQ(Run("", TestChildPath(), "out 6f6b err-lines 400"), "ok");
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_TRUE(inMessageWindow);
    EXPECT_EQ(watcher.seen()[0].textBytes.size(), 400u * 80);
}

TEST_F(TuvexRunTest, ShowsTheStartFailureAndReturnsAnEmptyString)
{
    DialogWatcher watcher;
    EXPECT_STREQ(Run("", TestChildPath(), "out 6f6b"), "ok");
    const char* result = Run("text", "no-such-program-tuvex", "-a");
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, "");
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(test::FirstLine(watcher.seen()[0].textBytes), "no-such-program-tuvex -a" + Cp932(L"の起動に失敗しました(2)"));
}

TEST_F(TuvexRunTest, TakesNullArgumentsAsEmptyAndReportsTheFailedStart)
{
    DialogWatcher watcher;
    const char* result = run_(nullptr, nullptr, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, "");
    ASSERT_EQ(watcher.seen().size(), 1u);
    const std::string text = watcher.seen()[0].textBytes;
    const std::string prefix = Cp932(L"の起動に失敗しました(");
    ASSERT_EQ(text.rfind(prefix, 0), 0u) << text;
    EXPECT_EQ(text.back(), ')');
}

TEST_F(TuvexRunTest, ShowsTheScriptOpenFailureForAFolder)
{
    test::TempFolder folder;
    const std::string command = folder.path().substr(0, folder.path().size() - 1);
    DialogWatcher watcher;
    EXPECT_STREQ(Run("", command, ""), "");
    ASSERT_EQ(watcher.seen().size(), 1u);
    EXPECT_EQ(test::FirstLine(watcher.seen()[0].textBytes), command + Cp932(L"のオープンに失敗しました(13)"));
}

TEST_F(TuvexRunTest, RunsAScriptThroughItsInterpreter)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "up.tvx", "#!" + TestChildPath() + " command-line\n");
    EXPECT_EQ(std::string(Run("", folder / "up.tvx", "1 2")),
              "\"" + TestChildPath() + "\" command-line \"" + folder.path() + "up.tvx\" 1 2");
}

TEST_F(TuvexRunTest, PassesBytesOutsideAsciiThroughUnchanged)
{
    const std::string bytes = "\x82\xA0\x95\x5C\xFF\x80";
    EXPECT_EQ(std::string(Run("", TestChildPath(), "out " + Hex(bytes))), bytes);
}

}  // namespace
}  // namespace tuvex
