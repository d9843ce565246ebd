#include <gtest/gtest.h>

#include "common/unicode_text.h"

namespace tuvex {
namespace {

TEST(Utf8WholeCharacters, EndBeforeALastCharacterWhoseBytesHaveNotAllCome)
{
    EXPECT_EQ(Utf8WholeCharactersLength(""), 0u);
    EXPECT_EQ(Utf8WholeCharactersLength("ab"), 2u);
    EXPECT_EQ(Utf8WholeCharactersLength("a\xC3"), 1u);           // "é" cut after its lead byte
    EXPECT_EQ(Utf8WholeCharactersLength("a\xC3\xA9"), 3u);
    EXPECT_EQ(Utf8WholeCharactersLength("\xE6\x9D\xB1\xE4\xBA"), 3u);  // "東" and "京" cut
    EXPECT_EQ(Utf8WholeCharactersLength("\xF0\xA0\xAE"), 0u);     // "𠮷" cut
    EXPECT_EQ(Utf8WholeCharactersLength("a\xF0\xA0\xAE\xB7"), 5u);  // "𠮷" whole: its lead is four bytes back
}

TEST(Utf8WholeCharacters, LeaveBytesThatAreNoUtf8ToTheDecoding)
{
    EXPECT_EQ(Utf8WholeCharactersLength("\x80\x80\x80\x80"), 4u);  // stray continuation bytes
    EXPECT_EQ(Utf8WholeCharactersLength("a\xFF"), 2u);
    EXPECT_EQ(Utf8WholeCharactersLength("\xC3\xA9\xA9"), 3u);  // one continuation byte too many
}

TEST(Utf8Validity, AcceptsEveryWellFormedLength)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("a\xC3\xA9\xE6\x9D\xB1\xF0\xA0\xAE\xB7"));
    EXPECT_TRUE(IsValidUtf8("\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF"));  // U+D7FF, U+E000, U+10FFFF
}

TEST(Utf8Validity, RefusesOverlongFormsSurrogatesAndCutOrStraySequences)
{
    for (const char* invalid : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",  // overlong "/"
                                "\xED\xA0\x80", "\xED\xBF\xBF",                  // surrogates
                                "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",          // beyond U+10FFFF
                                "a\xE6\x9D", "\x80", "\xC3\x41", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(invalid)) << testing::PrintToString(std::string(invalid));
    }
}

TEST(Utf16WholeCharacters, EndBeforeAHighSurrogateWhoseLowOneHasNotCome)
{
    EXPECT_EQ(Utf16WholeCharactersLength(L""), 0u);
    EXPECT_EQ(Utf16WholeCharactersLength(L"a\xD842"), 1u);
    EXPECT_EQ(Utf16WholeCharactersLength(L"a\xD842\xDFB7"), 3u);
    EXPECT_EQ(Utf16WholeCharactersLength(L"a\xDFB7"), 2u);
}

TEST(LoneSurrogates, AreFoundWhereverTheyStandButPairsAreNot)
{
    EXPECT_FALSE(HoldsLoneSurrogate(L"a\xD842\xDFB7z"));
    EXPECT_FALSE(HoldsLoneSurrogate(L""));
    for (const wchar_t* lone : {L"\xD842", L"a\xDFB7", L"\xD842z", L"\xDFB7\xD842", L"\xD842\xD842\xDFB7"}) {
        EXPECT_TRUE(HoldsLoneSurrogate(lone)) << testing::PrintToString(std::wstring(lone));
    }
}

}  // namespace
}  // namespace tuvex
