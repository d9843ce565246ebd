// The messages of a text or an output that does not convert, with a line
// that says where and what to do instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// The encodings that a child's output is read in.
enum class OutputText { CodePage932, Utf8 };

// Where a child's output stopped being text of the encoding expected.
struct OutputFailure {
    OutputText expected;
    std::uint64_t offset;  // of the first byte that does not fit, in the output as written
    unsigned char byte;
    // The whole output, up to its first zero byte, is text of the other
    // encoding.
    bool validInOther;
};

// "Text not convertible", then the first character of `text` that code page
// 932 lacks (the unit at `failedAt`) as itself and as U+XXXX, its line and
// column counted from 1, and the filters that carry it. In UTF-8 when it
// shows that character, which code page 932 cannot.
ByteString TextNotCp932Message(std::wstring_view text, std::size_t failedAt);

// "Output not convertible", then the encoding expected, the position
// (counted from 1) and value of the first byte that does not fit, and the
// filter that reads the output when it is text of the other encoding.
ByteString OutputNotConvertibleMessage(const OutputFailure& failure);

}  // namespace tuvex
