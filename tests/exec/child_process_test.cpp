#include <gtest/gtest.h>

#include "exec/child_process.h"
#include "support/test_support.h"

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

std::string RaisedBy(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ErrorMessage& error) {
        return error.text();
    }
    return "(no error raised)";
}

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

TEST(ChildProcess, EndsWithTheChildEvenWhenAGrandchildKeepsThePipesOpen)
{
    const DWORD start = GetTickCount();
    const Outputs result = RunChild("grandchild 3000 " + Hex("late") + " out " + Hex("early"));
    EXPECT_EQ(result.out(), "early");
    EXPECT_LT(GetTickCount() - start, 2500u);
}

TEST(ChildProcess, StartsAScriptThroughItsInterpreterWithTheScriptQuoted)
{
    test::TempFolder folder;
    test::WriteBytes(folder / "show.tvx", "#!" + TestChildPath() + " command-line\r\nrest\r\n");
    ByteBuffer output;
    ByteBuffer errors;
    RunChildProcess(folder / "show.tvx", "-r x", {}, output, errors);
    EXPECT_EQ(std::string(output.begin(), output.end()),
              TestChildPath() + " command-line \"" + folder.path() + "show.tvx\" -r x");
}

TEST(ChildProcess, PassesTheArgumentsUnchangedAfterOneSpace)
{
    EXPECT_EQ(RunChild("command-line").out(), TestChildPath() + " command-line");
    EXPECT_EQ(RunChild(" command-line").out(), TestChildPath() + "  command-line");
}

TEST(ChildProcess, RaisesTheCommandLineWhenTheProgramCannotBeStarted)
{
    ByteBuffer output;
    ByteBuffer errors;
    EXPECT_EQ(RaisedBy([&] { RunChildProcess("no-such-program-tuvex", "-x", {}, output, errors); }),
              "no-such-program-tuvex -x" + test::Cp932(L"の起動に失敗しました(2)"));
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
