#include "common/code_page_932.h"

namespace tuvex {

bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t WholeCharactersLength(std::string_view bytes)
{
    // A byte that cannot start a character ends one, alone or as a second
    // byte; the bytes after the last such byte that could start one pair up
    // from there. Looking back only that far keeps the cost independent of
    // the length.
    std::size_t leadBytesAtEnd = 0;
    while (leadBytesAtEnd < bytes.size() &&
           IsCp932LeadByte(static_cast<unsigned char>(bytes[bytes.size() - 1 - leadBytesAtEnd]))) {
        ++leadBytesAtEnd;
    }
    return bytes.size() - leadBytesAtEnd % 2;
}

namespace {

std::uint16_t BytesOfUnit(const Cp932Tables& tables, wchar_t unit)
{
    const auto index = static_cast<std::uint32_t>(unit);
    return index < tables.bytesOfUnit.size() ? tables.bytesOfUnit[index] : Cp932Tables::kNone;
}

}  // namespace

std::size_t Cp932HeldLength(const Cp932Tables& tables, std::wstring_view units)
{
    std::size_t i = 0;
    while (i < units.size() && BytesOfUnit(tables, units[i]) != Cp932Tables::kNone) {
        ++i;
    }
    return i;
}

Transcoded EncodeCp932(const Cp932Tables& tables, std::wstring_view units, char* into)
{
    char* const start = into;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint16_t bytes = BytesOfUnit(tables, units[i]);
        if (bytes == Cp932Tables::kNone) {
            return {i, static_cast<std::size_t>(into - start), false};
        }
        if (bytes >= 0x100) {
            *into++ = static_cast<char>(bytes >> 8);
        }
        *into++ = static_cast<char>(bytes & 0xFF);
    }
    return {units.size(), static_cast<std::size_t>(into - start), true};
}

Transcoded DecodeCp932(const Cp932Tables& tables, std::string_view bytes, wchar_t* into)
{
    wchar_t* const start = into;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        std::uint16_t unit = tables.unitOfByte[byte];
        std::size_t length = 1;
        if (IsCp932LeadByte(byte)) {
            if (i + 1 == bytes.size()) {
                break;
            }
            unit = tables.unitOfPair[std::size_t(byte) << 8 | static_cast<unsigned char>(bytes[i + 1])];
            length = 2;
        }
        if (unit == Cp932Tables::kNone) {
            break;
        }
        *into++ = static_cast<wchar_t>(unit);
        i += length;
    }
    return {i, static_cast<std::size_t>(into - start), i == bytes.size()};
}

}  // namespace tuvex
