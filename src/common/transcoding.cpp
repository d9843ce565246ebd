#include "common/transcoding.h"

#include <cstdint>

namespace tuvex {

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

bool IsHighSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::size_t Utf8EncodableLength(std::wstring_view units)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(units[i]);
        if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(static_cast<std::uint32_t>(units[i + 1]))) {
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || unit > 0xFFFF) {
            return i;
        }
    }
    return units.size();
}

Transcoded EncodeUtf8(std::wstring_view units, char* into)
{
    char* const start = into;
    std::size_t i = 0;
    for (; i < units.size(); ++i) {
        auto code = static_cast<std::uint32_t>(units[i]);
        if (code < 0x80) {
            *into++ = static_cast<char>(code);
        } else if (code < 0x800) {
            *into++ = static_cast<char>(0xC0 | code >> 6);
            *into++ = static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0xD800 || (code >= 0xE000 && code <= 0xFFFF)) {
            *into++ = static_cast<char>(0xE0 | code >> 12);
            *into++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
            *into++ = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            const auto low = i + 1 < units.size() ? static_cast<std::uint32_t>(units[i + 1]) : 0;
            if (!IsHighSurrogate(code) || !IsLowSurrogate(low)) {
                break;  // a lone surrogate, or no UTF-16 unit at all
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            *into++ = static_cast<char>(0xF0 | code >> 18);
            *into++ = static_cast<char>(0x80 | (code >> 12 & 0x3F));
            *into++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
            *into++ = static_cast<char>(0x80 | (code & 0x3F));
            ++i;
        }
    }
    return {i, static_cast<std::size_t>(into - start), i == units.size()};
}

Transcoded DecodeUtf8(std::string_view bytes, wchar_t* into)
{
    wchar_t* const start = into;
    const auto* const data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            *into++ = static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        const std::size_t left = size - i;
        if (lead >= 0xE0 && lead <= 0xEF) {
            // The second byte's range is narrower after E0 (no overlong
            // form) and ED (no surrogate).
            if (left < 3 || !IsContinuation(data[i + 2])) {
                break;
            }
            const unsigned char second = data[i + 1];
            const unsigned char least = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char most = lead == 0xED ? 0x9F : 0xBF;
            if (second < least || second > most) {
                break;
            }
            *into++ = static_cast<wchar_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 | (data[i + 2] & 0x3F));
            i += 3;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            if (left < 2 || !IsContinuation(data[i + 1])) {
                break;
            }
            *into++ = static_cast<wchar_t>((lead & 0x1F) << 6 | (data[i + 1] & 0x3F));
            i += 2;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            // After F0 no overlong form, after F4 nothing beyond U+10FFFF.
            if (left < 4 || !IsContinuation(data[i + 2]) || !IsContinuation(data[i + 3])) {
                break;
            }
            const unsigned char second = data[i + 1];
            const unsigned char least = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char most = lead == 0xF4 ? 0x8F : 0xBF;
            if (second < least || second > most) {
                break;
            }
            const std::uint32_t code = std::uint32_t(lead & 0x07) << 18 | std::uint32_t(second & 0x3F) << 12 |
                                       std::uint32_t(data[i + 2] & 0x3F) << 6 | (data[i + 3] & 0x3F);
            *into++ = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            *into++ = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
            i += 4;
        } else {
            break;  // a continuation byte, or a lead that starts nothing
        }
    }
    return {i, static_cast<std::size_t>(into - start), i == size};
}

}  // namespace tuvex
