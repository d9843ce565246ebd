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

}  // namespace tuvex
