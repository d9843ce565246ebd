// The conversions between the host's UTF-16 text and the code page 932 or
// UTF-8 bytes that the commands of the narrow and the UTF-8 filter read and
// write.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/global_block_win32.h"
#include "common/transcoding.h"
#include "common/tuvex_types.h"
#include "common/win32_resource.h"
#include "exec/child_process.h"
#include "host/conversion_failure_words.h"

namespace tuvex {

// What converting text to or from one encoding needs to know of it.
struct TextEncoding {
    OutputText name;
    // How many units at the start of a text convert, all or up to the first
    // that does not.
    std::size_t (*convertibleLength)(std::wstring_view units);
    // The message for a text that does not convert, the unit at `failedAt`
    // being the first that does not.
    ByteString (*textFailure)(std::wstring_view text, std::size_t failedAt);
    // The encoding's bytes of UTF-16 units; `into` has room for
    // `mostBytesPerUnit` a unit.
    Transcoded (*encode)(std::wstring_view units, char* into);
    std::size_t mostBytesPerUnit;
    // The UTF-16 units of the encoding's bytes; `into` has room for a unit a
    // byte.
    Transcoded (*decode)(std::string_view bytes, wchar_t* into);
    // Where the last whole character of some bytes ends (see
    // WholeCharactersLength).
    std::size_t (*wholeCharactersLength)(std::string_view bytes);
    // A byte-order mark that some programs put at the very start of their
    // output: dropped there, kept anywhere else. Empty when there is none.
    std::string_view leadingMark;
};

// Code page 932 as the system converts it: a character that the code page
// lacks is never replaced by a look-alike ("é" by "e", "¥" by a backslash),
// since the child must get the text as written or not at all.
extern const TextEncoding kCodePage932Text;
extern const TextEncoding kUtf8Text;

// The host's text in an encoding, converted piece by piece as the child
// takes it, so that it is never held whole beside the host's text. The
// constructor looks at the whole text first and raises the encoding's
// message at once, before anything runs, when a character does not convert.
class EncodedText final : public ByteSource {
public:
    EncodedText(const TextEncoding& encoding, std::wstring_view text);

    std::span<const char> Pending() override;
    void Consume(std::size_t count) override;
    void KeepRest() override;

private:
    const TextEncoding& encoding_;
    std::wstring_view unconverted_;
    std::wstring kept_;  // the text not yet converted, once KeepRest has copied it
    ByteBuffer piece_;
    std::span<const char> rest_;  // of the piece, not yet written
};

// Decodes a child's output into the UTF-16 block handed to the host while
// the output arrives, so the output is never held twice and the decoding
// overlaps the child's work. A character whose bytes come in two reads is
// decoded whole. The text ends at the first zero byte of the output; what
// follows is read and dropped.
class Utf16Decoder final : public ByteSink {
public:
    // `expectedUnits`: how long the text is likely to be, in UTF-16 units;
    // room for that is made at once.
    Utf16Decoder(const TextEncoding& encoding, std::size_t expectedUnits);

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
    // was received. Raises "output not convertible", with where and what
    // does not fit, when the output is not text of the encoding, ending in a
    // whole character.
    UniqueGlobal Finish();

private:
    // Follows whether the output is text of the other encoding, once it
    // proved to be none of the one expected: the message then names the
    // filter that reads it.
    class OtherEncodingCheck {
    public:
        explicit OtherEncodingCheck(const TextEncoding& encoding) : encoding_(encoding) {}
        void Feed(std::string_view bytes);
        // Bytes that are no text of the encoding.
        void Refuse();
        // The bytes fed, all of them, are text of the encoding.
        bool Valid();

    private:
        const TextEncoding& encoding_;
        ByteBuffer chunk_;  // a character cut off at the last feed, then the bytes of this one
        std::vector<wchar_t> units_;
        bool valid_ = true;
    };

    // Drops the leading mark once the pending bytes tell whether they start
    // with it; false while too few bytes have come to tell.
    bool SettleLeadingMark();
    // Appends the UTF-16 of `bytes`, the next of the output, which end
    // between two characters (or at the end of the output); at the first
    // byte that is not text of the encoding, begins to check the rest for
    // the other encoding.
    void Decode(std::string_view bytes);
    void Fail(std::string_view rest);

    const TextEncoding& encoding_;
    GrowingGlobalBlock units_;
    ByteBuffer pending_;
    std::size_t kept_ = 0;        // pending bytes before the room of the last Extend
    std::size_t received_ = 0;    // all bytes read, including those dropped
    std::uint64_t decodedBytes_ = 0;  // of the output, before the pending ones (the mark included)
    bool markSettled_ = false;    // the start of the output was looked at for the mark
    bool markDropped_ = false;
    bool ended_ = false;          // a zero byte ended the text
    std::optional<OutputFailure> failure_;
    std::optional<OtherEncodingCheck> other_;
};

}  // namespace tuvex
