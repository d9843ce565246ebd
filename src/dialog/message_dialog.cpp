#include "dialog/message_dialog.h"

#include <string_view>

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

}  // namespace

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

bool FitsInMessageBox(std::u16string_view text)
{
    std::size_t lines = 0;
    while (lines <= kMessageBoxLines) {
        const std::size_t end = text.find(u'\n');
        const std::size_t length = end == std::u16string_view::npos ? text.size() : end;
        lines += 1 + length / kMessageBoxLineUnits;
        if (end == std::u16string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines <= kMessageBoxLines;
}

std::size_t SliceEnd(std::u16string_view text, std::size_t start, std::size_t units)
{
    if (text.size() - start <= units) {
        return text.size();
    }
    const std::size_t lineEnd = text.rfind(u'\n', start + units - 1);
    if (lineEnd != std::u16string_view::npos && lineEnd >= start) {
        return lineEnd + 1;
    }
    const char16_t last = text[start + units - 1];
    return start + units + (last >= 0xD800 && last <= 0xDBFF);
}

}  // namespace tuvex
