#include <gtest/gtest.h>

#include <string>

#include "dialog/message_dialog.h"

namespace tuvex {

// Found by gtest next to the type, so that failures name the kinds.
void PrintTo(TextKind kind, std::ostream* out)
{
    *out << (kind == TextKind::Utf16 ? "Utf16" : kind == TextKind::Utf8 ? "Utf8" : "Multibyte");
}

namespace {

// Stands for the run-time library: ASCII text is valid, any other byte is
// invalid in the code page.
std::optional<std::size_t> CountAsciiChars(const char* text)
{
    std::size_t count = 0;
    for (; text[count] != '\0'; ++count) {
        if (static_cast<unsigned char>(text[count]) >= 0x80) {
            return std::nullopt;
        }
    }
    return count;
}

// `buffer` is the whole message buffer, terminator included.
TextKind Kind(const std::string& buffer, WideCharCounter count = &CountAsciiChars)
{
    return DetectTextKind(buffer.data(), buffer.size(), count);
}

using namespace std::string_literals;

TEST(TextKind, WellFormedUtf8BeyondAsciiIsUtf8WhateverItsLengthAndLineEnds)
{
    const std::string error = "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC: \xE6\x9D\xB1\xE4\xBA\xAC\r\n";  // "エラー: 東京"
    EXPECT_EQ(Kind(error + "\0"s), TextKind::Utf8);
    EXPECT_EQ(Kind(error + "\0\0"s), TextKind::Utf8);
    EXPECT_EQ(Kind("\xC3\xA9\0"s), TextKind::Utf8);  // "é"
}

TEST(TextKind, TextThatIsNotUtf8BeyondAsciiIsDecidedAsBefore)
{
    EXPECT_EQ(Kind("\x83G\x83\x89\x81[\r\n\0"s), TextKind::Multibyte);  // "エラー" in code page 932
    EXPECT_EQ(Kind("\xED\xA0\x80\r\n\0"s), TextKind::Multibyte);       // an encoded surrogate
    EXPECT_EQ(Kind("\xC3\xA9\x80\r\n\0"s), TextKind::Multibyte);       // a stray continuation byte
    // U+A9C3 "a" in UTF-16 starts with the UTF-8 of "é": its zero bytes decide.
    EXPECT_EQ(Kind("\xC3\xA9\x61\0\0\0"s), TextKind::Utf16);
}

TEST(TextKind, EmptyMessageIsMultibyteByItsOddLength)
{
    EXPECT_EQ(Kind("\0"s), TextKind::Multibyte);
}

TEST(TextKind, OddLengthIsMultibyteBeforeAnyZeroByteIsLookedAt)
{
    EXPECT_EQ(Kind("a\0b\0\0"s), TextKind::Multibyte);
}

TEST(TextKind, EmptyWideMessageIsUtf16ByItsCountOfNoCharacters)
{
    EXPECT_EQ(Kind("\0\0"s), TextKind::Utf16);
}

TEST(TextKind, PlainAsciiMessageIsMultibyte)
{
    EXPECT_EQ(Kind("abc\0"s), TextKind::Multibyte);
}

TEST(TextKind, ZeroByteInsideTheTextIsUtf16)
{
    EXPECT_EQ(Kind("a\0b\0\r\0\n\0\0\0"s), TextKind::Utf16);
}

TEST(TextKind, CrLfBeforeAnyZeroByteIsMultibyte)
{
    // Code page 932 "日本", CR LF, "a": decided before the count, which
    // would fail for it here.
    EXPECT_EQ(Kind("\x93\xFA\x96\x7B\r\na\0"s), TextKind::Multibyte);
    EXPECT_EQ(Kind("ab\r\n\0\0\0\0"s), TextKind::Multibyte);
}

TEST(TextKind, ZeroBytesOfTheTerminatorAloneDoNotMakeUtf16)
{
    // U+3042 U+3044: 42 30 44 30, valid multibyte text "B0D0".
    EXPECT_EQ(Kind("\x42\x30\x44\x30\0\0"s), TextKind::Multibyte);
}

TEST(TextKind, SurrogateUnitIsMultibyteWhateverTheCountSays)
{
    EXPECT_EQ(Kind("\x42\xD8\x9F\xDF\0\0"s), TextKind::Multibyte);
}

TEST(TextKind, TextInvalidInTheCodePageIsUtf16)
{
    // U+65E5 U+672C.
    EXPECT_EQ(Kind("\xE5\x65\x2C\x67\0\0"s), TextKind::Utf16);
}

TEST(TextKind, EscapeCharacterMakesUtf16)
{
    EXPECT_EQ(Kind("\x1b[1mred\0"s), TextKind::Utf16);
}

TEST(TextKind, TabLineFeedAndCarriageReturnAreNoReasonForUtf16)
{
    EXPECT_EQ(Kind("a\tb\nc\rde\0"s), TextKind::Multibyte);
}

TEST(Utf16Text, EndsAtTheFirstZeroUnit)
{
    EXPECT_EQ(Utf16TextUnits("a\0b\0\0\0c\0\0\0", 10), 2u);
}

TEST(Utf16Text, WithoutAZeroUnitIsEveryWholeUnitOfTheBuffer)
{
    EXPECT_EQ(Utf16TextUnits("\x1b[1mred\0", 8), 4u);
    EXPECT_EQ(Utf16TextUnits("ab\0", 3), 1u);
}

std::uint32_t ClientSize(std::uint32_t width, std::uint32_t height)
{
    return height << 16 | width;
}

void ExpectPlacement(const ControlPlacement& place, int left, int top, int width, int height)
{
    EXPECT_EQ(place.left, left);
    EXPECT_EQ(place.top, top);
    EXPECT_EQ(place.width, width);
    EXPECT_EQ(place.height, height);
}

TEST(MessageDialogLayout, KeepsTheTextThreePixelsFromTheEdgesAndTheButtonBottomRight)
{
    const MessageDialogLayout layout = LayOutMessageDialog(ClientSize(400, 300));
    ExpectPlacement(layout.edit, 3, 3, 394, 270);
    ExpectPlacement(layout.okButton, 319, 276, 80, 22);
}

TEST(MessageDialogLayout, ReadsTheClientSizeAsUnsigned16BitHalves)
{
    const MessageDialogLayout layout = LayOutMessageDialog(ClientSize(0xFFFF, 0x8000));
    ExpectPlacement(layout.edit, 3, 3, 0xFFFF - 6, 0x8000 - 30);
}

TEST(MessageDialogLayout, EnforcesNoMinimumSize)
{
    const MessageDialogLayout layout = LayOutMessageDialog(ClientSize(0, 0));
    ExpectPlacement(layout.edit, 3, 3, -6, -30);
    ExpectPlacement(layout.okButton, -81, -24, 80, 22);
}

TEST(MessageBoxFit, TakesTwentyLinesCountingEachHundredBytesOfALineAsOne)
{
    std::string lines;
    for (int line = 0; line < 20; ++line) {
        lines += "warning\n";
    }
    EXPECT_TRUE(FitsInMessageBox(lines.substr(0, lines.size() - 1)));
    EXPECT_FALSE(FitsInMessageBox(lines + "one more"));
    EXPECT_TRUE(FitsInMessageBox(std::string(1999, 'w')));
    EXPECT_FALSE(FitsInMessageBox(std::string(2000, 'w')));
}

}  // namespace
}  // namespace tuvex
