#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::DialogWatcher;
using test::Mismatch;
using test::TestChildPath;

// The lines of the test child's err-numbered, from `first` to `last`.
std::wstring NumberedLines(std::size_t first, std::size_t last)
{
    std::wstring lines;
    for (std::size_t number = first; number <= last; ++number) {
        std::wstring line = L"line " + std::to_wstring(number);
        line.resize(78, L'.');
        lines += line + L"\r\n";
    }
    return lines;
}

constexpr std::size_t kWindowFirstBytes = std::size_t(1) << 20;
constexpr std::size_t kWindowLastBytes = std::size_t(256) << 10;

// What is shown of `lines` numbered lines of `lineBytes` bytes each, too long
// to show whole: the whole lines within the first part kept (by default the
// message window's), the line that counts the bytes left out, and the whole
// lines within the last part.
std::wstring ShownOfNumberedLines(std::size_t lines, std::size_t lineBytes, std::size_t firstBytes = kWindowFirstBytes,
                                  std::size_t lastBytes = kWindowLastBytes)
{
    const std::size_t firstLines = firstBytes / lineBytes;
    const std::size_t lastLines = lastBytes / lineBytes;
    const std::uint64_t leftOut = std::uint64_t(lines - firstLines - lastLines) * lineBytes;
    return NumberedLines(1, firstLines) + L"…(途中の " + std::to_wstring(leftOut) + L" バイトを省略しました)…\r\n" +
           NumberedLines(lines - lastLines + 1, lines);
}

constexpr std::size_t kAnsiLineBytes = 80;
constexpr std::size_t kUtf16LineBytes = 160;

class LongErrorOutputTest : public ::testing::Test {
protected:
    // The texts shown while `call` runs; each must be a single window.
    static std::wstring ShownDuring(const std::function<void()>& call)
    {
        DialogWatcher watcher;
        call();
        const std::vector<test::SeenDialog> seen = watcher.seen();
        EXPECT_EQ(seen.size(), 1u);
        return seen.empty() ? L"(nothing shown)" : seen[0].text;
    }

    std::wstring ShownByNarrow(std::size_t lines)
    {
        const std::string parameter = TestChildPath() + "|err-numbered " + std::to_string(lines) + " ansi";
        return ShownDuring([&] { EXPECT_EQ(narrow_(GetDesktopWindow(), L"", parameter.c_str()), nullptr); });
    }
    std::wstring ShownByWide(std::size_t lines)
    {
        const std::string parameter = TestChildPath() + "|err-numbered " + std::to_string(lines) + " utf16";
        return ShownDuring([&] { EXPECT_EQ(wide_(GetDesktopWindow(), L"", parameter.c_str()), nullptr); });
    }

    test::InstalledModule module_;
    decltype(&Tuvex) narrow_ = module_.Export<decltype(Tuvex)>("Tuvex");
    decltype(&TuvexW) wide_ = module_.Export<decltype(TuvexW)>("TuvexW");
    decltype(&TuvexRun) run_ = module_.Export<decltype(TuvexRun)>("TuvexRun");
};

TEST_F(LongErrorOutputTest, ShowsTheFirstPartTheBytesLeftOutAndTheLastPart)
{
    // 10 MB as code page 932 and as UTF-16 text.
    EXPECT_EQ(Mismatch(ShownByNarrow(125000), ShownOfNumberedLines(125000, kAnsiLineBytes)), "same");
    EXPECT_EQ(Mismatch(ShownByWide(62500), ShownOfNumberedLines(62500, kUtf16LineBytes)), "same");
    // 250 MB: in a 32-bit process, keeping it all (and its UTF-16 copy) would
    // not fit the address space. A 64-bit process would fit it, and the
    // half minute it takes under Wine would test nothing that 10 MB do not.
    if constexpr (sizeof(void*) == 4) {
        EXPECT_EQ(Mismatch(ShownByNarrow(3125000), ShownOfNumberedLines(3125000, kAnsiLineBytes)), "same");
    }
    const std::wstring shownByRun = ShownDuring([&] {
        EXPECT_STREQ(run_("", TestChildPath().c_str(), "err-numbered 125000 ansi out 6f6b"), "ok");
    });
    // TuvexRun shows it in the message window, as the filters do.
    EXPECT_EQ(Mismatch(shownByRun, ShownOfNumberedLines(125000, kAnsiLineBytes)), "same");
}

TEST_F(LongErrorOutputTest, ShowsErrorOutputOfOneMebibyteAndAQuarterWhole)
{
    const std::size_t wholeBytes = kWindowFirstBytes + kWindowLastBytes;
    EXPECT_EQ(Mismatch(ShownByNarrow(wholeBytes / kAnsiLineBytes), NumberedLines(1, wholeBytes / kAnsiLineBytes)),
              "same");
    EXPECT_EQ(Mismatch(ShownByWide(wholeBytes / kUtf16LineBytes), NumberedLines(1, wholeBytes / kUtf16LineBytes)),
              "same");
}

TEST_F(LongErrorOutputTest, ShowsLongUtf8ErrorOutputWhoseCutsFallInsideCharactersAsUtf8)
{
    // 3,000,001 bytes of UTF-8: "x", then lines of "エラー 1".
    std::wstring text = L"x";
    for (int line = 0; line < 250000; ++line) {
        text += L"エラー 1\n";
    }
    const auto utf8 = module_.Export<decltype(TuvexW)>("TuvexUtf8");
    const std::string parameter = TestChildPath() + "|err-input";
    const std::wstring shown = ShownDuring([&] { EXPECT_EQ(utf8(GetDesktopWindow(), text.c_str(), parameter.c_str()), nullptr); });
    std::size_t lines = 0, omissionLines = 0, otherLines = 0;
    for (std::size_t at = 0; at < shown.size(); ++lines) {
        const std::size_t end = std::min(shown.find(L"\r\n", at), shown.size());
        const std::wstring line = shown.substr(at, end - at);
        omissionLines += line.starts_with(L"…(途中の ");
        otherLines += line != L"エラー 1" && line != L"xエラー 1" && !line.starts_with(L"…(途中の ");
        at = end + 2;
    }
    EXPECT_EQ(omissionLines, 1u);
    EXPECT_EQ(otherLines, 0u) << "of " << lines << " lines";
    EXPECT_GT(lines, 100000u);
}

}  // namespace
}  // namespace tuvex
