#include "common/unicode_text.h"

#include <algorithm>
#include <array>

#include "common/code_page_932.h"
#include "common/transcoding.h"

namespace tuvex {

namespace {

constexpr std::size_t kLongestUtf8Sequence = 4;

bool IsContinuationByte(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// How many bytes a sequence that starts with `lead` takes, 0 when no
// sequence starts with it.
std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// The second byte's range is narrower after some lead bytes: it rules out
// overlong forms (E0, F0), surrogates (ED) and code points beyond U+10FFFF (F4).
bool IsValidSecondByte(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0:
        return second >= 0xA0 && second <= 0xBF;
    case 0xED:
        return second >= 0x80 && second <= 0x9F;
    case 0xF0:
        return second >= 0x90 && second <= 0xBF;
    case 0xF4:
        return second >= 0x80 && second <= 0x8F;
    default:
        return IsContinuationByte(second);
    }
}

bool IsHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::size_t Utf8WholeCharactersLength(std::string_view bytes)
{
    // Only the last character can be incomplete, and its lead byte stands at
    // most three bytes before the end: looking back that far keeps the cost
    // independent of the length.
    for (std::size_t back = 1; back < kLongestUtf8Sequence && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if (!IsContinuationByte(byte)) {
            const std::size_t length = Utf8SequenceLength(byte);
            return length > back ? bytes.size() - back : bytes.size();
        }
    }
    return bytes.size();
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = Utf8SequenceLength(lead);
        if (length == 0 || bytes.size() - i < length) {
            return false;
        }
        if (length > 1 && !IsValidSecondByte(lead, static_cast<unsigned char>(bytes[i + 1]))) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (!IsContinuationByte(static_cast<unsigned char>(bytes[i + k]))) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::size_t Utf16WholeCharactersLength(std::wstring_view units)
{
    return !units.empty() && IsHighSurrogate(units.back()) ? units.size() - 1 : units.size();
}

bool HoldsLoneSurrogate(std::wstring_view units)
{
    return Utf8EncodableLength(units) < units.size();
}

namespace {

// What a character costs a reading (see ReadingCost).
enum Cost : std::uint64_t {
    kCommon = 0,
    kHalfWidth = 1,  // half-width katakana: old tools write them, but sparingly
    kRare = 2,
    kUnlikely = 4,
};

std::uint64_t CostOfCharacter(char32_t c)
{
    // Tab, line ends, escape sequences and backspaces are what a terminal acts on.
    if (c == '\t' || c == '\n' || c == '\r' || c == 0x1B || c == 0x08 || (c >= 0x20 && c < 0x7F)) {
        return kCommon;
    }
    struct Range {
        char32_t first;
        char32_t last;
        std::uint64_t cost;
    };
    // Ranges in ascending order; a character in none is unlikely.
    static constexpr std::array<Range, 13> kRanges{{
        {0xA0, 0xFF, kCommon},         // Latin-1
        {0x100, 0x2AF, kRare},         // Latin extended
        {0x370, 0x3FF, kRare},         // Greek
        {0x2000, 0x2BFF, kCommon},     // punctuation, arrows, box drawing, blocks, symbols
        {0x3000, 0x30FF, kCommon},     // CJK punctuation, hiragana, katakana
        {0x31F0, 0x33FF, kCommon},     // katakana extension, enclosed and compatibility CJK
        {0x4E00, 0x9FFF, kCommon},     // kanji
        {0xF900, 0xFAFF, kRare},       // compatibility kanji
        {0xFEFF, 0xFEFF, kCommon},     // byte-order mark
        {0xFF01, 0xFF60, kCommon},     // full-width forms
        {0xFF61, 0xFF9F, kHalfWidth},  // half-width katakana
        {0x1F000, 0x1FAFF, kCommon},   // emoji
        {0x20000, 0x3FFFF, kCommon},   // kanji beyond the first plane
    }};
    const auto range = std::find_if(kRanges.begin(), kRanges.end(), [c](const Range& r) { return c <= r.last; });
    return range != kRanges.end() && c >= range->first ? range->cost : kUnlikely;
}

// Japanese characters, the only ones that make a text without ASCII UTF-16.
bool IsJapaneseCharacter(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xFF01 && c <= 0xFF9F) || (c >= 0x20000 && c <= 0x3FFFF);
}

unsigned char ByteAt(std::string_view bytes, std::size_t index)
{
    return static_cast<unsigned char>(bytes[index]);
}

bool IsCp932TrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// A double-byte character of code page 932 by its rows: symbols, kana,
// Greek, Cyrillic and the first level of kanji are common; the second
// level and the vendors' kanji rare; the rest holds no character or only
// private ones.
std::uint64_t CostOfCp932Pair(unsigned code)
{
    if ((code >= 0x8140 && code <= 0x84FC) || (code >= 0x8740 && code <= 0x87FC) ||
        (code >= 0x889F && code <= 0x9872)) {
        return kCommon;
    }
    if ((code >= 0x989F && code <= 0xEAFC) || (code >= 0xED40 && code <= 0xEEFC) || code >= 0xFA40) {
        return kRare;
    }
    return kUnlikely;
}

std::uint64_t Cp932Cost(std::string_view text)
{
    std::uint64_t cost = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = ByteAt(text, i);
        if (byte < 0x80) {
            cost += CostOfCharacter(byte);
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            cost += kHalfWidth;
        } else if (IsCp932LeadByte(byte) && i + 1 < text.size() && IsCp932TrailByte(ByteAt(text, i + 1))) {
            cost += CostOfCp932Pair(256u * byte + ByteAt(text, ++i));
        } else {
            cost += kUnlikely;  // no character of the code page
        }
    }
    return cost;
}

std::uint64_t Utf8Cost(std::string_view text)
{
    std::uint64_t cost = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = Utf8SequenceLength(ByteAt(text, i));
        if (length == 0 || !IsValidUtf8(text.substr(i, length))) {
            cost += kUnlikely;
            ++i;
            continue;
        }
        char32_t c = length == 1 ? ByteAt(text, i) : ByteAt(text, i) & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            c = c << 6 | (ByteAt(text, i + k) & 0x3F);
        }
        cost += CostOfCharacter(c);
        i += length;
    }
    return cost;
}

std::optional<std::uint64_t> Utf16Cost(std::string_view text)
{
    std::uint64_t cost = text.size() % 2 != 0 ? std::uint64_t(kUnlikely) : 0;
    bool asciiUnit = false;
    bool allJapanese = text.size() >= 2;
    const std::size_t units = text.size() / 2;
    auto unitAt = [text](std::size_t unit) -> char32_t { return ByteAt(text, 2 * unit) + 256u * ByteAt(text, 2 * unit + 1); };
    for (std::size_t unit = 0; unit < units; ++unit) {
        char32_t c = unitAt(unit);
        if (IsHighSurrogate(static_cast<wchar_t>(c)) && unit + 1 < units &&
            IsLowSurrogate(static_cast<wchar_t>(unitAt(unit + 1)))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(++unit) - 0xDC00);
        }
        asciiUnit = asciiUnit || (c > 0 && c < 0x80);
        allJapanese = allJapanese && IsJapaneseCharacter(c);
        cost += CostOfCharacter(c);  // a lone surrogate is unlikely
    }
    if (!asciiUnit && !allJapanese) {
        return std::nullopt;
    }
    return cost;
}

}  // namespace

std::optional<std::uint64_t> ReadingCost(std::string_view text, TextKind kind)
{
    switch (kind) {
    case TextKind::Utf16:
        return Utf16Cost(text);
    case TextKind::Utf8:
        return Utf8Cost(text);
    case TextKind::Multibyte:
        break;
    }
    return Cp932Cost(text);
}

TextKind JudgeTextKind(std::string_view text, TextKind filterKind)
{
    if (std::all_of(text.begin(), text.end(), [](char byte) { return byte != '\0' && static_cast<unsigned char>(byte) < 0x80; })) {
        return TextKind::Multibyte;
    }
    TextKind best = filterKind;
    std::optional<std::uint64_t> bestCost = ReadingCost(text, filterKind);
    for (TextKind kind : {TextKind::Multibyte, TextKind::Utf8, TextKind::Utf16}) {
        const std::optional<std::uint64_t> cost = ReadingCost(text, kind);
        if (cost && (!bestCost || *cost < *bestCost)) {
            best = kind;
            bestCost = cost;
        }
    }
    return best;
}

}  // namespace tuvex
