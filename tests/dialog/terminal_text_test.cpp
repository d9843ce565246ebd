#include <gtest/gtest.h>

#include <string>

#include "dialog/terminal_text.h"

namespace tuvex {
namespace {

using namespace std::string_view_literals;

// The ASCII of a text, "?" for the rest, for readable failures.
std::string Ascii(const std::u16string& text)
{
    std::string ascii;
    for (char16_t c : text) {
        ascii += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return ascii;
}

std::string Shown(std::u16string_view text)
{
    return Ascii(TerminalText(text));
}

TEST(TerminalText, LeavesColourCursorAndTitleSequencesOut)
{
    EXPECT_EQ(Shown(u"\x1b[01;31m\x1b[Kerror\x1b[m\x1b[K: x\x1b[?25l\n"), "error: x\r\n");
    EXPECT_EQ(Shown(u"\x1b]0;title\x07" u"a\x1b]8;;http://x\x1b\\link\x1b]8;;\x1b\\b"), "alinkb");
    EXPECT_EQ(Shown(u"\x1b(Ba\x1b" u"7b\x1b"), "ab");
}

TEST(TerminalText, EndsATitleLeftOpenWithItsLine)
{
    EXPECT_EQ(Shown(u"\x1b]0;title\nrest"), "\r\nrest");
}

TEST(TerminalText, WritesWhatFollowsACarriageReturnOverItsLine)
{
    EXPECT_EQ(Shown(u" 10%\r 55%\r100%\r\ndone\r"), "100%\r\ndone");
    EXPECT_EQ(Shown(u"downloading\rok"), "okwnloading");
}

TEST(TerminalText, ErasesWithinTheLineAndMovesToAColumn)
{
    EXPECT_EQ(Shown(u"downloading\r\x1b[Kok"), "ok");
    EXPECT_EQ(Shown(u"abcdef\x1b[3G\x1b[1KX"), "  Xdef");
    EXPECT_EQ(Shown(u"abc\x1b[2K\x1b[1Gx"), "x");
    EXPECT_EQ(Shown(u"a\x1b[5Gb"), "a   b");
}

TEST(TerminalText, RemovesTheCharacterBeforeABackspace)
{
    EXPECT_EQ(Shown(u"ab\bc\b\b\bd"), "d");
    EXPECT_EQ(TerminalText(u"x\U0001F600\by"), u"xy");
}

TEST(TerminalText, ShowsNoOtherControlCharacters)
{
    EXPECT_EQ(Shown(u"a\0b\a\x7F\x85\tc"sv), "ab\tc");
}

TEST(TerminalText, BreaksALineAtTheTerminalsWidthAndMarksTheBreak)
{
    const std::u16string piece(kTerminalColumns, u'x');
    EXPECT_EQ(TerminalText(piece + u"\n"), piece + u"\r\n");
    EXPECT_EQ(TerminalText(piece + u"yz"), piece + kLineBreakMark + u"\r\nyz");
    // A carriage return goes back to the start of the piece it is in.
    EXPECT_EQ(TerminalText(piece + u"yz\rw"), piece + kLineBreakMark + u"\r\nwz");
}

}  // namespace
}  // namespace tuvex
