// Where characters begin and end in UTF-8 and UTF-16 text, and whether the
// text is well formed, decided from the bytes and units alone.
#pragma once

#include <cstddef>
#include <string_view>

namespace tuvex {

// The length of the longest start of `bytes` that ends between two UTF-8
// characters: all of it, or all but a last character whose remaining bytes
// have not come yet. `bytes` must begin at the start of a character. Bytes
// that are no UTF-8 are left to the decoding to refuse.
std::size_t Utf8WholeCharactersLength(std::string_view bytes);

// True when `bytes` are well-formed UTF-8: no overlong form, no encoded
// surrogate, nothing beyond U+10FFFF, no sequence cut off.
bool IsValidUtf8(std::string_view bytes);

// The length of the longest start of `units` (UTF-16) that does not end
// inside a surrogate pair: all of it, or all but a last high surrogate.
std::size_t Utf16WholeCharactersLength(std::wstring_view units);

// True when `units` hold a surrogate that is not part of a pair: no UTF
// other than UTF-16 can express it.
bool HoldsLoneSurrogate(std::wstring_view units);

}  // namespace tuvex
