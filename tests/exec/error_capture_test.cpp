#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/messages.h"
#include "common/unicode_text.h"
#include "exec/error_capture.h"

namespace tuvex {
namespace {

using namespace std::string_literals;

// …(途中の / バイトを省略しました)…, in code page 932 and UTF-16LE.
const std::string kBefore = "\x81\x63(\x93r\x92\x86\x82\xCC ";
const std::string kAfter = " \x83o\x83""C\x83g\x82\xF0\x8F\xC8\x97\xAA\x82\xB5\x82\xDC\x82\xB5\x82\xBD)\x81\x63";

std::string Utf16(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Feeds `bytes` in reads of `readSize`, as the exchange does.
void Feed(ErrorCapture& capture, const std::string& bytes, std::size_t readSize)
{
    for (std::size_t at = 0; at < bytes.size(); at += readSize) {
        const std::size_t count = std::min(readSize, bytes.size() - at);
        std::memcpy(capture.Extend(readSize), bytes.data() + at, count);
        capture.Commit(count);
    }
}

// 0, 1, 2, ... as bytes, so that every stretch of the output is its own.
std::string Numbered(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i % 251);
    }
    return bytes;
}

TEST(ErrorCapture, KeepsOutputUpToBothLimitsWhole)
{
    for (std::size_t readSize : {1u, 7u, 100u, 5000u}) {
        ErrorCapture capture({100, 40});
        const std::string output = Numbered(140);
        Feed(capture, output, readSize);
        EXPECT_EQ(std::string(capture.first()) + std::string(capture.last()), output) << "reads of " << readSize;
        EXPECT_EQ(capture.omittedBytes(), 0u);
        EXPECT_EQ(capture.size(), 140u);
    }
}

TEST(ErrorCapture, KeepsTheFirstAndLastPartsOfLongerOutputAndAnEvenCountBetween)
{
    for (std::size_t total : {141u, 142u, 10001u}) {
        for (std::size_t readSize : {1u, 64u, 333u, 200000u}) {
            ErrorCapture capture({100, 40});
            const std::string output = Numbered(total);
            Feed(capture, output, readSize);
            const std::size_t lastSize = 40 - (total - 140) % 2;
            EXPECT_EQ(capture.first(), output.substr(0, 100)) << total << " in reads of " << readSize;
            EXPECT_EQ(capture.last(), output.substr(total - lastSize)) << total << " in reads of " << readSize;
            EXPECT_EQ(capture.omittedBytes(), total - 100 - lastSize);
        }
    }
}

TEST(ShortenedErrorText, CutsMultibyteTextAtLineEndsAndCountsAllThatIsLeftOut)
{
    const std::string first = "line 1\r\nline 2\r\nline";
    const std::string last = "end of 8\r\nline 9\r\n";
    EXPECT_EQ(ShortenedErrorText(first, last, 1000, TextKind::Multibyte),
              "line 1\r\nline 2\r\n" + kBefore + "1014" + kAfter + "\r\nline 9\r\n");
}

TEST(ShortenedErrorText, CutsMultibyteTextWithoutLineEndsBetweenWholeCharacters)
{
    // "日本" "日" and the lead byte of "本"; "本です", whose first character
    // may as well be the end of another.
    const std::string first = "\x93\xFA\x96\x7B\x93\xFA\x96";
    const std::string last = "\x96\x7B\x82\xC5\x82\xB7";
    EXPECT_EQ(ShortenedErrorText(first, last, 10, TextKind::Multibyte),
              "\x93\xFA\x96\x7B\x93\xFA\r\n" + kBefore + "13" + kAfter + "\r\n\x82\xC5\x82\xB7");
    // Nothing after the first zero byte would show.
    EXPECT_EQ(ShortenedErrorText("ab\0cd\n"s, "\nz", 2, TextKind::Multibyte),
              "ab\r\n" + kBefore + "7" + kAfter + "\r\nz");
}

TEST(ShortenedErrorText, WritesTheLineInUtf16AndKeepsSurrogatePairsWhole)
{
    EXPECT_EQ(ShortenedErrorText(Utf16(u"a\r\nbc"), Utf16(u"d\r\ne"), 6, TextKind::Utf16),
              Utf16(u"a\r\n\u2026(\u9014\u4E2D\u306E 16 \u30D0\u30A4\u30C8\u3092\u7701\u7565\u3057\u307E\u3057\u305F)"
                    u"\u2026\r\ne"));
    // A pair cut in two by the parts: its halves are left out.
    const std::string shortened =
        ShortenedErrorText(Utf16(u"x") + "\x3D\xD8", "\x00\xDE"s + Utf16(u"y"), 2, TextKind::Utf16);
    EXPECT_EQ(shortened.substr(0, 6), Utf16(u"x\r\n"));
    EXPECT_NE(shortened.find(Utf16(u" 6 ")), std::string::npos) << "the count: 2 and both halves";
    EXPECT_EQ(shortened.substr(shortened.size() - 4), Utf16(u"\ny"));
    EXPECT_EQ(ShortenedErrorText(Utf16(u"x\U0001F600"), "", 2, TextKind::Utf16).substr(0, 6),
              Utf16(u"x\U0001F600"));
}

TEST(ErrorTextToShow, ShowsKeptBytesUnchangedAndShortensOnlyBeyondTheLimits)
{
    ErrorCapture whole({100, 40});
    Feed(whole, std::string(139, 'a') + '\n', 64);
    EXPECT_EQ(ErrorTextToShow(whole, TextKind::Multibyte), std::string(139, 'a') + '\n');

    ErrorCapture cut({100, 40});
    Feed(cut, std::string(200, 'a'), 64);
    // The last part's first byte could end a character that began before it.
    EXPECT_EQ(ErrorTextToShow(cut, TextKind::Multibyte),
              std::string(100, 'a') + "\r\n" + kBefore + "61" + kAfter + "\r\n" + std::string(39, 'a'));
}

TEST(ErrorTextToShow, JudgesTheKindOnTheTextShownWithItsPartsCutBetweenWholeCharacters)
{
    // UTF-8 "エラー" without line ends, the limits falling inside characters.
    std::string output = "x";
    while (output.size() < 1000) {
        output += "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC";
    }
    ErrorCapture capture({100, 40});
    Feed(capture, output, 64);
    const std::string shown = ErrorTextToShow(capture, TextKind::Multibyte);
    EXPECT_EQ(JudgeTextKind(shown, TextKind::Multibyte), TextKind::Utf8);
    EXPECT_TRUE(IsValidUtf8(shown)) << shown;
    EXPECT_NE(shown.find(messages::kOmittedBytesBeforeUtf8), std::string::npos) << shown;
}

}  // namespace
}  // namespace tuvex
