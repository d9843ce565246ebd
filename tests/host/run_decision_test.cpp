#include <gtest/gtest.h>

#include "host/run_decision.h"

namespace tuvex {
namespace {

ExchangeResult Completed(std::uint32_t exitCode, std::uint64_t outputBytes, std::uint64_t errorBytes)
{
    ExchangeResult result;
    result.exitCode = exitCode;
    result.outputBytes = outputBytes;
    result.errorBytes = errorBytes;
    return result;
}

// "use-output" or "keep-text", the exit code line, the message.
std::string Described(const RunDecision& decision)
{
    return std::string(decision.useOutput ? "use-output" : "keep-text") + " line " +
           (decision.exitCodeLine ? std::to_string(*decision.exitCodeLine) : "-") + " message " +
           std::to_string(static_cast<int>(decision.message));
}

std::string Message(RunMessage message)
{
    return std::to_string(static_cast<int>(message));
}

TEST(HexExitCode, WritesTheCodeAsEightUpperCaseHexDigits)
{
    EXPECT_EQ(HexExitCode(0xC0000005u), "0xC0000005");
    EXPECT_EQ(HexExitCode(0xC00000FDu), "0xC00000FD");
}

TEST(DecideRun, ACrashKeepsTheTextInEveryMode)
{
    for (ExitCodeMode mode : {ExitCodeMode::Report, ExitCodeMode::Keep, ExitCodeMode::Ignore}) {
        EXPECT_EQ(Described(DecideRun(Completed(0xC000013Au, 10, 0), mode)),
                  "keep-text line - message " + Message(RunMessage::Crashed));
    }
}

TEST(DecideRun, AnUnfinishedRunKeepsTheTextAndSaysHowItEnded)
{
    ExchangeResult result = Completed(0, 10, 0);
    result.end = ExchangeEnd::StoppedWaiting;
    EXPECT_EQ(Described(DecideRun(result, ExitCodeMode::Ignore)),
              "keep-text line - message " + Message(RunMessage::StoppedWaiting));
}

TEST(DecideRun, ReportGivesTheOutputAndSaysTheCodeAfterTheErrorOutput)
{
    EXPECT_EQ(Described(DecideRun(Completed(1, 10, 5), ExitCodeMode::Report)), "use-output line 1 message 0");
    EXPECT_EQ(Described(DecideRun(Completed(0, 10, 5), ExitCodeMode::Report)), "use-output line - message 0");
}

TEST(DecideRun, KeepLeavesTheTextWhenTheCommandWroteOutput)
{
    EXPECT_EQ(Described(DecideRun(Completed(2, 10, 0), ExitCodeMode::Keep)),
              "keep-text line 2 message " + Message(RunMessage::TextKept));
}

TEST(DecideRun, ANonZeroCodeWithNothingWrittenIsSaidAloneUnlessIgnored)
{
    EXPECT_EQ(Described(DecideRun(Completed(3, 0, 0), ExitCodeMode::Report)),
              "keep-text line - message " + Message(RunMessage::NothingWritten));
    EXPECT_EQ(Described(DecideRun(Completed(3, 0, 0), ExitCodeMode::Ignore)), "use-output line - message 0");
}

TEST(ExitCodeModeNamed, KnowsTheThreeModesInAnyCaseAndNothingElse)
{
    EXPECT_EQ(ExitCodeModeNamed("report"), ExitCodeMode::Report);
    EXPECT_EQ(ExitCodeModeNamed("Keep"), ExitCodeMode::Keep);
    EXPECT_EQ(ExitCodeModeNamed("IGNORE"), ExitCodeMode::Ignore);
    EXPECT_EQ(ExitCodeModeNamed("keeep"), std::nullopt);
    EXPECT_EQ(ExitCodeModeNamed(""), std::nullopt);
}

}  // namespace
}  // namespace tuvex
