// Code page 932 text, decided from the bytes alone, and converted with
// tables of the code page's characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/transcoding.h"

namespace tuvex {

// Tells whether a byte can start a double-byte character.
bool IsCp932LeadByte(unsigned char byte);

// The length of the longest start of `bytes` that ends between two
// characters: all of it, or all but a last byte that starts a character
// whose second byte has not come yet. `bytes` must begin at the start of a
// character.
std::size_t WholeCharactersLength(std::string_view bytes);

// The code page's characters both ways, as one converter (the system's) has
// them; built once and then only read.
struct Cp932Tables {
    // Marks a unit that the code page lacks, and bytes that are no character.
    static constexpr std::uint16_t kNone = 0xFFFF;

    // The bytes of each UTF-16 unit: a single byte as its value, a lead byte
    // and its second byte as lead << 8 | second. (0xFFFF is no pair: 0xFF
    // starts none.)
    std::array<std::uint16_t, 0x10000> bytesOfUnit;
    // The unit of each byte that is a character by itself.
    std::array<std::uint16_t, 0x100> unitOfByte;
    // The unit of each pair, indexed lead << 8 | second.
    std::array<std::uint16_t, 0x10000> unitOfPair;
};

// How many units at the start of `units` the code page holds: all, or up
// to the first that it lacks.
std::size_t Cp932HeldLength(const Cp932Tables& tables, std::wstring_view units);

// Converts UTF-16 `units` into `into`, which has room for two bytes a unit.
Transcoded EncodeCp932(const Cp932Tables& tables, std::wstring_view units, char* into);

// Converts code page 932 `bytes` into `into`, which has room for a unit a
// byte. A lead byte at the end, without its second byte, does not convert.
Transcoded DecodeCp932(const Cp932Tables& tables, std::string_view bytes, wchar_t* into);

}  // namespace tuvex
