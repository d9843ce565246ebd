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

std::string CutOf(std::string_view parameter)
{
    const std::optional<CharacterCutByBar> cut = CharacterCutByTheBar(parameter);
    return cut ? "[" + cut->command + "] [" + cut->character + "]" : "(none)";
}

TEST(CharacterCutByTheBar, IsTheCharacterWhoseSecondByteEndedTheCommand)
{
    // scripts\レポート.lua: ポ is 0x83 0x7C.
    EXPECT_EQ(CutOf("scripts\\\x83\x8C\x83|\x81[\x83g.lua|-x"), "[scripts\\\x83\x8C] [\x83|]");
    EXPECT_EQ(CutOf("  \x81|"), "[] [\x81|]");
}

TEST(CharacterCutByTheBar, IsNothingForABarAfterAWholeCharacterOrNoBar)
{
    // A trail byte in the lead bytes' range: \x81\x81 is one character.
    for (const char* parameter : {"sort|/r", "\x81\x81|x", "\x83\x8C|x", "tool\x83", "", "|x"}) {
        EXPECT_EQ(CutOf(parameter), "(none)") << parameter;
    }
}

}  // namespace
}  // namespace tuvex
