#include <gtest/gtest.h>

#include "exec/command_line.h"

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
    EXPECT_EQ(CommandLineLength("sort /r"), 7u);
    EXPECT_EQ(CommandLineLength("\x93\xFA\x96\x7B\x8C\xEA a"), 5u);  // 日本語 a
    const std::string longest(kLongestCommandLine, 'a');
    EXPECT_EQ(WithinCommandLineLimit(longest), longest);
    std::string longestInHiragana;
    for (std::size_t i = 0; i < kLongestCommandLine; ++i) {
        longestInHiragana += "\x82\xA0";  // あ
    }
    EXPECT_EQ(WithinCommandLineLimit(longestInHiragana), longestInHiragana);
}

TEST(CommandLineLimit, RefusesALongerLineInWords)
{
    try {
        WithinCommandLineLimit(std::string(kLongestCommandLine + 1, 'a'));
        FAIL() << "no error raised";
    } catch (const ErrorMessage& error) {
        // コマンドラインが32767文字あり、上限の32766文字を超えています
        EXPECT_EQ(error.text(), "\x83R\x83}\x83\x93\x83h\x83\x89\x83""C\x83\x93\x82\xAA""32767\x95\xB6\x8E\x9A"
                                "\x82\xA0\x82\xE8\x81""A\x8F\xE3\x8C\xC0\x82\xCC""32766\x95\xB6\x8E\x9A"
                                "\x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7");
    }
}

}  // namespace
}  // namespace tuvex
