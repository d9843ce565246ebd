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

// The program, its options and the name looked up otherwise.
std::string ProgramOf(std::string_view interpreter)
{
    const InterpreterProgram program = InterpreterProgramOf(interpreter);
    return "[" + program.program + "] [" + program.options + "] [" + program.nameOtherwise + "]";
}

TEST(InterpreterProgramOf, RunsTheNameGivenToEnvWithTheRestAsItsOptions)
{
    EXPECT_EQ(ProgramOf("/usr/bin/env python3 -u -X utf8"), "[python3] [ -u -X utf8] []");
    EXPECT_EQ(ProgramOf(" /usr/bin/env  lua"), "[lua] [] []");
    EXPECT_EQ(ProgramOf("/usr/bin/env"), "[env] [] []");
}

TEST(InterpreterProgramOf, LooksUpTheNameOfAUnixProgramPathThatIsNoFile)
{
    EXPECT_EQ(ProgramOf("/usr/bin/perl -w"), "[/usr/bin/perl] [ -w] [perl]");
    EXPECT_EQ(ProgramOf("/usr/local/bin/lua5.4"), "[/usr/local/bin/lua5.4] [] [lua5.4]");
    EXPECT_EQ(ProgramOf("/bin/sh -e"), "[/bin/sh] [ -e] [sh]");
}

TEST(InterpreterProgramOf, TakesAnyOtherProgramAsWritten)
{
    for (const char* line : {"perl -w", "C:\\Perl\\perl.exe", "/opt/bin/perl", "/usr/bin/", "/usr/bin/x/perl",
                             "/usr/lib/env lua", "\\usr\\bin\\env lua", "/USR/BIN/perl"}) {
        const InterpreterCommand split = SplitInterpreter(line);
        EXPECT_EQ(ProgramOf(line), "[" + split.program + "] [" + split.options + "] []") << line;
    }
}

}  // namespace
}  // namespace tuvex
