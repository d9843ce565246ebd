#include <gtest/gtest.h>

#include "exec/command_line.h"
#include "exec/exchange_outcome.h"

namespace tuvex {
namespace {

TEST(CommandLine, IsTheCommandAloneWithoutInterpreterOrArguments)
{
    EXPECT_EQ(BuildCommandLine("", "sort", ""), "sort");
}

TEST(CommandLine, NeverQuotesACommandWithoutInterpreter)
{
    EXPECT_EQ(BuildCommandLine("", "C:\\my tools\\sort.exe", "-r"), "C:\\my tools\\sort.exe -r");
}

TEST(CommandLine, QuotesTheScriptAfterItsInterpreter)
{
    EXPECT_EQ(BuildCommandLine("perl -w", "sort.pl", "-r"), "perl -w \"sort.pl\" -r");
    EXPECT_EQ(BuildCommandLine("perl", "sort.pl", ""), "perl \"sort.pl\"");
}

TEST(CommandLine, KeepsAnInterpretersLeadingSpace)
{
    EXPECT_EQ(BuildCommandLine(" perl", "a.pl", ""), " perl \"a.pl\"");
}

TEST(CommandLine, AppendsArgumentsAfterOneSpaceUnchanged)
{
    EXPECT_EQ(BuildCommandLine("", "sort", " -r"), "sort  -r");
    EXPECT_EQ(BuildCommandLine("", "grep", "a|b \"c\""), "grep a|b \"c\"");
}

TEST(CommandLineLimit, CountsADoubleByteCharacterOnceAsWindowsDoes)
{
    EXPECT_EQ(CommandLineLength("\x93\xFA\x96\x7B\x8C\xEA a"), 5u);  // 日本語 a
    std::string longest;
    for (std::size_t i = 0; i < kLongestCommandLine; ++i) {
        longest += "\x82\xA0";  // あ
    }
    EXPECT_EQ(WithinCommandLineLimit(longest), longest);
    try {
        WithinCommandLineLimit(longest + "a");
        ADD_FAILURE() << "no error raised";
    } catch (const ExchangeError& error) {
        EXPECT_EQ(error.step, ExchangeStep::CommandLineTooLong);
        EXPECT_EQ(error.count, kLongestCommandLine + 1);
        EXPECT_EQ(error.limit, kLongestCommandLine);
    }
}

}  // namespace
}  // namespace tuvex
