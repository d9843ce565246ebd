#include "text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/code_page_932.h"

namespace tuvex::host {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at the start of `bytes`; 0
// when there is none.
std::size_t Utf8SequenceLength(std::string_view bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[i]);
        if (!IsContinuation(next)) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// The same for a character of code page 932.
std::size_t Cp932CharacterLength(std::string_view bytes)
{
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (first == 0x80 || first == 0xA0 || first >= 0xFD) {
        return 0;
    }
    if (!IsCp932LeadByte(first)) {
        return 1;
    }
    const auto second = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0;
    return (second >= 0x40 && second <= 0x7E) || (second >= 0x80 && second <= 0xFC) ? 2 : 0;
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp932:
        return "Shift_JIS (cp932)";
    case TextEncoding::Utf8:
        return "UTF-8";
    case TextEncoding::Utf16:
        break;
    }
    return "UTF-16";
}

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

bool IsValidUtf8(std::string_view bytes) { return !FirstInvalidByte(bytes, TextEncoding::Utf8); }

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

std::optional<InvalidByte> FirstInvalidByte(std::string_view bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf16) {
        return bytes.size() % 2 == 0 ? std::nullopt
                                     : std::optional<InvalidByte>({bytes.size() - 1, static_cast<unsigned char>(bytes.back())});
    }
    for (std::size_t at = 0; at < bytes.size();) {
        const std::string_view rest = bytes.substr(at);
        const std::size_t length =
            encoding == TextEncoding::Utf8 ? Utf8SequenceLength(rest) : Cp932CharacterLength(rest);
        if (length == 0) {
            return InvalidByte{at, static_cast<unsigned char>(bytes[at])};
        }
        at += length;
    }
    return std::nullopt;
}

std::string InputEncodingProblem(std::string_view bytes, std::optional<TextEncoding> given)
{
    const EncodedText input = DetectTextEncoding(bytes, given);
    const std::optional<InvalidByte> invalid = FirstInvalidByte(input.body, input.encoding);
    if (!invalid) {
        return "";
    }
    char value[8] = {};
    std::snprintf(value, sizeof value, "0x%02X", invalid->value);
    const std::size_t position = static_cast<std::size_t>(input.body.data() - bytes.data()) + invalid->offset + 1;
    const std::string how = given ? " (as --encoding says)"
                                  : input.encoding == TextEncoding::Cp932 ? " (it is not UTF-8 either)" : "";
    return "the input is not " + std::string(EncodingName(input.encoding)) + how + ": byte " +
           std::to_string(position) + " is " + value + "; give the encoding it is in with --encoding cp932, utf-8 or utf-16";
}

}  // namespace tuvex::host
