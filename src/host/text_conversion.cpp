#include "host/text_conversion.h"

#include <algorithm>
#include <cstring>

#include "common/code_page_932_win32.h"
#include "common/messages.h"
#include "common/unicode_text.h"

namespace tuvex {

namespace {

// Output bytes decoded per call. Room for the units they give is made before
// the call, so this is also how far that room may reach beyond the text.
constexpr std::size_t kBytesPerDecoding = std::size_t(1) << 20;
// Units converted at a time, as the child takes them.
constexpr std::size_t kUnitsPerPiece = std::size_t(256) << 10;
// Bytes checked at a time for the other encoding, once the output proved
// not to be text of the one expected.
constexpr std::size_t kBytesPerCheck = std::size_t(64) << 10;

ByteString Utf8TextFailure(std::wstring_view, std::size_t)
{
    return messages::kTextNotUtf8Convertible;
}

const TextEncoding& OtherEncoding(const TextEncoding& encoding)
{
    return encoding.name == OutputText::CodePage932 ? kUtf8Text : kCodePage932Text;
}

}  // namespace

const TextEncoding kCodePage932Text{
    OutputText::CodePage932,
    [](std::wstring_view units) { return Cp932HeldLength(SystemCp932Tables(), units); },
    &TextNotCp932Message,
    [](std::wstring_view units, char* into) { return EncodeCp932(SystemCp932Tables(), units, into); },
    2,
    [](std::string_view bytes, wchar_t* into) { return DecodeCp932(SystemCp932Tables(), bytes, into); },
    &WholeCharactersLength,
    {}};

const TextEncoding kUtf8Text{OutputText::Utf8, &Utf8EncodableLength, &Utf8TextFailure, &EncodeUtf8, 3,
                             &DecodeUtf8, &Utf8WholeCharactersLength, "\xEF\xBB\xBF"};

EncodedText::EncodedText(const TextEncoding& encoding, std::wstring_view text) : encoding_(encoding), unconverted_(text)
{
    if (const std::size_t convertible = encoding.convertibleLength(text); convertible < text.size()) {
        throw ErrorMessage(encoding.textFailure(text, convertible));
    }
}

std::span<const char> EncodedText::Pending()
{
    // The next piece is converted only once the last one is all written:
    // until then a write may still be reading it. Pieces end between
    // characters, so that a surrogate pair is converted whole.
    if (rest_.empty() && !unconverted_.empty()) {
        const std::size_t units = Utf16WholeCharactersLength(unconverted_.substr(0, kUnitsPerPiece));
        piece_.resize(units * encoding_.mostBytesPerUnit);
        const Transcoded converted = encoding_.encode(unconverted_.substr(0, units), piece_.data());
        rest_ = std::span<const char>(piece_.data(), converted.written);
        unconverted_.remove_prefix(units);
    }
    return rest_;
}

void EncodedText::Consume(std::size_t count)
{
    rest_ = rest_.subspan(count);
}

// The piece under way is the source's own already.
void EncodedText::KeepRest()
{
    kept_.assign(unconverted_);
    unconverted_ = kept_;
}

void Utf16Decoder::OtherEncodingCheck::Feed(std::string_view bytes)
{
    while (valid_ && !bytes.empty()) {
        const std::size_t take = std::min(bytes.size(), kBytesPerCheck);
        chunk_.insert(chunk_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
        bytes.remove_prefix(take);
        const std::string_view chunk(chunk_.data(), chunk_.size());
        const std::size_t whole = encoding_.wholeCharactersLength(chunk);
        units_.resize(whole);
        valid_ = encoding_.decode(chunk.substr(0, whole), units_.data()).complete;
        chunk_.erase(chunk_.begin(), chunk_.begin() + static_cast<std::ptrdiff_t>(whole));
    }
}

void Utf16Decoder::OtherEncodingCheck::Refuse()
{
    valid_ = false;
}

bool Utf16Decoder::OtherEncodingCheck::Valid()
{
    if (valid_ && !chunk_.empty()) {  // a character cut off by the end
        units_.resize(chunk_.size());
        valid_ = encoding_.decode(std::string_view(chunk_.data(), chunk_.size()), units_.data()).complete;
        chunk_.clear();
    }
    return valid_;
}

Utf16Decoder::Utf16Decoder(const TextEncoding& encoding, std::size_t expectedUnits) : encoding_(encoding)
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
    if (ended_) {
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
    // Once the output failed, the check for the other encoding takes
    // characters cut in two itself.
    const std::size_t whole = failure_ ? bytes.size() : encoding_.wholeCharactersLength(bytes);
    Decode(bytes.substr(0, whole));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(whole));
}

UniqueGlobal Utf16Decoder::Finish()
{
    if (received_ == 0) {
        return UniqueGlobal();
    }
    if (!ended_) {
        Decode(std::string_view(pending_.data(), pending_.size()));  // a character cut off by the end
        pending_.clear();
    }
    if (failure_) {
        failure_->validInOther = other_->Valid();
        throw ErrorMessage(OutputNotConvertibleMessage(*failure_));
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
    markDropped_ = !mark.empty() && start == mark;
    if (markDropped_) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(mark.size()));
        decodedBytes_ += mark.size();
    }
    return true;
}

void Utf16Decoder::Decode(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (failure_) {
            other_->Feed(bytes);
            decodedBytes_ += bytes.size();
            return;
        }
        const std::string_view piece =
            bytes.size() <= kBytesPerDecoding
                ? bytes
                : bytes.substr(0, encoding_.wholeCharactersLength(bytes.substr(0, kBytesPerDecoding)));
        const std::size_t decoded = units_.size() / sizeof(wchar_t);
        units_.resize((decoded + piece.size()) * sizeof(wchar_t));
        wchar_t* const into = reinterpret_cast<wchar_t*>(units_.data()) + decoded;
        const Transcoded result = encoding_.decode(piece, into);
        units_.resize((decoded + result.written) * sizeof(wchar_t));
        decodedBytes_ += result.read;
        bytes.remove_prefix(result.read);
        if (!result.complete) {
            Fail(bytes);
        }
    }
}

void Utf16Decoder::Fail(std::string_view rest)
{
    failure_ = OutputFailure{encoding_.name, decodedBytes_, static_cast<unsigned char>(rest.front()), false};
    // The bytes before the failure, which were decoded, are encoded again
    // for the check: the units give them back as they came, but for the few
    // characters that code page 932 holds twice, which count as their
    // preferred bytes here.
    other_.emplace(OtherEncoding(encoding_));
    if (markDropped_) {
        other_->Feed(encoding_.leadingMark);
    }
    const std::wstring_view units(reinterpret_cast<const wchar_t*>(units_.data()), units_.size() / sizeof(wchar_t));
    ByteBuffer bytes;
    for (std::size_t at = 0; at < units.size();) {
        // At least one unit: a lone surrogate at the end converts to nothing.
        const std::size_t count = std::max<std::size_t>(Utf16WholeCharactersLength(units.substr(at, kBytesPerCheck)), 1);
        bytes.resize(count * encoding_.mostBytesPerUnit);
        const Transcoded encoded = encoding_.encode(units.substr(at, count), bytes.data());
        other_->Feed(std::string_view(bytes.data(), encoded.written));
        if (!encoded.complete) {
            other_->Refuse();
            break;
        }
        at += count;
    }
}

}  // namespace tuvex
