#include <gtest/gtest.h>

#include <string>

#include "common/unicode_text.h"
#include "dialog/message_dialog.h"
#include "error_output_corpus.h"

namespace tuvex {

// Found by gtest next to the type, so that failures name the kinds.
void PrintTo(TextKind kind, std::ostream* out)
{
    *out << (kind == TextKind::Utf16 ? "Utf16" : kind == TextKind::Utf8 ? "Utf8" : "Multibyte");
}

namespace {

using namespace std::string_literals;

constexpr TextKind kFilterKinds[] = {TextKind::Multibyte, TextKind::Utf8, TextKind::Utf16};

TEST(TextKind, JudgesEverySampleOfTheCorpusItsKindWhateverTheFilter)
{
    for (const test::ErrorOutputSample& sample : test::kErrorOutputCorpus) {
        for (TextKind filterKind : kFilterKinds) {
            EXPECT_EQ(JudgeTextKind(sample.bytes, filterKind), sample.kind) << sample.name;
        }
    }
}

TEST(TextKind, GivesATieToTheFiltersKindThenToTheCodePage)
{
    // "ĥ" in UTF-8 and the half-width "ﾄ･" in code page 932 cost the same.
    EXPECT_EQ(JudgeTextKind("\xC4\xA5", TextKind::Utf8), TextKind::Utf8);
    EXPECT_EQ(JudgeTextKind("\xC4\xA5", TextKind::Multibyte), TextKind::Multibyte);
    EXPECT_EQ(JudgeTextKind("\xC4\xA5", TextKind::Utf16), TextKind::Multibyte);
}

TEST(TextKind, ReadsAsciiBytesAsTheCodePageEvenWhereTheyWouldBeUtf16Kana)
{
    // U+3042 U+3044: 42 30 44 30, "B0D0".
    EXPECT_EQ(JudgeTextKind("\x42\x30\x44\x30", TextKind::Utf16), TextKind::Multibyte);
    EXPECT_EQ(JudgeTextKind("\x1b[1mred", TextKind::Utf16), TextKind::Multibyte);
}

TEST(TextKind, ReadsBytesInvalidInTheCodePageAsUtf16OnlyWhenTheyReadAsUtf16)
{
    EXPECT_EQ(JudgeTextKind("\xE5\x65\x2C\x67", TextKind::Multibyte), TextKind::Utf16);  // "日本"
    EXPECT_EQ(JudgeTextKind("\x42\xD8\x9F\xDF", TextKind::Multibyte), TextKind::Utf16);  // U+20B9F
    EXPECT_EQ(JudgeTextKind("a\0b\0"s, TextKind::Multibyte), TextKind::Utf16);
    // Neither ASCII nor Japanese as UTF-16.
    EXPECT_NE(JudgeTextKind("\xFD\xFD\x80\x80\xFF\x7F", TextKind::Utf16), TextKind::Utf16);
}

TEST(TextKind, ReadsAnEmptyTextAsTheCodePage)
{
    EXPECT_EQ(JudgeTextKind("", TextKind::Utf16), TextKind::Multibyte);
}

TEST(Utf16Text, EndsAtTheFirstZeroUnit)
{
    EXPECT_EQ(Utf16TextUnits("a\0b\0\0\0c\0\0\0", 10), 2u);
}

TEST(Utf16Text, WithoutAZeroUnitIsEveryWholeUnitOfTheBuffer)
{
    EXPECT_EQ(Utf16TextUnits("\x1b[1mred", 8), 4u);
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
    std::u16string lines;
    for (int line = 0; line < 20; ++line) {
        lines += u"warning\n";
    }
    EXPECT_TRUE(FitsInMessageBox(lines.substr(0, lines.size() - 1)));
    EXPECT_FALSE(FitsInMessageBox(lines + u"one more"));
    EXPECT_TRUE(FitsInMessageBox(std::u16string(1999, u'w')));
    EXPECT_FALSE(FitsInMessageBox(std::u16string(2000, u'w')));
}

TEST(MessageSlices, EndAfterTheLastLineEndWithinTheSliceOrAtAWholeCharacter)
{
    EXPECT_EQ(SliceEnd(u"ab\r\ncd\r\nef", 0, 8), 8u);
    EXPECT_EQ(SliceEnd(u"ab\r\ncd\r\nef", 4, 8), 10u);  // the rest
    EXPECT_EQ(SliceEnd(u"abcdefgh", 0, 4), 4u);
    EXPECT_EQ(SliceEnd(u"abc\U0001F600efgh", 0, 4), 5u);
}

}  // namespace
}  // namespace tuvex
