// Conversions between UTF-16 and UTF-8 that refuse what is not text, as the
// system's checked conversions do, and where they stop.
#pragma once

#include <cstddef>
#include <string_view>

namespace tuvex {

// How far a conversion came: all of its input, or up to the first unit or
// byte that does not convert, which `read` then indexes.
struct Transcoded {
    std::size_t read;
    std::size_t written;
    bool complete;
};

// How many units at the start of `units` UTF-8 can express: all, or up to
// the first surrogate that is not part of a pair.
std::size_t Utf8EncodableLength(std::wstring_view units);

// Converts UTF-16 `units` into `into`, which has room for three bytes a
// unit. A surrogate that is not part of a pair does not convert.
Transcoded EncodeUtf8(std::wstring_view units, char* into);

// Converts UTF-8 `bytes` into `into`, which has room for a unit a byte.
// Stops at the first byte of a sequence that is not well formed (overlong,
// an encoded surrogate, beyond U+10FFFF, a stray or missing continuation
// byte, cut off by the end).
Transcoded DecodeUtf8(std::string_view bytes, wchar_t* into);

}  // namespace tuvex
