#include "text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace tuvex::host {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::optional<TextEncoding> EncodingNamed(std::string_view name)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    if (lower == "cp932") {
        return TextEncoding::Cp932;
    }
    if (lower == "utf-8") {
        return TextEncoding::Utf8;
    }
    if (lower == "utf-16") {
        return TextEncoding::Utf16;
    }
    return std::nullopt;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::size_t length = 0;
        std::uint32_t lowest = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, lowest = 0x80, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, lowest = 0x800, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, lowest = 0x10000, code = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - at < length) {
            return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(bytes[at + i]);
            if (!IsContinuation(next)) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        at += length;
    }
    return true;
}

bool HasNonAsciiByte(std::string_view bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
}

EncodedText DetectTextEncoding(std::string_view bytes, std::optional<TextEncoding> given)
{
    TextEncoding encoding = TextEncoding::Cp932;
    if (given) {
        encoding = *given;
    } else if (bytes.starts_with(kUtf16Mark)) {
        encoding = TextEncoding::Utf16;
    } else if (bytes.starts_with(kUtf8Mark) || IsValidUtf8(bytes)) {
        encoding = TextEncoding::Utf8;
    }
    if (encoding == TextEncoding::Utf16 && bytes.starts_with(kUtf16Mark)) {
        bytes.remove_prefix(kUtf16Mark.size());
    } else if (encoding == TextEncoding::Utf8 && bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return {encoding, bytes};
}

}  // namespace tuvex::host
