#include <gtest/gtest.h>

#include "common/code_page_932.h"

namespace tuvex {
namespace {

TEST(WholeCharacters, EndBeforeALastByteThatStartsACharacter)
{
    EXPECT_EQ(WholeCharactersLength(""), 0u);
    EXPECT_EQ(WholeCharactersLength("ab"), 2u);
    EXPECT_EQ(WholeCharactersLength("a\x82"), 1u);
    EXPECT_EQ(WholeCharactersLength("\x82\xA0"), 2u);  // "あ"
    EXPECT_EQ(WholeCharactersLength("\x82\xA0\x82"), 2u);
}

TEST(WholeCharacters, PairSecondBytesThatCouldAlsoStartACharacter)
{
    // "ャ" is 0x83 0x83, "ソ" 0x83 0x5C.
    EXPECT_EQ(WholeCharactersLength("\x83\x83"), 2u);
    EXPECT_EQ(WholeCharactersLength("\x83\x83\x83"), 2u);
    EXPECT_EQ(WholeCharactersLength("a\x83\x83\x81"), 3u);
    EXPECT_EQ(WholeCharactersLength("\x83\x5C\x81"), 2u);
    EXPECT_EQ(WholeCharactersLength("\xE0\x9F\xE0\x9F"), 4u);
}

}  // namespace
}  // namespace tuvex
