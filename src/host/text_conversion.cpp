#include "host/text_conversion.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <type_traits>

#include "common/code_page_932.h"
#include "common/messages.h"
#include "common/unicode_text.h"

namespace tuvex {

namespace {

constexpr UINT kCodePage932 = 932;
// Units converted per call: the conversion functions count in int.
constexpr std::size_t kUnitsPerConversion = std::size_t(1) << 20;
// Texts with at least this many units beyond their ASCII start are converted
// on two threads: the checked conversion is slow enough to make the second
// thread pay.
constexpr std::size_t kUnitsWorthASecondThread = std::size_t(4) << 20;
// Output bytes decoded per call. Room for the units they give is made before
// the call, so this is also how far that room may reach beyond the text.
constexpr std::size_t kBytesPerDecoding = std::size_t(1) << 20;
// Units converted to UTF-8 at a time, as the child takes them: a unit gives
// at most three bytes (a surrogate pair four for its two units).
constexpr std::size_t kUnitsPerUtf8Piece = std::size_t(256) << 10;
constexpr std::size_t kMostUtf8BytesPerUnit = 3;

// How many characters at the start of `text` are ASCII. Code page 932 holds
// them as single bytes of the same values, so they cross without the
// conversion functions, which are slow with the checks asked of them here.
template <typename Char>
std::size_t AsciiPrefixLength(std::basic_string_view<Char> text)
{
    const auto beyond = std::find_if(text.begin(), text.end(), [](Char c) {
        return static_cast<std::make_unsigned_t<Char>>(c) >= 0x80;
    });
    return static_cast<std::size_t>(beyond - text.begin());
}

// Converts `text` into `into`, which has room for two bytes per unit, in
// pieces, since the conversion functions count in int. Returns the bytes
// written; none when the code page lacks a character of the text.
std::optional<std::size_t> ConvertToCodePage932(std::wstring_view text, char* into)
{
    std::size_t written = 0;
    while (!text.empty()) {
        const std::size_t units = std::min(text.size(), kUnitsPerConversion);
        BOOL usedDefault = FALSE;
        const int count = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(units),
                                              into + written, static_cast<int>(units * 2), nullptr, &usedDefault);
        if (count == 0 || usedDefault) {
            return std::nullopt;
        }
        written += static_cast<std::size_t>(count);
        text.remove_prefix(units);
    }
    return written;
}

// The second half of a text, converted beside the first.
struct HalfConversion {
    std::wstring_view text;
    char* into;
    std::optional<std::size_t> written;
};

DWORD WINAPI ConvertHalf(void* conversion)
{
    auto& half = *static_cast<HalfConversion*>(conversion);
    half.written = ConvertToCodePage932(half.text, half.into);
    return 0;
}

// Runs `routine` on a thread of its own, or at once when no thread can be
// had, and waits for its end before it goes: the routine works on its
// owner's data.
class ThreadBeside {
public:
    ThreadBeside(LPTHREAD_START_ROUTINE routine, void* parameter)
        : thread_(CreateThread(nullptr, 0, routine, parameter, 0, nullptr))
    {
        if (!thread_) {
            routine(parameter);
        }
    }
    ~ThreadBeside()
    {
        if (thread_) {
            WaitForSingleObject(thread_.get(), INFINITE);
        }
    }
    ThreadBeside(const ThreadBeside&) = delete;
    ThreadBeside& operator=(const ThreadBeside&) = delete;

private:
    UniqueHandle thread_;
};

}  // namespace

GrowingGlobalBlock ToCodePage932(std::wstring_view text)
{
    const std::size_t ascii = AsciiPrefixLength(text);
    const std::wstring_view rest = text.substr(ascii);
    GrowingGlobalBlock bytes;
    bytes.resize(ascii + rest.size() * 2);  // a unit gives at most two bytes
    std::transform(text.begin(), text.begin() + ascii, bytes.data(), [](wchar_t c) { return static_cast<char>(c); });

    // A long rest is converted in two halves at once, the second half on a
    // thread of its own, into room of its own; it is moved next to the first
    // afterwards. A surrogate pair cut in two there is refused like a whole
    // one: the code page holds no character beyond U+FFFF.
    const std::size_t firstUnits = rest.size() >= kUnitsWorthASecondThread ? rest.size() / 2 : rest.size();
    char* const firstInto = bytes.data() + ascii;
    HalfConversion second{rest.substr(firstUnits), firstInto + firstUnits * 2, 0};
    std::optional<std::size_t> firstWritten;
    {
        std::optional<ThreadBeside> worker;
        if (!second.text.empty()) {
            worker.emplace(&ConvertHalf, &second);
        }
        firstWritten = ConvertToCodePage932(rest.substr(0, firstUnits), firstInto);
    }
    if (!firstWritten || !second.written) {
        throw ErrorMessage(messages::kTextNotConvertible);
    }
    if (firstInto + *firstWritten != second.into) {
        std::memmove(firstInto + *firstWritten, second.into, *second.written);
    }
    bytes.resize(ascii + *firstWritten + *second.written);
    return bytes;
}

const OutputEncoding kCodePage932Output{kCodePage932, &WholeCharactersLength, {}};
const OutputEncoding kUtf8Output{CP_UTF8, &Utf8WholeCharactersLength, "\xEF\xBB\xBF"};

Utf16Decoder::Utf16Decoder(const OutputEncoding& encoding, std::size_t expectedUnits) : encoding_(encoding)
{
    // With room for one decoding beyond the text and its zero unit, output
    // of the expected length never moves the block.
    units_.reserve((expectedUnits + 1 + kBytesPerDecoding) * sizeof(wchar_t));
}

char* Utf16Decoder::Extend(std::size_t count)
{
    kept_ = pending_.size();
    pending_.resize(kept_ + count);
    return pending_.data() + kept_;
}

void Utf16Decoder::Commit(std::size_t count)
{
    pending_.resize(kept_ + count);
    received_ += count;
    if (ended_ || invalid_) {
        pending_.clear();
        return;
    }
    if (!SettleLeadingMark()) {
        return;
    }
    std::string_view bytes(pending_.data(), pending_.size());
    const std::size_t zero = bytes.find('\0');
    ended_ = zero != std::string_view::npos;
    if (ended_) {
        Decode(bytes.substr(0, zero));
        pending_.clear();
        return;
    }
    const std::size_t whole = encoding_.wholeCharactersLength(bytes);
    Decode(bytes.substr(0, whole));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(whole));
}

UniqueGlobal Utf16Decoder::Finish()
{
    if (received_ == 0) {
        return UniqueGlobal();
    }
    if (!ended_ && !invalid_) {
        Decode(std::string_view(pending_.data(), pending_.size()));  // a character cut off by the end
    }
    if (invalid_) {
        throw ErrorMessage(messages::kOutputNotConvertible);
    }
    const std::size_t size = units_.size();
    units_.resize(size + sizeof(wchar_t));
    std::memset(units_.data() + size, 0, sizeof(wchar_t));
    return units_.Release();
}

bool Utf16Decoder::SettleLeadingMark()
{
    if (markSettled_) {
        return true;
    }
    const std::string_view mark = encoding_.leadingMark;
    const std::string_view start(pending_.data(), std::min(pending_.size(), mark.size()));
    if (start.size() < mark.size() && mark.starts_with(start)) {
        return false;  // a mark may still be coming
    }
    markSettled_ = true;
    if (start == mark) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(mark.size()));
    }
    return true;
}

void Utf16Decoder::Decode(std::string_view bytes)
{
    while (!bytes.empty() && !invalid_) {
        const std::string_view piece =
            bytes.size() <= kBytesPerDecoding
                ? bytes
                : bytes.substr(0, encoding_.wholeCharactersLength(bytes.substr(0, kBytesPerDecoding)));
        const std::size_t decoded = units_.size() / sizeof(wchar_t);
        units_.resize((decoded + piece.size()) * sizeof(wchar_t));  // a byte gives at most one unit
        wchar_t* const into = reinterpret_cast<wchar_t*>(units_.data()) + decoded;
        const std::size_t ascii = AsciiPrefixLength(piece);
        std::transform(piece.begin(), piece.begin() + ascii, into, [](char c) { return static_cast<wchar_t>(c); });
        std::size_t count = ascii;
        const std::string_view rest = piece.substr(ascii);
        if (!rest.empty()) {
            const int converted = MultiByteToWideChar(encoding_.codePage, MB_ERR_INVALID_CHARS, rest.data(),
                                                      static_cast<int>(rest.size()), into + ascii,
                                                      static_cast<int>(rest.size()));
            invalid_ = converted == 0;
            count += static_cast<std::size_t>(converted);
        }
        units_.resize((decoded + count) * sizeof(wchar_t));
        bytes.remove_prefix(piece.size());
    }
}

Utf8FromUtf16::Utf8FromUtf16(std::wstring_view text) : unconverted_(text)
{
    if (HoldsLoneSurrogate(text)) {
        throw ErrorMessage(messages::kTextNotUtf8Convertible);
    }
}

std::span<const char> Utf8FromUtf16::Pending()
{
    // The next piece is converted only once the last one is all written:
    // until then a write may still be reading it. Pieces end between
    // characters, so that a surrogate pair is converted whole.
    if (rest_.empty() && !unconverted_.empty()) {
        const std::size_t units = Utf16WholeCharactersLength(unconverted_.substr(0, kUnitsPerUtf8Piece));
        piece_.resize(units * kMostUtf8BytesPerUnit);
        const int count = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, unconverted_.data(),
                                              static_cast<int>(units), piece_.data(),
                                              static_cast<int>(piece_.size()), nullptr, nullptr);
        if (count == 0) {
            throw ErrorMessage(messages::kTextNotUtf8Convertible);
        }
        rest_ = std::span<const char>(piece_.data(), static_cast<std::size_t>(count));
        unconverted_.remove_prefix(units);
    }
    return rest_;
}

void Utf8FromUtf16::Consume(std::size_t count)
{
    rest_ = rest_.subspan(count);
}

}  // namespace tuvex
