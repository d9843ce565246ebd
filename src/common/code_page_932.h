// Where characters begin and end in code page 932 text, decided from the
// bytes alone.
#pragma once

#include <cstddef>
#include <string_view>

namespace tuvex {

// Tells whether a byte can start a double-byte character.
bool IsCp932LeadByte(unsigned char byte);

// The length of the longest start of `bytes` that ends between two
// characters: all of it, or all but a last byte that starts a character
// whose second byte has not come yet. `bytes` must begin at the start of a
// character.
std::size_t WholeCharactersLength(std::string_view bytes);

}  // namespace tuvex
