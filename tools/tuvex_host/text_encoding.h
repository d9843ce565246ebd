// The encodings in which tuvex_host reads a text file, and how it tells them
// apart when it is not told.
#pragma once

#include <optional>
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

}  // namespace tuvex::host
