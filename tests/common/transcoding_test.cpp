#include <gtest/gtest.h>

#include <string>

#include "common/code_page_932.h"
#include "common/transcoding.h"

namespace tuvex {
namespace {

// What a conversion gave: its units or bytes, and where it stopped when it
// did not convert all.
template <typename Out>
struct Outcome {
    Out written;
    std::size_t read;
    bool complete;
    bool operator==(const Outcome&) const = default;
};

template <typename Out>
void PrintTo(const Outcome<Out>& outcome, std::ostream* out)
{
    *out << testing::PrintToString(outcome.written) << " read " << outcome.read
         << (outcome.complete ? " complete" : " stopped");
}

Outcome<std::wstring> Decoded(std::string_view bytes)
{
    std::wstring units(bytes.size(), L'\0');
    const Transcoded result = DecodeUtf8(bytes, units.data());
    return {units.substr(0, result.written), result.read, result.complete};
}

Outcome<std::string> Encoded(std::wstring_view units)
{
    std::string bytes(units.size() * 3, '\0');
    const Transcoded result = EncodeUtf8(units, bytes.data());
    return {bytes.substr(0, result.written), result.read, result.complete};
}

// Surrogate pairs are written as their two units: natively a wchar_t holds
// a whole code point.
TEST(Utf8Decoding, GivesTheUnitsOfEveryLength)
{
    EXPECT_EQ(Decoded("a\xC3\xA9\xE6\x9D\xB1\xF0\xA0\xAE\xB7"), (Outcome<std::wstring>{L"a\u00e9\u6771\xD842\xDFB7", 10, true}));
    EXPECT_EQ(Decoded("\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF"), (Outcome<std::wstring>{L"\uD7FF\uE000\xDBFF\xDFFF", 10, true}));
}

TEST(Utf8Decoding, StopsAtTheFirstByteOfTheSequenceThatIsNotWellFormed)
{
    for (const char* invalid : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",  // overlong "/"
                                "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                                "\xE6\x9D", "\x80", "\xC3\x41", "\xFF", "\xE6\x41\xB1", "\xF0\xA0\xAE\x41"}) {
        EXPECT_EQ(Decoded(std::string("ab") + invalid), (Outcome<std::wstring>{L"ab", 2, false}))
            << testing::PrintToString(std::string(invalid));
    }
}

TEST(Utf8Encoding, GivesTheBytesOfEveryLengthAndStopsAtALoneSurrogate)
{
    EXPECT_EQ(Encoded(L"a\u00e9\u6771\xD842\xDFB7\uFFFF"),
              (Outcome<std::string>{"a\xC3\xA9\xE6\x9D\xB1\xF0\xA0\xAE\xB7\xEF\xBF\xBF", 6, true}));
    EXPECT_EQ(Encoded(L"ab\xDFB7\xD842"), (Outcome<std::string>{"ab", 2, false}));
    EXPECT_EQ(Encoded(L"ab\xD842"), (Outcome<std::string>{"ab", 2, false}));
    EXPECT_EQ(Utf8EncodableLength(L"a\xD842\xDFB7z\xD842z"), 4u);
}

// A code page with "a" = 0x61, "ア" = 0x83 0x41 and nothing else.
Cp932Tables SmallTables()
{
    Cp932Tables tables;
    tables.bytesOfUnit.fill(Cp932Tables::kNone);
    tables.unitOfByte.fill(Cp932Tables::kNone);
    tables.unitOfPair.fill(Cp932Tables::kNone);
    tables.bytesOfUnit[L'a'] = 0x61;
    tables.unitOfByte[0x61] = L'a';
    tables.bytesOfUnit[0x30A2] = 0x8341;
    tables.unitOfPair[0x8341] = 0x30A2;
    return tables;
}

TEST(Cp932Encoding, WritesOneOrTwoBytesAUnitAndStopsAtAUnitThatTheCodePageLacks)
{
    const Cp932Tables tables = SmallTables();
    std::string bytes(8, '\0');
    const Transcoded whole = EncodeCp932(tables, L"a\u30A2a", bytes.data());
    EXPECT_EQ(bytes.substr(0, whole.written), "a\x83\x41" "a");
    EXPECT_TRUE(whole.complete);
    const Transcoded cut = EncodeCp932(tables, L"a\u30A2b", bytes.data());
    EXPECT_EQ(cut.read, 2u);
    EXPECT_EQ(cut.written, 3u);
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(Cp932HeldLength(tables, L"a\u30A2\U00020BB7"), 2u);
}

TEST(Cp932Decoding, PairsALeadByteWithTheNextAndStopsAtTheFirstByteThatIsNoCharacter)
{
    const Cp932Tables tables = SmallTables();
    std::wstring units(8, L'\0');
    struct Case {
        std::string bytes;
        std::wstring units;
        std::size_t read;
    };
    for (const Case& sample : {Case{"a\x83\x41" "a", L"a\u30A2a", 4}, Case{"a\x83\x42", L"a", 1},
                               Case{"a\x83", L"a", 1}, Case{"a\x41", L"a", 1}, Case{"\x83\x41\x83", L"\u30A2", 2}}) {
        const Transcoded result = DecodeCp932(tables, sample.bytes, units.data());
        EXPECT_EQ(units.substr(0, result.written), sample.units) << testing::PrintToString(sample.bytes);
        EXPECT_EQ(result.read, sample.read) << testing::PrintToString(sample.bytes);
        EXPECT_EQ(result.complete, sample.read == sample.bytes.size()) << testing::PrintToString(sample.bytes);
    }
}

}  // namespace
}  // namespace tuvex
