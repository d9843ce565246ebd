#include <gtest/gtest.h>

#include "text_encoding.h"

namespace tuvex::host {
namespace {

using namespace std::literals;

struct Detected {
    TextEncoding encoding;
    std::string body;
    bool operator==(const Detected&) const = default;
};

Detected Detect(std::string_view bytes, std::optional<TextEncoding> given = std::nullopt)
{
    const EncodedText text = DetectTextEncoding(bytes, given);
    return {text.encoding, std::string(text.body)};
}

void PrintTo(const Detected& detected, std::ostream* out)
{
    *out << static_cast<int>(detected.encoding) << " [" << detected.body << "]";
}

TEST(TextEncoding, AByteOrderMarkDecidesAndIsLeftOut)
{
    EXPECT_EQ(Detect("\xFF\xFE" "a\0"sv), (Detected{TextEncoding::Utf16, "a\0"s}));
    EXPECT_EQ(Detect("\xEF\xBB\xBF\x93\x8C"), (Detected{TextEncoding::Utf8, "\x93\x8C"}));
}

TEST(TextEncoding, ValidUtf8IsUtf8AndAnythingElseCodePage932)
{
    // 東京 in UTF-8, then in code page 932.
    EXPECT_EQ(Detect("\xE6\x9D\xB1\xE4\xBA\xAC"), (Detected{TextEncoding::Utf8, "\xE6\x9D\xB1\xE4\xBA\xAC"}));
    EXPECT_EQ(Detect("\x93\x8C\x8B\x9E"), (Detected{TextEncoding::Cp932, "\x93\x8C\x8B\x9E"}));
    EXPECT_EQ(Detect("plain"), (Detected{TextEncoding::Utf8, "plain"}));
}

TEST(TextEncoding, TheGivenEncodingWinsAndDropsOnlyItsOwnMark)
{
    EXPECT_EQ(Detect("\xE6\x9D\xB1", TextEncoding::Cp932), (Detected{TextEncoding::Cp932, "\xE6\x9D\xB1"}));
    EXPECT_EQ(Detect("a\0"sv, TextEncoding::Utf16), (Detected{TextEncoding::Utf16, "a\0"s}));
    EXPECT_EQ(Detect("\xEF\xBB\xBFx", TextEncoding::Cp932), (Detected{TextEncoding::Cp932, "\xEF\xBB\xBFx"}));
}

TEST(TextEncoding, Utf8ValidityFollowsTheStandard)
{
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));   // U+1F600
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE6\x9D"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\x82\xA0"));          // あ in code page 932
}

TEST(TextEncoding, KnowsTheThreeNamesInAnyCase)
{
    EXPECT_EQ(EncodingNamed("utf-8"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingNamed("UTF-16"), TextEncoding::Utf16);
    EXPECT_EQ(EncodingNamed("cp932"), TextEncoding::Cp932);
    EXPECT_EQ(EncodingNamed("shift_jis"), std::nullopt);
}

TEST(TextEncoding, NamesTheFirstByteThatDoesNotFitTheEncodingCountedFromOne)
{
    // 東京 in Shift_JIS, read as UTF-8.
    EXPECT_EQ(InputEncodingProblem("ab\x93\x8C", TextEncoding::Utf8),
              "the input is not UTF-8 (as --encoding says): byte 3 is 0x93; give the encoding it is in with "
              "--encoding cp932, utf-8 or utf-16");
    // Not UTF-8, so read as Shift_JIS, where a first byte lacks its second.
    EXPECT_EQ(InputEncodingProblem("\x93\x8C\x93", std::nullopt),
              "the input is not Shift_JIS (cp932) (it is not UTF-8 either): byte 3 is 0x93; give the encoding it is "
              "in with --encoding cp932, utf-8 or utf-16");
    // The byte-order mark counts.
    EXPECT_EQ(InputEncodingProblem("\xFF\xFE" "a\0b"sv, std::nullopt),
              "the input is not UTF-16: byte 5 is 0x62; give the encoding it is in with --encoding cp932, utf-8 or "
              "utf-16");
    for (const std::string_view text : {"\x93\x8C\x81\x40\xB1"sv, "a\0"sv}) {
        EXPECT_EQ(InputEncodingProblem(text, std::nullopt), "") << text;
    }
}

}  // namespace
}  // namespace tuvex::host
