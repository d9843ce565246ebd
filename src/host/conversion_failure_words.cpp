#include "host/conversion_failure_words.h"

#include <cstdio>
#include <string>

#include "common/code_page_932_win32.h"
#include "common/failure_words.h"
#include "common/messages.h"
#include "common/transcoding.h"

namespace tuvex {

namespace {

// Code page 932 bytes, each under the text it spells.

// 「
constexpr char kCharacterOpen[] = "\x81u";
// 」
constexpr char kCharacterClose[] = "\x81v";
//  は 
constexpr char kCharacterAt[] = " \x82\xCD ";
//  行 
constexpr char kLineAfterNumber[] = " \x8Ds ";
//  文字目にあり、コードページ932にない文字です。
constexpr char kColumnAfterNumber[] = " \x95\xB6\x8E\x9A\x96\xDA\x82\xC9\x82\xA0\x82\xE8\x81""A\x83R\x81[\x83h\x83y\x81[\x83W932\x82\xC9\x82\xC8\x82\xA2\x95\xB6\x8E\x9A\x82\xC5\x82\xB7\x81""B";
//  か 
constexpr char kFilterSeparator[] = " \x82\xA9 ";
//  なら渡せます
constexpr char kFiltersThatCarryIt[] = " \x82\xC8\x82\xE7\x93n\x82\xB9\x82\xDC\x82\xB7";
// Shift_JIS (コードページ932)
constexpr char kCodePage932Name[] = "Shift_JIS (\x83R\x81[\x83h\x83y\x81[\x83W932)";
//  として読めないバイトがあります: 
constexpr char kUnreadableBytesIn[] = " \x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDF\x82\xC8\x82\xA2\x83o\x83""C\x83g\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7: ";
//  バイト目の 0x
constexpr char kByteAfterPosition[] = " \x83o\x83""C\x83g\x96\xDA\x82\xCC 0x";
// 。
constexpr char kSentenceEnd[] = "\x81""B";
//  としては正しいので、
constexpr char kValidInOtherAfterName[] = " \x82\xC6\x82\xB5\x82\xC4\x82\xCD\x90\xB3\x82\xB5\x82\xA2\x82\xCC\x82\xC5\x81""A";
//  なら読めます
constexpr char kFilterThatReadsIt[] = " \x82\xC8\x82\xE7\x93\xC7\x82\xDF\x82\xDC\x82\xB7";

bool IsHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::wstring Wide(std::string_view cp932)
{
    std::wstring units(cp932.size(), L'\0');
    const Transcoded decoded = DecodeCp932(SystemCp932Tables(), cp932, units.data());
    units.resize(decoded.written);
    return units;
}

// The message's bytes: code page 932, as every message is, unless it holds a
// character that only UTF-8 can show.
ByteString MessageBytes(std::wstring_view message)
{
    ByteString bytes(message.size() * 3, '\0');
    const Transcoded narrow = EncodeCp932(SystemCp932Tables(), message, bytes.data());
    const Transcoded written = narrow.complete ? narrow : EncodeUtf8(message, bytes.data());
    bytes.resize(written.written);
    return bytes;
}

// The line and column of the unit at `at`, both counted from 1: CR LF, LF
// and CR end a line. Every unit before it is a character: code page 932
// holds no surrogate.
std::pair<std::size_t, std::size_t> LineAndColumn(std::wstring_view text, std::size_t at)
{
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (text[i] == L'\n' || (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n'))) {
            ++line;
            column = 1;
        } else if (text[i] != L'\r') {
            ++column;
        }
    }
    return {line, column};
}

}  // namespace

ByteString TextNotCp932Message(std::wstring_view text, std::size_t failedAt)
{
    const wchar_t unit = text[failedAt];
    const bool paired = IsHighSurrogate(unit) && failedAt + 1 < text.size() && IsLowSurrogate(text[failedAt + 1]);
    const bool lone = !paired && (IsHighSurrogate(unit) || IsLowSurrogate(unit));
    const std::uint32_t code =
        paired ? 0x10000 + ((std::uint32_t(unit) - 0xD800) << 10) + (std::uint32_t(text[failedAt + 1]) - 0xDC00)
               : std::uint32_t(unit);
    char codeText[16];
    std::snprintf(codeText, sizeof codeText, "U+%04X", static_cast<unsigned>(code));
    const auto [line, column] = LineAndColumn(text, failedAt);

    // A lone surrogate is no character: it is named by its code alone, and
    // only UTF-16 carries it.
    std::wstring words;
    if (!lone) {
        words += Wide(kCharacterOpen) + std::wstring(text.substr(failedAt, paired ? 2 : 1)) + Wide(kCharacterClose) +
                 L"(" + Wide(codeText) + L")";
    } else {
        words += Wide(codeText);
    }
    words += Wide(kCharacterAt) + std::to_wstring(line) + Wide(kLineAfterNumber) + std::to_wstring(column) +
             Wide(kColumnAfterNumber) + (lone ? L"TuvexW" : L"TuvexUtf8" + Wide(kFilterSeparator) + L"TuvexW") +
             Wide(kFiltersThatCarryIt);
    // The first line as every message has it, the words on a line of their own.
    return MessageBytes(Wide(messages::kTextNotConvertible) + L"\r\n" + words);
}

ByteString OutputNotConvertibleMessage(const OutputFailure& failure)
{
    const bool narrow = failure.expected == OutputText::CodePage932;
    char position[48];
    std::snprintf(position, sizeof position, "%llu", static_cast<unsigned long long>(failure.offset + 1));
    char value[4];
    std::snprintf(value, sizeof value, "%02X", static_cast<unsigned>(failure.byte));
    ByteString words = ByteString(narrow ? kCodePage932Name : "UTF-8") + kUnreadableBytesIn + position +
                       kByteAfterPosition + value;
    if (failure.validInOther) {
        words += ByteString(kSentenceEnd) + (narrow ? "UTF-8" : kCodePage932Name) + kValidInOtherAfterName +
                 (narrow ? "TuvexUtf8" : "Tuvex") + kFilterThatReadsIt;
    }
    return WithWords(messages::kOutputNotConvertible, words);
}

}  // namespace tuvex
