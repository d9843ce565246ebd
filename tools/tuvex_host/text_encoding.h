// The encodings in which tuvex_host reads a text file, and how it tells them
// apart when it is not told.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tuvex::host {

enum class TextEncoding { Cp932, Utf8, Utf16 };

// "cp932", "utf-8" or "utf-16" (any case); nothing for another name.
std::optional<TextEncoding> EncodingNamed(std::string_view name);

// Whether `bytes` are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

bool HasNonAsciiByte(std::string_view bytes);

struct EncodedText {
    TextEncoding encoding;
    std::string_view body;  // the bytes after a byte-order mark
};

// The encoding given, or else: a byte-order mark (UTF-16LE or UTF-8), else
// UTF-8 when the bytes are valid UTF-8, else code page 932. A byte-order mark
// of the encoding in force is left out of the body.
EncodedText DetectTextEncoding(std::string_view bytes, std::optional<TextEncoding> given);

// The first byte of `bytes` that does not fit `encoding`: in UTF-8 the first
// byte of a sequence that is not well-formed; in code page 932 a byte that
// is no character (0x80, 0xA0, 0xFD to 0xFF) or a first byte without its
// second; in UTF-16 a last byte without its pair. `offset` counts from 0.
struct InvalidByte {
    std::size_t offset;
    unsigned char value;
};
std::optional<InvalidByte> FirstInvalidByte(std::string_view bytes, TextEncoding encoding);

// Why `bytes`, read in the encoding given or detected, are no text in it,
// naming the first byte that does not fit (counted from 1, the byte-order
// mark included) and its value; empty when they are text.
std::string InputEncodingProblem(std::string_view bytes, std::optional<TextEncoding> given);

}  // namespace tuvex::host
