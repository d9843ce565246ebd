#include "dialog/message_dialog.h"

#include <algorithm>
#include <string_view>

#include "common/unicode_text.h"

namespace tuvex {

namespace {

unsigned char ByteAt(const char* bytes, std::size_t index)
{
    return static_cast<unsigned char>(bytes[index]);
}

unsigned UnitAt(const char* bytes, std::size_t unit)
{
    return ByteAt(bytes, 2 * unit) + 256u * ByteAt(bytes, 2 * unit + 1);
}

bool IsSurrogate(unsigned unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Control characters other than tab, line feed and carriage return do not
// occur in multibyte text that is meant to be read.
bool IsUnexpectedControl(unsigned char byte)
{
    return byte >= 0x01 && byte <= 0x1F && byte != 0x09 && byte != 0x0A && byte != 0x0D;
}

// Well-formed UTF-8 with a character beyond ASCII and no zero byte before
// the terminator. Code page 932 text with kana or kanji practically never is
// (its lead bytes 0x81-0x9F are UTF-8 continuation bytes), nor is UTF-16
// text, whose ASCII characters hold zero bytes.
bool IsUtf8BeyondAscii(const char* bytes, std::size_t length)
{
    const std::string_view text(bytes, std::find(bytes, bytes + length, '\0') - bytes);
    const bool zeroInside = text.size() + 2 < length;
    return !zeroInside && std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
           IsValidUtf8(text);
}

// UTF-16 or multibyte, for texts that are not UTF-8 beyond ASCII.
bool IsUtf16Text(const char* bytes, std::size_t length, WideCharCounter countWideChars)
{
    if (length % 2 != 0) {
        return false;
    }
    // A zero byte inside the text is the high byte of an ASCII unit; a CR LF
    // pair is a multibyte line end. Whichever comes first decides.
    for (std::size_t i = 0; i + 2 < length; ++i) {
        if (ByteAt(bytes, i) == 0) {
            return true;
        }
        if (ByteAt(bytes, i) == 0x0D && ByteAt(bytes, i + 1) == 0x0A) {
            return false;
        }
    }
    for (std::size_t unit = 0; unit < length / 2; ++unit) {
        if (IsSurrogate(UnitAt(bytes, unit))) {
            return false;
        }
    }
    const std::optional<std::size_t> wideChars = countWideChars(bytes);
    if (!wideChars || *wideChars == 0) {
        return true;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (IsUnexpectedControl(ByteAt(bytes, i))) {
            return true;
        }
    }
    return false;
}

}  // namespace

TextKind DetectTextKind(const char* bytes, std::size_t length, WideCharCounter countWideChars)
{
    if (IsUtf8BeyondAscii(bytes, length)) {
        return TextKind::Utf8;
    }
    return IsUtf16Text(bytes, length, countWideChars) ? TextKind::Utf16 : TextKind::Multibyte;
}

std::size_t Utf16TextUnits(const char* bytes, std::size_t length)
{
    std::size_t units = 0;
    while (units < length / 2 && UnitAt(bytes, units) != 0) {
        ++units;
    }
    return units;
}

MessageDialogLayout LayOutMessageDialog(std::uint32_t clientSize)
{
    const int cx = static_cast<int>(clientSize & 0xFFFF);
    const int cy = static_cast<int>(clientSize >> 16);
    // Margins of 3 pixels around the text; the button 1 pixel from the right
    // and 2 from the bottom edge, 3 pixels below the text.
    return {{3, 3, cx - 6, cy - 30}, {cx - 81, cy - 24, 80, 22}};
}

bool FitsInMessageBox(std::string_view text)
{
    std::size_t lines = 0;
    while (lines <= kMessageBoxLines) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end;
        lines += 1 + length / kMessageBoxLineBytes;
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines <= kMessageBoxLines;
}

}  // namespace tuvex
