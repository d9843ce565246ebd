// A child's standard error kept within bounds however much it writes, and the
// text that stands for it when its middle had to be left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/tuvex_types.h"
#include "exec/child_process.h"

namespace tuvex {

// How much of a child's error output is kept: its first bytes and its last.
// Output of up to both together is kept whole. The defaults keep what a
// message window can show at once (see bench/error_output_bench.cpp).
struct ErrorCaptureLimits {
    std::size_t firstBytes = std::size_t(1) << 20;
    std::size_t lastBytes = std::size_t(256) << 10;
};

// A sink that keeps the first part of what it receives and a rolling last
// part, and counts what lies between: its memory stays within the limits and
// the room of one read, whatever the child writes.
class ErrorCapture final : public ByteSink {
public:
    // The limits are taken down to even counts, so that the last part starts
    // on a whole UTF-16 unit of the output.
    explicit ErrorCapture(ErrorCaptureLimits limits = {});

    // All bytes received (capped at the largest size_t).
    std::size_t size() const override;
    std::size_t room() const override;
    char* Extend(std::size_t count) override;
    void Commit(std::size_t count) override;
    void Abandon() noexcept override
    {
        LeakMemoryOf(*extended_);
        first_.clear();
        recent_.clear();
        received_ = 0;
    }

    bool empty() const { return received_ == 0; }
    // The kept bytes are first() followed by last(); omittedBytes() lay
    // between them, an even count, 0 while the output fits the limits.
    std::string_view first() const;
    std::string_view last() const;
    std::uint64_t omittedBytes() const;

private:
    void MakeRoomForRecent(std::size_t count);

    ErrorCaptureLimits limits_;
    ByteBuffer first_;
    // The bytes after the first part, of which only the last lastBytes may
    // still be shown; dropped from the front in batches.
    ByteBuffer recent_;
    std::uint64_t received_ = 0;
    ByteBuffer* extended_ = nullptr;  // where Extend gave room
    std::size_t sizeBeforeExtend_ = 0;
};

// The text that stands for error output of which `first` (its start) and
// `last` (its end, starting on a whole UTF-16 unit) were kept and
// `omittedBytes` between them left out: the first part cut after its last
// line end, one line that says how many bytes were left out in all, and the
// last part from its first line end on; where a part holds no line end
// nearby, the cut is between two characters of the `kind`, in which the
// line is written too.
ByteString ShortenedErrorText(std::string_view first, std::string_view last, std::uint64_t omittedBytes,
                              TextKind kind);

// What is shown of `errors`: the kept bytes unchanged when nothing was left
// out, else the shortened text written in the kind that the message dialog
// finds in it (JudgeTextKind, ties going to `filterKind`); of the kinds that
// it would find in the text written in them, the one whose reading costs
// least.
ByteString ErrorTextToShow(const ErrorCapture& errors, TextKind filterKind);

}  // namespace tuvex
