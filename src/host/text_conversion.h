// The conversions between the host's UTF-16 text and the code page 932 or
// UTF-8 bytes that the commands of the narrow and the UTF-8 filter read and
// write.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
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

// What decoding a child's output needs to know of its encoding.
struct OutputEncoding {
    UINT codePage;
    // Where the last whole character of some bytes ends (see
    // WholeCharactersLength).
    std::size_t (*wholeCharactersLength)(std::string_view bytes);
    // A byte-order mark that some programs put at the very start of their
    // output: dropped there, kept anywhere else. Empty when there is none.
    std::string_view leadingMark;
};

extern const OutputEncoding kCodePage932Output;
extern const OutputEncoding kUtf8Output;

// Decodes a child's output into the UTF-16 block handed to the host while
// the output arrives, so the output is never held twice and the decoding
// overlaps the child's work. A character whose bytes come in two reads is
// decoded whole. The text ends at the first zero byte of the output; what
// follows is read and dropped.
class Utf16Decoder final : public ByteSink {
public:
    // `expectedUnits`: how long the text is likely to be, in UTF-16 units;
    // room for that is made at once.
    Utf16Decoder(const OutputEncoding& encoding, std::size_t expectedUnits);

    std::size_t size() const override { return received_; }
    std::size_t room() const override { return pending_.capacity() - pending_.size(); }
    char* Extend(std::size_t count) override;
    void Commit(std::size_t count) override;
    void Abandon() noexcept override
    {
        LeakMemoryOf(pending_);
        kept_ = 0;
    }

    // The text as a block of UTF-16 ending in a zero unit; null when nothing
    // was received. Raises "output not convertible" when the output is not
    // text of the encoding, ending in a whole character.
    UniqueGlobal Finish();

private:
    // Drops the leading mark once the pending bytes tell whether they start
    // with it; false while too few bytes have come to tell.
    bool SettleLeadingMark();
    // Appends the UTF-16 of `bytes`, which end between two characters;
    // marks the output invalid when they are not text of the encoding.
    void Decode(std::string_view bytes);

    const OutputEncoding& encoding_;
    GrowingGlobalBlock units_;
    ByteBuffer pending_;
    std::size_t kept_ = 0;      // pending bytes before the room of the last Extend
    std::size_t received_ = 0;  // all bytes read, including those dropped
    bool markSettled_ = false;  // the start of the output was looked at for the mark
    bool ended_ = false;        // a zero byte ended the text
    bool invalid_ = false;      // bytes that are not text of the encoding came
};

// The host's text as UTF-8, without a byte-order mark, converted piece by
// piece as the child takes it, so that it is never held whole beside the
// host's text. Raises "text not convertible to UTF-8" at once, before
// anything runs, when the text holds a lone surrogate.
class Utf8FromUtf16 final : public ByteSource {
public:
    explicit Utf8FromUtf16(std::wstring_view text);

    std::span<const char> Pending() override;
    void Consume(std::size_t count) override;

private:
    std::wstring_view unconverted_;
    ByteBuffer piece_;
    std::span<const char> rest_;  // of the piece, not yet written
};

}  // namespace tuvex
