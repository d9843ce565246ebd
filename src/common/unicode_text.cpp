#include "common/unicode_text.h"

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

}  // namespace tuvex
