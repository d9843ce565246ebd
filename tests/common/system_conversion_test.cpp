// The module's own conversions against the system's, with the flags that the
// module's conversions stand for.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/code_page_932_win32.h"
#include "common/transcoding.h"

namespace tuvex {
namespace {

constexpr UINT kCodePage932 = 932;

// The system's bytes for `units`; none when it refuses them or would use its
// default character.
std::optional<std::string> SystemBytes(UINT codePage, std::wstring_view units)
{
    if (units.empty()) {
        return "";
    }
    std::string bytes(units.size() * 4, '\0');
    BOOL usedDefault = FALSE;
    const bool utf8 = codePage == CP_UTF8;
    const int made = WideCharToMultiByte(codePage, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, units.data(),
                                         int(units.size()), bytes.data(), int(bytes.size()), nullptr,
                                         utf8 ? nullptr : &usedDefault);
    if (made == 0 || usedDefault) {
        return std::nullopt;
    }
    bytes.resize(std::size_t(made));
    return bytes;
}

// The system's units for `bytes`; none when it refuses them.
std::optional<std::wstring> SystemUnits(UINT codePage, std::string_view bytes)
{
    if (bytes.empty()) {
        return L"";
    }
    std::wstring units(bytes.size(), L'\0');
    const int made =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), units.data(), int(units.size()));
    if (made == 0) {
        return std::nullopt;
    }
    units.resize(std::size_t(made));
    return units;
}

std::optional<std::string> OwnCp932Bytes(std::wstring_view units)
{
    std::string bytes(units.size() * 2, '\0');
    const Transcoded result = EncodeCp932(SystemCp932Tables(), units, bytes.data());
    return result.complete ? std::optional(bytes.substr(0, result.written)) : std::nullopt;
}

std::optional<std::wstring> OwnCp932Units(std::string_view bytes)
{
    std::wstring units(bytes.size(), L'\0');
    const Transcoded result = DecodeCp932(SystemCp932Tables(), bytes, units.data());
    return result.complete ? std::optional(units.substr(0, result.written)) : std::nullopt;
}

std::optional<std::string> OwnUtf8Bytes(std::wstring_view units)
{
    std::string bytes(units.size() * 3, '\0');
    const Transcoded result = EncodeUtf8(units, bytes.data());
    return result.complete ? std::optional(bytes.substr(0, result.written)) : std::nullopt;
}

std::optional<std::wstring> OwnUtf8Units(std::string_view bytes)
{
    std::wstring units(bytes.size(), L'\0');
    const Transcoded result = DecodeUtf8(bytes, units.data());
    return result.complete ? std::optional(units.substr(0, result.written)) : std::nullopt;
}

std::string Hex(std::string_view bytes)
{
    std::string text;
    char digits[4];
    for (const char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", unsigned(static_cast<unsigned char>(byte)));
        text += digits;
    }
    return text;
}

TEST(SystemCp932, EveryUnitConvertsAsTheSystemConvertsItWithoutBestFit)
{
    int differences = 0;
    std::wstring held;  // every unit that converts, then all of them at once
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const std::wstring text(1, wchar_t(unit));
        const std::optional<std::string> own = OwnCp932Bytes(text);
        if (own != SystemBytes(kCodePage932, text) && ++differences <= 10) {
            ADD_FAILURE() << "U+" << std::hex << unit << ": own " << (own ? Hex(*own) : "refused");
        }
        if (own) {
            held += text;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_GT(held.size(), 7000u);  // the code page's characters, not an empty table
    EXPECT_EQ(OwnCp932Bytes(held), SystemBytes(kCodePage932, held));
    EXPECT_EQ(OwnCp932Bytes(L"\U00020BB7"), std::nullopt);
}

TEST(SystemCp932, EveryPairOfBytesDecodesAsTheSystemDecodesIt)
{
    int differences = 0;
    for (unsigned first = 0; first <= 0xFF; ++first) {
        for (unsigned second = 0; second <= 0x100; ++second) {  // 0x100: the first byte alone
            const std::string bytes = second == 0x100 ? std::string(1, char(first)) : std::string{char(first), char(second)};
            const std::optional<std::wstring> own = OwnCp932Units(bytes);
            const std::optional<std::wstring> system = SystemUnits(kCodePage932, bytes);
            if (own != system && ++differences <= 10) {
                ADD_FAILURE() << Hex(bytes) << ": own " << testing::PrintToString(own) << ", system "
                              << testing::PrintToString(system);
            }
        }
    }
    EXPECT_EQ(differences, 0);
}

// Every sequence of one to four bytes made of the bytes where UTF-8's rules
// change, and texts of the UTF-8 tests.
TEST(SystemUtf8, RefusesExactlyTheBytesThatTheSystemRefusesAndDecodesTheRestAlike)
{
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF,
                                   0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
    std::vector<std::string> samples = {"a\xC3\xA9\xE6\x9D\xB1\xF0\xA0\xAE\xB7\r\n",
                                        "\xEF\xBB\xBF\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC: \xE6\x9D\xB1\xE4\xBA\xAC",
                                        "\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF", "41eda080\xED\xA0\x80"};
    std::vector<std::string> shorter = {""};
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& start : shorter) {
            for (const unsigned char byte : edges) {
                longer.push_back(start + char(byte));
            }
        }
        samples.insert(samples.end(), longer.begin(), longer.end());
        shorter = std::move(longer);
    }
    int differences = 0;
    for (const std::string& bytes : samples) {
        const std::optional<std::wstring> own = OwnUtf8Units(bytes);
        const std::optional<std::wstring> system = SystemUnits(CP_UTF8, bytes);
        if (own != system && ++differences <= 10) {
            ADD_FAILURE() << Hex(bytes) << ": own " << testing::PrintToString(own) << ", system "
                          << testing::PrintToString(system);
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(SystemUtf8, EncodesEverySequenceOfUnitsAsTheSystemDoes)
{
    const wchar_t edges[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0x6771, 0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFF};
    std::vector<std::wstring> shorter = {L""};
    int differences = 0;
    for (int length = 1; length <= 3; ++length) {
        std::vector<std::wstring> longer;
        for (const std::wstring& start : shorter) {
            for (const wchar_t unit : edges) {
                const std::wstring units = start + unit;
                const std::optional<std::string> own = OwnUtf8Bytes(units);
                if (own != SystemBytes(CP_UTF8, units) && ++differences <= 10) {
                    ADD_FAILURE() << testing::PrintToString(units) << ": own " << (own ? Hex(*own) : "refused");
                }
                longer.push_back(units);
            }
        }
        shorter = std::move(longer);
    }
    EXPECT_EQ(differences, 0);
}

}  // namespace
}  // namespace tuvex
