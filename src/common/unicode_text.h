// Where characters begin and end in UTF-8 and UTF-16 text, and whether the
// text is well formed, decided from the bytes and units alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/tuvex_types.h"

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

// What reading `text` as `kind` costs: each character is charged by how
// rarely error output in a Japanese setting holds it (ASCII, kana, common
// kanji, symbols nothing; half-width katakana a little; second-level kanji,
// Greek and Latin letters beyond Latin-1 more; other scripts, control characters,
// zero bytes and bytes that form no character of the kind the most). Empty
// when `text` cannot be UTF-16: it reads as UTF-16 only with an ASCII unit
// in it, or when every character it holds is a Japanese one.
std::optional<std::uint64_t> ReadingCost(std::string_view text, TextKind kind);

// The kind whose reading of `text` (the bytes without any terminator) costs
// least. Bytes of ASCII alone are code page 932 text; a tie goes to
// `filterKind`, the kind the filter itself passes, then to code page 932,
// UTF-8 and UTF-16 in this order.
TextKind JudgeTextKind(std::string_view text, TextKind filterKind);

}  // namespace tuvex
