#include "exec/error_capture.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

#include "common/code_page_932.h"
#include "common/messages.h"
#include "common/unicode_text.h"

namespace tuvex {

ErrorCapture::ErrorCapture(ErrorCaptureLimits limits)
    : limits_{limits.firstBytes & ~std::size_t(1), limits.lastBytes & ~std::size_t(1)}
{
}

std::size_t ErrorCapture::size() const
{
    return static_cast<std::size_t>(std::min<std::uint64_t>(received_, SIZE_MAX));
}

std::size_t ErrorCapture::room() const
{
    const ByteBuffer& target = first_.size() < limits_.firstBytes ? first_ : recent_;
    return target.capacity() - target.size();
}

char* ErrorCapture::Extend(std::size_t count)
{
    if (first_.size() < limits_.firstBytes) {
        extended_ = &first_;
    } else {
        MakeRoomForRecent(count);
        extended_ = &recent_;
    }
    sizeBeforeExtend_ = extended_->size();
    extended_->resize(sizeBeforeExtend_ + count);
    return extended_->data() + sizeBeforeExtend_;
}

void ErrorCapture::Commit(std::size_t count)
{
    extended_->resize(sizeBeforeExtend_ + count);
    received_ += count;
    if (first_.size() > limits_.firstBytes) {
        // A read that began in the first part goes on after it.
        const auto firstEnd = first_.begin() + static_cast<std::ptrdiff_t>(limits_.firstBytes);
        recent_.insert(recent_.end(), firstEnd, first_.end());
        first_.erase(firstEnd, first_.end());
    }
}

// Bytes that can no longer be shown go only once the buffer is full, and
// then all at once: the room made lasts for at least the last part's worth
// of reads, so each byte is moved at most about once.
void ErrorCapture::MakeRoomForRecent(std::size_t count)
{
    if (recent_.size() + count <= recent_.capacity()) {
        return;
    }
    if (recent_.size() > limits_.lastBytes) {
        recent_.erase(recent_.begin(), recent_.end() - static_cast<std::ptrdiff_t>(limits_.lastBytes));
    }
    recent_.reserve(2 * limits_.lastBytes + count);
}

std::string_view ErrorCapture::first() const
{
    return std::string_view(first_.data(), first_.size());
}

std::string_view ErrorCapture::last() const
{
    const std::string_view recent(recent_.data(), recent_.size());
    const std::uint64_t kept = std::uint64_t(limits_.firstBytes) + limits_.lastBytes;
    if (received_ <= kept) {
        return recent;
    }
    // One byte fewer when the count between would be odd: the last part then
    // starts at an even offset of the output, on a whole UTF-16 unit.
    const std::size_t lastSize = limits_.lastBytes - static_cast<std::size_t>((received_ - kept) % 2);
    return recent.substr(recent.size() - lastSize);
}

std::uint64_t ErrorCapture::omittedBytes() const
{
    return received_ - first_.size() - last().size();
}

namespace {

// A cut looks this far for a line end; a longer line is cut between two
// characters instead, so that one early line end cannot empty a part.
constexpr std::size_t kLineEndSearch = 16 * 1024;

struct CutPoints {
    std::size_t firstLength;  // bytes of the first part shown
    std::size_t lastStart;    // the first byte of the last part shown
};

// Multibyte and UTF-8 text end at their first zero byte: nothing after it
// would show.
CutPoints ByteTextCutPoints(std::string_view first, std::string_view last, TextKind kind)
{
    first = first.substr(0, first.find('\0'));
    CutPoints cut{};
    const std::size_t firstLineEnd = first.rfind('\n');
    cut.firstLength = firstLineEnd != std::string_view::npos && first.size() - firstLineEnd <= kLineEndSearch
                          ? firstLineEnd + 1
                          : (kind == TextKind::Utf8 ? Utf8WholeCharactersLength(first) : WholeCharactersLength(first));
    const std::size_t lastLineEnd = last.substr(0, kLineEndSearch).find('\n');
    if (lastLineEnd != std::string_view::npos) {
        cut.lastStart = lastLineEnd + 1;
    } else if (kind == TextKind::Utf8) {
        // A UTF-8 character starts at any byte but a continuation byte.
        const auto start = std::find_if(last.begin(), last.end(),
                                        [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; });
        cut.lastStart = static_cast<std::size_t>(start - last.begin());
    } else {
        // A byte that cannot start a double-byte character ends a character.
        const auto ending = std::find_if(last.begin(), last.end(),
                                         [](char byte) { return !IsCp932LeadByte(static_cast<unsigned char>(byte)); });
        cut.lastStart = ending == last.end() ? last.size() : static_cast<std::size_t>(ending - last.begin()) + 1;
    }
    return cut;
}

unsigned UnitAt(std::string_view bytes, std::size_t unit)
{
    return static_cast<unsigned char>(bytes[2 * unit]) + 256u * static_cast<unsigned char>(bytes[2 * unit + 1]);
}

bool IsHighSurrogate(unsigned unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 text ends at its first zero unit; a surrogate pair is one character.
CutPoints Utf16CutPoints(std::string_view first, std::string_view last)
{
    std::size_t firstUnits = 0;
    while (firstUnits < first.size() / 2 && UnitAt(first, firstUnits) != 0) {
        ++firstUnits;
    }
    CutPoints cut{};
    const std::size_t searchFrom = firstUnits - std::min(firstUnits, kLineEndSearch / 2);
    std::size_t unit = firstUnits;
    while (unit > searchFrom && UnitAt(first, unit - 1) != '\n') {
        --unit;
    }
    if (unit > searchFrom) {
        cut.firstLength = 2 * unit;
    } else {
        cut.firstLength = 2 * (firstUnits - (firstUnits > 0 && IsHighSurrogate(UnitAt(first, firstUnits - 1))));
    }
    const std::size_t lastUnits = last.size() / 2;
    const std::size_t searchTo = std::min(lastUnits, kLineEndSearch / 2);
    unit = 0;
    while (unit < searchTo && UnitAt(last, unit) != '\n') {
        ++unit;
    }
    if (unit < searchTo) {
        cut.lastStart = 2 * (unit + 1);
    } else {
        cut.lastStart = lastUnits > 0 && IsLowSurrogate(UnitAt(last, 0)) ? 2 : 0;
    }
    return cut;
}

CutPoints CutPointsOf(std::string_view first, std::string_view last, TextKind kind)
{
    switch (kind) {
    case TextKind::Utf16:
        return Utf16CutPoints(first, last);
    case TextKind::Multibyte:
    case TextKind::Utf8:
        break;
    }
    return ByteTextCutPoints(first, last, kind);
}

// ASCII in the kind's encoding: UTF-16 units have a zero high byte.
void AppendAscii(ByteString& text, std::string_view ascii, TextKind kind)
{
    for (char character : ascii) {
        text += character;
        if (kind == TextKind::Utf16) {
            text += '\0';
        }
    }
}

void AppendUtf16(ByteString& text, std::u16string_view units)
{
    for (char16_t unit : units) {
        text += static_cast<char>(unit & 0xFF);
        text += static_cast<char>(unit >> 8);
    }
}

bool EndsWithLineEnd(std::string_view text, TextKind kind)
{
    const std::string_view lineEnd = kind == TextKind::Utf16 ? std::string_view("\n\0", 2) : "\n";
    return text.size() >= lineEnd.size() && text.substr(text.size() - lineEnd.size()) == lineEnd;
}

// "…(途中の N バイトを省略しました)…" on a line of its own. The line ends in
// CR LF, which decides that multibyte text is multibyte; the UTF-16 line
// begins with a zero byte within its first unit or two (after CR or "…("),
// which decides UTF-16 for text with no sign before it.
void AppendOmissionLine(ByteString& text, std::uint64_t omittedBytes, TextKind kind)
{
    if (!EndsWithLineEnd(text, kind)) {
        AppendAscii(text, "\r\n", kind);
    }
    const std::string count = std::to_string(omittedBytes);
    if (kind == TextKind::Utf16) {
        AppendUtf16(text, messages::kOmittedBytesBeforeUtf16);
        AppendAscii(text, count, kind);
        AppendUtf16(text, messages::kOmittedBytesAfterUtf16);
    } else if (kind == TextKind::Utf8) {
        text += messages::kOmittedBytesBeforeUtf8;
        text += count;
        text += messages::kOmittedBytesAfterUtf8;
    } else {
        text += messages::kOmittedBytesBefore;
        text += count;
        text += messages::kOmittedBytesAfter;
    }
    AppendAscii(text, "\r\n", kind);
}

}  // namespace

ByteString ShortenedErrorText(std::string_view first, std::string_view last, std::uint64_t omittedBytes,
                              TextKind kind)
{
    const CutPoints cut = CutPointsOf(first, last, kind);
    ByteString text(first.substr(0, cut.firstLength));
    AppendOmissionLine(text, omittedBytes + (first.size() - cut.firstLength) + cut.lastStart, kind);
    text.append(last.substr(cut.lastStart));
    return text;
}

ByteString ErrorTextToShow(const ErrorCapture& errors, TextKind filterKind)
{
    ByteString kept(errors.first());
    kept.append(errors.last());
    if (errors.omittedBytes() == 0) {
        return kept;
    }
    // Where the cuts fall and the omission line depend on the kind, and the
    // dialog judges the text that results: each kind is tried on the text
    // written in it, the filter's own first.
    std::optional<ByteString> best;
    std::uint64_t bestCost = 0;
    const TextKind kinds[] = {filterKind, TextKind::Multibyte, TextKind::Utf8, TextKind::Utf16};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        const TextKind kind = kinds[i];
        if (i > 0 && kind == filterKind) {
            continue;
        }
        ByteString text = ShortenedErrorText(errors.first(), errors.last(), errors.omittedBytes(), kind);
        if (JudgeTextKind(text, filterKind) != kind) {
            continue;
        }
        const std::uint64_t cost = ReadingCost(text, kind).value_or(UINT64_MAX);
        if (!best || cost < bestCost) {
            best = std::move(text);
            bestCost = cost;
        }
    }
    // Bytes that read as no kind written in it are shown as they read whole.
    return best ? std::move(*best)
                : ShortenedErrorText(errors.first(), errors.last(), errors.omittedBytes(),
                                     JudgeTextKind(kept, filterKind));
}

}  // namespace tuvex
