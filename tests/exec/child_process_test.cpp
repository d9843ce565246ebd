#include <gtest/gtest.h>

#include "common/system_text_win32.h"
#include "exec/child_process.h"
#include "support/test_support.h"

#include <tlhelp32.h>

namespace tuvex {
namespace {

using test::Hex;
using test::TestChildPath;

struct Outputs {
    ByteBuffer output;
    ByteBuffer errors;
    std::string out() const { return std::string(output.begin(), output.end()); }
    std::string err() const { return std::string(errors.begin(), errors.end()); }
};

Outputs RunChild(const std::string& arguments, std::string_view input = {}, ExchangeOptions options = {})
{
    Outputs result;
    RunChildProcess(TestChildPath(), arguments, ByteBuffer(input.begin(), input.end()), result.output,
                    result.errors, options);
    return result;
}

// The failure that `action` raised, as "step <step> code <code>".
std::string RaisedBy(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ExchangeError& error) {
        return "step " + std::to_string(static_cast<int>(error.step)) + " code " + std::to_string(error.code);
    }
    return "(no error raised)";
}

std::string StepAndCode(ExchangeStep step, std::int64_t code)
{
    return "step " + std::to_string(static_cast<int>(step)) + " code " + std::to_string(code);
}

// The running test children whose parent is the process `parent`.
std::vector<DWORD> TestChildrenOf(DWORD parent)
{
    std::vector<DWORD> children;
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, "tuvex_test_child.exe") == 0) {
            children.push_back(entry.th32ProcessID);
        }
    }
    return children;
}

// A test child, held to see whether it has ended; ended by the test at the
// latest when it goes.
class WatchedProcess {
public:
    explicit WatchedProcess(DWORD id) : id_(id), process_(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id)) {}
    ~WatchedProcess() { TerminateProcess(process_.get(), 0); }
    bool EndsWithinSeconds(DWORD seconds) const { return WaitForSingleObject(process_.get(), seconds * 1000) == WAIT_OBJECT_0; }
    DWORD id() const { return id_; }

private:
    DWORD id_;
    UniqueHandle process_;
};

// Waits on the exchange's objects in short steps and ends the wait with what
// `choose` says, asked at each step.
class ChoosingWaiter : public ExchangeWaiter {
public:
    explicit ChoosingWaiter(std::function<WaitChoice(const ExchangeProgress&)> choose) : choose_(std::move(choose)) {}
    WaitOutcome Wait(std::span<void* const> objects, const ExchangeProgress& progress) override
    {
        for (;;) {
            if (const WaitChoice choice = choose_(progress); choice != WaitChoice::KeepWaiting) {
                return {choice, {}};
            }
            const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(objects.size()), objects.data(), FALSE, 20);
            if (result < objects.size()) {
                return {WaitChoice::KeepWaiting, result};
            }
        }
    }

private:
    std::function<WaitChoice(const ExchangeProgress&)> choose_;
};

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

TEST(ChildProcess, FeedsTheWholeInputThenEndOfFile)
{
    EXPECT_EQ(RunChild("count-input", "").out(), "0");
    EXPECT_EQ(RunChild("count-input", std::string(1 << 20, 'x')).out(), "1048576");
}

TEST(ChildProcess, CollectsStandardOutputAndErrorSeparatelyAndWhole)
{
    const std::string withNul("a\0b\r\n\0", 6);
    const Outputs result = RunChild("out " + Hex(withNul) + " err " + Hex("oops\n") + " exit 3");
    EXPECT_EQ(result.out(), withNul);
    EXPECT_EQ(result.err(), "oops\n");
}

TEST(ChildProcess, GivesTwoEmptyOutputsForAChildThatWritesNothing)
{
    const Outputs result = RunChild("exit 0");
    EXPECT_TRUE(result.output.empty());
    EXPECT_TRUE(result.errors.empty());
}

TEST(ChildProcess, KeepsOutputWrittenInManySmallPiecesInOrder)
{
    std::string expected;
    for (int piece = 0; piece < 40; ++piece) {
        expected += std::string(3, static_cast<char>('0' + piece % 10));
    }
    EXPECT_EQ(RunChild("pieces 40 3 5").out(), expected);
}

TEST(ChildProcess, MovesInputFarLargerThanThePipeHoldsWhileTheChildEchoesIt)
{
    const std::string input = Pattern(20 << 20);
    ExchangeOptions smallPipe;
    smallPipe.pipeSize = 4096;
    const Outputs result = RunChild("cat", input, smallPipe);
    ASSERT_EQ(result.output.size(), input.size());
    EXPECT_TRUE(result.out() == input);
}

TEST(ChildProcess, IsNoFailureWhenTheChildEndsWithoutReadingItsInput)
{
    ExchangeOptions smallPipe;
    smallPipe.pipeSize = 4096;
    const Outputs result = RunChild("out 6f6b exit 0", std::string(1 << 20, 'x'), smallPipe);
    EXPECT_EQ(result.out(), "ok");
    EXPECT_EQ(RunChild("out 6f6b exit 0", std::string(1 << 20, 'x')).out(), "ok");
}

// The test child's actions that leave behind a grandchild that writes
// "late" into the pipes it shares once `release` is set.
std::string WaitingGrandchild(const test::ChildSignal& release)
{
    return "grandchild-waiting " + release.name() + " " + Hex("late");
}

TEST(ChildProcess, EndsWithTheChildEvenWhenAGrandchildKeepsThePipesOpen)
{
    // The grandchild writes only once released, after the call: a call that
    // waited for the pipes to close would hold until then.
    const test::ChildSignal release;
    const Outputs result = RunChild(WaitingGrandchild(release) + " out " + Hex("early"));
    EXPECT_EQ(result.out(), "early");
}

TEST(ChildProcess, CollectsAllTheChildWroteWhileAGrandchildHoldsThePipes)
{
    // The pipes hold far less than the child writes: most of it moves while
    // the child runs, and the rest waits in the pipes when it ends.
    ExchangeOptions smallPipe;
    smallPipe.pipeSize = 4096;
    const test::ChildSignal release;
    const Outputs result = RunChild(WaitingGrandchild(release) + " out-repeat 3000000 61 err-repeat 100000 65", {}, smallPipe);
    EXPECT_EQ(result.output.size(), 3000000u);
    EXPECT_EQ(result.out().find_first_not_of('a'), std::string::npos);
    EXPECT_EQ(result.err(), std::string(100000, 'e'));
}

TEST(ChildProcess, AGrandchildThatWritesWithoutEndDoesNotHoldTheCall)
{
    // The child ends while its grandchild floods the pipe they share.
    const Outputs result = RunChild("grandchild-flood out " + Hex("early"));
    EXPECT_NE(result.out().find("early"), std::string::npos) << result.output.size() << " bytes received";
}

TEST(ChildProcess, StartsAScriptThroughItsInterpreterWithTheScriptQuoted)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "show.tvx", "#!" + TestChildPath() + " command-line\r\nrest\r\n");
    ByteBuffer output;
    ByteBuffer errors;
    RunChildProcess(folder / "show.tvx", "-r x", {}, output, errors);
    EXPECT_EQ(std::string(output.begin(), output.end()),
              "\"" + TestChildPath() + "\" command-line \"" + folder.path() + "show.tvx\" -r x");
}

TEST(ChildProcess, PassesTheArgumentsUnchangedAfterOneSpace)
{
    EXPECT_EQ(RunChild("command-line").out(), "\"" + TestChildPath() + "\" command-line");
    EXPECT_EQ(RunChild(" command-line").out(), "\"" + TestChildPath() + "\"  command-line");
}

TEST(ChildProcess, RaisesTheCommandLineAndWhatWasTriedWhenTheProgramIsNowhere)
{
    ByteBuffer output;
    ByteBuffer errors;
    try {
        RunChildProcess("no-such-program-tuvex", "-x", {}, output, errors);
        FAIL() << "no error raised";
    } catch (const ExchangeError& error) {
        EXPECT_EQ(StepAndCode(error.step, error.code), StepAndCode(ExchangeStep::Start, ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(error.commandLine, "no-such-program-tuvex -x");
        ASSERT_TRUE(error.missing);
        EXPECT_EQ(error.missing->name, "no-such-program-tuvex");
        EXPECT_FALSE(error.missing->namedOnInterpreterLine);
        EXPECT_FALSE(error.missing->triedNames.empty());
        EXPECT_FALSE(error.missing->searchedFolders.empty());
    }
}

TEST(ChildProcess, GivesTheSystemsTextForAStartFailureWithItsInsertsFilled)
{
    // 193's own text holds "%1" for the file.
    const std::string text = SystemTextCp932(ERROR_BAD_EXE_FORMAT, "C:\\tools\\x.exe");
    EXPECT_NE(text.find("C:\\tools\\x.exe"), std::string::npos) << text;
    EXPECT_EQ(text.find('%'), std::string::npos) << text;
    const std::string notFound = SystemTextCp932(ERROR_FILE_NOT_FOUND, "");
    ASSERT_FALSE(notFound.empty());
    EXPECT_NE(notFound.back(), '\n') << notFound;
}

TEST(ChildProcess, ReturnsTheChildsExitStatus)
{
    ByteBuffer output;
    ByteBuffer errors;
    EXPECT_EQ(RunChildProcess(TestChildPath(), "exit 1", {}, output, errors).exitCode, 1u);
    const ExchangeResult crashed = RunChildProcess(TestChildPath(), "out 6f6b crash", {}, output, errors);
    EXPECT_EQ(crashed.exitCode, 0xC0000005u);
    EXPECT_EQ(crashed.end, ExchangeEnd::Completed);
    EXPECT_EQ(std::string(output.begin(), output.end()), "ok");
}

TEST(ChildProcess, ReturnsTheChildsProcessIdAndTheBytesOfEachOutput)
{
    ByteBuffer output;
    ByteBuffer errors;
    const ExchangeResult result = RunChildProcess(TestChildPath(), "pid err 6f6b", {}, output, errors);
    EXPECT_EQ(std::string(output.begin(), output.end()), std::to_string(result.processId));
    EXPECT_EQ(result.outputBytes, output.size());
    EXPECT_EQ(result.errorBytes, 2u);
}

// A waiter whose wait fails at once, as WaitForMultipleObjects does with a
// handle that cannot be waited on.
class FailingWaiter : public ExchangeWaiter {
public:
    WaitOutcome Wait(std::span<void* const>, const ExchangeProgress&) override
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return {};
    }
};

TEST(ChildProcess, AWaitThatFailsIsAFailureNotTheChildsEnd)
{
    FailingWaiter failing;
    ExchangeOptions options;
    options.waiter = &failing;
    EXPECT_EQ(RaisedBy([&] { RunChild("exit 0", {}, options); }),
              StepAndCode(ExchangeStep::Wait, ERROR_INVALID_HANDLE));
}

TEST(ChildProcess, AFloodingChildGetsABrokenPipeOnceTheWaitIsGivenUp)
{
    std::unique_ptr<WatchedProcess> child;
    ChoosingWaiter stopWhileFlooding([&](const ExchangeProgress& progress) {
        const std::vector<DWORD> children = TestChildrenOf(GetCurrentProcessId());
        if (!child && children.size() == 1) {
            child = std::make_unique<WatchedProcess>(children[0]);
        }
        return child && progress.bytesReceived > (1u << 20) ? WaitChoice::StopWaiting : WaitChoice::KeepWaiting;
    });
    ExchangeOptions options;
    options.waiter = &stopWhileFlooding;
    Outputs outputs;
    EXPECT_EQ(RunChildProcess(TestChildPath(), "flood", {}, outputs.output, outputs.errors, options).end,
              ExchangeEnd::StoppedWaiting);
    ASSERT_TRUE(child);
    EXPECT_TRUE(child->EndsWithinSeconds(20)) << "the child still writes into its output";
}

TEST(ChildProcess, StopWaitingLeavesTheChildRunning)
{
    std::unique_ptr<WatchedProcess> child;
    ChoosingWaiter stopAtOnce([&](const ExchangeProgress&) {
        const std::vector<DWORD> children = TestChildrenOf(GetCurrentProcessId());
        if (!child && children.size() == 1) {
            child = std::make_unique<WatchedProcess>(children[0]);
        }
        return child ? WaitChoice::StopWaiting : WaitChoice::KeepWaiting;
    });
    ExchangeOptions options;
    options.waiter = &stopAtOnce;
    ByteBuffer output;
    ByteBuffer errors;
    EXPECT_EQ(RunChildProcess(TestChildPath(), "sleep 60000", {}, output, errors, options).end,
              ExchangeEnd::StoppedWaiting);
    ASSERT_TRUE(child);
    EXPECT_FALSE(child->EndsWithinSeconds(1));
}

TEST(ChildProcess, EndCommandEndsTheChildAndEverythingItStarted)
{
    std::vector<std::unique_ptr<WatchedProcess>> started;  // the child, then its child
    bool offered = false;
    ChoosingWaiter endOnceBothRun([&](const ExchangeProgress& progress) {
        offered = progress.canEndCommand;
        const DWORD parent = started.empty() ? GetCurrentProcessId() : started.back()->id();
        const std::vector<DWORD> children = TestChildrenOf(parent);
        if (started.size() < 2 && children.size() == 1) {
            started.push_back(std::make_unique<WatchedProcess>(children[0]));
        }
        return started.size() == 2 ? WaitChoice::EndCommand : WaitChoice::KeepWaiting;
    });
    ExchangeOptions options;
    options.waiter = &endOnceBothRun;
    ByteBuffer output;
    ByteBuffer errors;
    EXPECT_EQ(RunChildProcess(TestChildPath(), "grandchild 60000 6f6b sleep 60000", {}, output, errors, options).end,
              ExchangeEnd::CommandEnded);
    EXPECT_TRUE(offered);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_TRUE(started[0]->EndsWithinSeconds(10)) << "the child runs on";
    EXPECT_TRUE(started[1]->EndsWithinSeconds(10)) << "the grandchild runs on";
}

TEST(ChildProcess, OutputBeyondTheLimitEndsTheCommandAndSaysHowMuchCame)
{
    ExchangeOptions bounded;
    bounded.outputLimit = 100000;
    EXPECT_EQ(RunChild("out-repeat 100000 61", {}, bounded).output.size(), 100000u);

    std::unique_ptr<WatchedProcess> child;
    ChoosingWaiter watch([&](const ExchangeProgress&) {
        const std::vector<DWORD> children = TestChildrenOf(GetCurrentProcessId());
        if (!child && children.size() == 1) {
            child = std::make_unique<WatchedProcess>(children[0]);
        }
        return WaitChoice::KeepWaiting;
    });
    bounded.waiter = &watch;
    ByteBuffer output;
    ByteBuffer errors;
    const ExchangeResult result =
        RunChildProcess(TestChildPath(), "out-repeat 100001 61 sleep 60000", {}, output, errors, bounded);
    EXPECT_EQ(result.end, ExchangeEnd::OutputTooLarge);
    EXPECT_EQ(result.outputBytes, 100000u);
    ASSERT_TRUE(child);
    EXPECT_TRUE(child->EndsWithinSeconds(20)) << "the command runs on";
}

TEST(ChildProcess, OnlyTheUserThatRunsTheHostMayOpenThePipes)
{
    const std::string lines = RunChild("pipe-access").out();
    const std::string user = lines.substr(0, lines.find('\n')).substr(std::string_view("user ").size());
    const std::string allowUser = "allow " + user;
    EXPECT_EQ(lines, "user " + user + "\n" + allowUser + "\n" + allowUser + "\n" + allowUser);
}

TEST(AppendingSink, AbandonLeavesTheRoomLentInPlaceAndTheBufferEmpty)
{
    ByteBuffer bytes;
    AppendingSink sink(bytes);
    // Large enough to come from pages of its own, which go when it is freed.
    const volatile std::uintptr_t room = reinterpret_cast<std::uintptr_t>(sink.Extend(16 << 20));
    sink.Abandon();
    EXPECT_EQ(bytes.capacity(), 0u);
    MEMORY_BASIC_INFORMATION page = {};
    ASSERT_NE(VirtualQuery(reinterpret_cast<const void*>(room), &page, sizeof(page)), 0u);
    EXPECT_EQ(page.State, static_cast<DWORD>(MEM_COMMIT)) << "the room lent was freed";
}

TEST(AppendingSink, NeverLendsRoomWithinAShortStringItself)
{
    ByteString bytes = "ab";
    AppendingSink sink(bytes);
    EXPECT_EQ(sink.room(), 0u) << "capacity " << bytes.capacity();
    bytes.reserve(1000);
    EXPECT_EQ(sink.room(), bytes.capacity() - 2);
}

TEST(ChildProcessText, ReturnsEveryByteIncludingNulBytes)
{
    ByteString output = "old";
    ByteString errors = "old";
    const std::string withNul("x\0y", 3);
    RunChildProcessText(TestChildPath(), "out " + Hex(withNul) + " err 00", "", output, errors);
    EXPECT_EQ(output, withNul);
    EXPECT_EQ(errors, std::string(1, '\0'));
}

TEST(ChildProcessText, LeavesTheOutputsAsTheyWereOnFailure)
{
    ByteString output = "before";
    ByteString errors = "before";
    RaisedBy([&] { RunChildProcessText("no-such-program-tuvex", "", "", output, errors); });
    EXPECT_EQ(output, "before");
    EXPECT_EQ(errors, "before");
}

}  // namespace
}  // namespace tuvex
