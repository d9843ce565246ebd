#include <gtest/gtest.h>

#include "exec/command_parameter.h"

namespace tuvex {
namespace {

std::string RaisedBy(const char* parameter)
{
    try {
        const CommandEntry entry = ParseCommandParameter(parameter);
        return "(parsed: command [" + entry.command + "])";
    } catch (const ParameterError& error) {
        switch (error.problem) {
        case ParameterProblem::Missing:
            return "missing";
        case ParameterProblem::Blank:
            return "blank";
        case ParameterProblem::NoCommand:
            return "no command";
        }
    }
    return "(unknown problem)";
}

void ExpectEntry(const char* parameter, const std::string& command, const std::string& arguments)
{
    const CommandEntry entry = ParseCommandParameter(parameter);
    EXPECT_EQ(entry.name, "") << "parameter [" << parameter << "]";
    EXPECT_EQ(entry.command, command) << "parameter [" << parameter << "]";
    EXPECT_EQ(entry.arguments, arguments) << "parameter [" << parameter << "]";
}

TEST(CommandParameter, WithoutABarIsTheCommandAlone)
{
    ExpectEntry("sort", "sort", "");
    ExpectEntry("sort|", "sort", "");
}

TEST(CommandParameter, SkipsBlanksBeforeTheCommand)
{
    ExpectEntry(" sort|-r", "sort", "-r");
    ExpectEntry("  \t sort|-r", "sort", "-r");
    ExpectEntry("\t\t\t\tsort|-r", "sort", "-r");
    ExpectEntry("\r\n\v\fsort|-r", "sort", "-r");
}

TEST(CommandParameter, KeepsSpacesAroundTheBar)
{
    ExpectEntry("sort |-r", "sort ", "-r");
    ExpectEntry("sort| -r", "sort", " -r");
    ExpectEntry("sort -r ", "sort -r ", "");
}

TEST(CommandParameter, SplitsAtTheFirstBarOnly)
{
    ExpectEntry("a|b|c", "a", "b|c");
}

TEST(CommandParameter, SplitsAtABarThatIsTheSecondByteOfADoubleByteCharacter)
{
    // "\x83\x7C" is a katakana in code page 932; its second byte is "|".
    ExpectEntry("tool\x83\x7C-x", "tool\x83", "-x");
}

TEST(CommandParameter, DoesNotTakeBytesFrom0x80UpForBlanks)
{
    ExpectEntry("\x81\x40sort", "\x81\x40sort", "");
    ExpectEntry("\xA0sort", "\xA0sort", "");
}

TEST(CommandParameter, RaisesParameterMissingForNullOrEmpty)
{
    EXPECT_EQ(RaisedBy(nullptr), "missing");
    EXPECT_EQ(RaisedBy(""), "missing");
}

TEST(CommandParameter, RaisesParameterBlankForBlanksOnly)
{
    EXPECT_EQ(RaisedBy(" "), "blank");
    EXPECT_EQ(RaisedBy(" \t \t"), "blank");
}

TEST(CommandParameter, RaisesCommandMissingWhenNothingStandsBeforeTheBar)
{
    EXPECT_EQ(RaisedBy("|-r"), "no command");
    EXPECT_EQ(RaisedBy("   |-r"), "no command");
    EXPECT_EQ(RaisedBy("|"), "no command");
}

}  // namespace
}  // namespace tuvex
