// The narrow filter's conversions between the host's UTF-16 text and the
// code page 932 bytes that its commands read and write.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "common/global_block_win32.h"
#include "common/tuvex_types.h"
#include "common/win32_resource.h"
#include "exec/child_process.h"

namespace tuvex {

// The text in code page 932. A character that the code page lacks is never
// replaced by a look-alike ("é" by "e", "¥" by a backslash): raises
// "text not convertible" instead, since the child must get the text as
// written or not at all. Any length is converted.
GrowingGlobalBlock ToCodePage932(std::wstring_view text);

// Decodes a child's code page 932 output into the UTF-16 block handed to the
// host while the output arrives, so the output is never held twice and the
// decoding overlaps the child's work. The text ends at the first zero byte of
// the output; what follows is read and dropped.
class Utf16FromCodePage932 final : public ByteSink {
public:
    // `expectedUnits`: how long the text is likely to be, in UTF-16 units;
    // room for that is made at once.
    explicit Utf16FromCodePage932(std::size_t expectedUnits);

    std::size_t size() const override { return received_; }
    std::size_t room() const override { return pending_.capacity() - pending_.size(); }
    char* Extend(std::size_t count) override;
    void Commit(std::size_t count) override;

    // The text as a block of UTF-16 ending in a zero unit; null when nothing
    // was received. Raises "output not convertible" when the output is not
    // code page 932 text, ending in a whole character.
    UniqueGlobal Finish();

private:
    // Appends the UTF-16 of `bytes`, which end between two characters;
    // marks the output invalid when they are not code page 932 text.
    void Decode(std::string_view bytes);

    GrowingGlobalBlock units_;
    ByteBuffer pending_;
    std::size_t kept_ = 0;      // pending bytes before the room of the last Extend
    std::size_t received_ = 0;  // all bytes read, including those dropped
    bool ended_ = false;        // a zero byte ended the text
    bool invalid_ = false;      // bytes that are not code page 932 text came
};

}  // namespace tuvex
