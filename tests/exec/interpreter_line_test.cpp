#include <gtest/gtest.h>

#include "exec/interpreter_line.h"

namespace tuvex {
namespace {

TEST(InterpreterFromFirstLine, IsTheRestOfAHashBangLineUpToItsEnd)
{
    EXPECT_EQ(InterpreterFromFirstLine("#!perl -w\n"), "perl -w");
    EXPECT_EQ(InterpreterFromFirstLine("#!C:\\Perl\\perl.exe"), "C:\\Perl\\perl.exe");
}

TEST(InterpreterFromFirstLine, KeepsSpacesAndOptionsUntrimmed)
{
    EXPECT_EQ(InterpreterFromFirstLine("#! perl -w  \n"), " perl -w  ");
}

TEST(InterpreterFromFirstLine, EndsAtACarriageReturnToo)
{
    EXPECT_EQ(InterpreterFromFirstLine("#!perl\rrest\n"), "perl");
}

TEST(InterpreterFromFirstLine, IsEmptyForAHashBangDirectlyFollowedByTheLineEnd)
{
    EXPECT_EQ(InterpreterFromFirstLine("#!\n"), "");
    EXPECT_EQ(InterpreterFromFirstLine("#!"), "");
}

TEST(InterpreterFromFirstLine, IsEmptyWhenTheLineDoesNotStartWithHashBang)
{
    EXPECT_EQ(InterpreterFromFirstLine("\xEF\xBB\xBF#!perl\n"), "");
    EXPECT_EQ(InterpreterFromFirstLine(" #!perl\n"), "");
    EXPECT_EQ(InterpreterFromFirstLine("!#perl\n"), "");
    EXPECT_EQ(InterpreterFromFirstLine("#"), "");
    EXPECT_EQ(InterpreterFromFirstLine("MZ\x90"), "");
}

}  // namespace
}  // namespace tuvex
