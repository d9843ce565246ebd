#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "menu/menu_file.h"

namespace tuvex {

std::ostream& operator<<(std::ostream& out, MenuLineKind kind)
{
    static const char* const names[] = {"Blank", "Submenu", "Item", "Separator"};
    return out << names[static_cast<int>(kind)];
}

namespace {

using Fields = std::vector<ByteString>;

struct ParsedLine {
    MenuLineKind kind;
    std::size_t depth;
    Fields fields;
};

ParsedLine Parse(const char* line)
{
    ParsedLine parsed{};
    parsed.kind = ParseMenuLine(line, parsed.fields, parsed.depth);
    return parsed;
}

TEST(ParseMenuLine, SplitsAnItemIntoNameCommandAndArgumentsAtTabs)
{
    const ParsedLine line = Parse("Number lines\tnumber.exe\t-w 4\n");
    EXPECT_EQ(line.kind, MenuLineKind::Item);
    EXPECT_EQ(line.depth, 0u);
    EXPECT_EQ(line.fields, (Fields{"Number lines", "number.exe", "-w 4"}));
}

TEST(ParseMenuLine, CountsTheLeadingTabsAsTheDepth)
{
    EXPECT_EQ(Parse("\tUpper case\tconv.exe\n").depth, 1u);
    EXPECT_EQ(Parse("\t\t\tX\tx.exe").depth, 3u);
}

TEST(ParseMenuLine, TakesARunOfTabsAsOneSeparatorSoNoFieldIsEmpty)
{
    EXPECT_EQ(Parse("Reverse\t\treverse.pl\t\t\n").fields, (Fields{"Reverse", "reverse.pl"}));
}

TEST(ParseMenuLine, EndsTheLineAtAHashWhereverItStands)
{
    EXPECT_EQ(Parse("Say\techo\t#1\n").fields, (Fields{"Say", "echo"}));
    EXPECT_EQ(Parse("Reverse\t\treverse.pl\t\t#one line at a time\n").fields, (Fields{"Reverse", "reverse.pl"}));
    EXPECT_EQ(Parse("Sort\tsort.exe#fast\tignored\n").fields, (Fields{"Sort", "sort.exe"}));
}

TEST(ParseMenuLine, KeepsSpacesAndOtherBytesUntrimmed)
{
    EXPECT_EQ(Parse("  Name \t cmd.exe\t-a  \n").fields, (Fields{"  Name ", " cmd.exe", "-a  "}));
    EXPECT_EQ(Parse("A\rB\tc\n").fields, (Fields{"A\rB", "c"}));
}

TEST(ParseMenuLine, PassesCodePage932BytesThroughUnchanged)
{
    // 並べ替え and 表示: the second has the trail byte 0x5C.
    const ParsedLine line = Parse("\x95\xC0\x82\xD7\x91\xD6\x82\xA6\tsort.exe\t\x95\x5C\x8E\xA6\n");
    EXPECT_EQ(line.kind, MenuLineKind::Item);
    EXPECT_EQ(line.fields, (Fields{"\x95\xC0\x82\xD7\x91\xD6\x82\xA6", "sort.exe", "\x95\x5C\x8E\xA6"}));
}

TEST(ParseMenuLine, IsBlankForALineWithoutFields)
{
    for (const char* text : {"", "\n", "\t\t\n", "#text tools\n", "\t#indented comment", "\t\t"}) {
        const ParsedLine line = Parse(text);
        EXPECT_EQ(line.kind, MenuLineKind::Blank) << "line: \"" << text << "\"";
        EXPECT_TRUE(line.fields.empty()) << "line: \"" << text << "\"";
    }
}

TEST(ParseMenuLine, IsAnItemWithOneFieldForANameAloneOrALineOfSpaces)
{
    for (const char* text : {"Name\n", "   \n", "----\n", "Name\t#comment\n"}) {
        const ParsedLine line = Parse(text);
        EXPECT_EQ(line.kind, MenuLineKind::Item) << "line: \"" << text << "\"";
        EXPECT_EQ(line.fields.size(), 1u) << "line: \"" << text << "\"";
    }
}

TEST(ParseMenuLine, IsASeparatorForFiveOrMoreDashesWithoutFields)
{
    for (const char* text : {"-----", "-----\n", "------\n", "-----xyz\tcmd.exe\n", "\t-----\n"}) {
        const ParsedLine line = Parse(text);
        EXPECT_EQ(line.kind, MenuLineKind::Separator) << "line: \"" << text << "\"";
        EXPECT_TRUE(line.fields.empty()) << "line: \"" << text << "\"";
    }
    EXPECT_EQ(Parse("\t\t-----\n").depth, 2u);
}

TEST(ParseMenuLine, IsASubmenuWhoseFieldsBeginAfterTheArrow)
{
    const ParsedLine line = Parse("\t->Convert\tignored\n");
    EXPECT_EQ(line.kind, MenuLineKind::Submenu);
    EXPECT_EQ(line.depth, 1u);
    EXPECT_EQ(line.fields, (Fields{"Convert", "ignored"}));
}

TEST(ParseMenuLine, IsASubmenuWithoutFieldsForAnArrowAlone)
{
    for (const char* text : {"->", "->\n", "->#comment\n", "->\t\n"}) {
        const ParsedLine line = Parse(text);
        EXPECT_EQ(line.kind, MenuLineKind::Submenu) << "line: \"" << text << "\"";
        EXPECT_TRUE(line.fields.empty()) << "line: \"" << text << "\"";
    }
}

TEST(ParseMenuLine, TestsForASeparatorBeforeASubmenu)
{
    const ParsedLine line = Parse("->-----\n");
    EXPECT_EQ(line.kind, MenuLineKind::Submenu);
    EXPECT_EQ(line.fields, (Fields{"-----"}));
}

TEST(ParseMenuLine, RecognisesNeitherArrowNorDashesAfterLeadingSpaces)
{
    EXPECT_EQ(Parse(" ->Convert\n").kind, MenuLineKind::Item);
    EXPECT_EQ(Parse(" ->Convert\n").fields, (Fields{" ->Convert"}));
    EXPECT_EQ(Parse(" -----\tcmd.exe\n").kind, MenuLineKind::Item);
    EXPECT_EQ(Parse(" -----\tcmd.exe\n").depth, 0u);
}

TEST(ParseMenuLine, ReplacesTheFieldsOfThePreviousLine)
{
    Fields fields{"left", "over"};
    std::size_t depth = 7;
    EXPECT_EQ(ParseMenuLine("#comment\n", fields, depth), MenuLineKind::Blank);
    EXPECT_TRUE(fields.empty());
    EXPECT_EQ(depth, 0u);
    fields = {"left", "over"};
    EXPECT_EQ(ParseMenuLine("-----\n", fields, depth), MenuLineKind::Separator);
    EXPECT_TRUE(fields.empty());
}

}  // namespace
}  // namespace tuvex
