#include "dialog/terminal_text.h"

#include <algorithm>

namespace tuvex {

namespace {

constexpr char32_t kEscape = 0x1B;
constexpr char32_t kBell = 0x07;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// One line of the screen and the cursor in it; what scrolls off goes to the
// text shown.
class Terminal {
public:
    void Put(char32_t character)
    {
        if (cursor_ == kTerminalColumns) {
            EndRow(true);  // the line goes on in the next row
        }
        if (cursor_ < row_.size()) {
            row_[cursor_] = character;
        } else {
            row_.resize(cursor_, U' ');
            row_.push_back(character);
        }
        ++cursor_;
    }
    void ReturnToStart() { cursor_ = 0; }
    void LineFeed() { EndRow(false); }
    void Backspace()
    {
        if (cursor_ == 0) {
            return;
        }
        --cursor_;
        if (cursor_ < row_.size()) {
            row_.erase(cursor_, 1);
        }
    }
    // CSI K: 0 from the cursor to the end of the line, 1 from its start to
    // the cursor, 2 all of it.
    void EraseInLine(std::size_t mode)
    {
        if (mode == 0) {
            row_.resize(std::min(cursor_, row_.size()));
        } else if (mode == 1) {
            std::fill_n(row_.begin(), std::min(cursor_ + 1, row_.size()), U' ');
        } else if (mode == 2) {
            row_.clear();
        }
    }
    void MoveToColumn(std::size_t column) { cursor_ = std::min(column, kTerminalColumns); }

    std::u16string Finish()
    {
        Append(row_);
        return std::move(shown_);
    }

private:
    void Append(std::u32string_view characters)
    {
        for (char32_t c : characters) {
            if (c >= 0x10000) {
                shown_ += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                shown_ += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                shown_ += static_cast<char16_t>(c);
            }
        }
    }
    void EndRow(bool broken)
    {
        Append(row_);
        if (broken) {
            shown_ += kLineBreakMark;
        }
        shown_ += u"\r\n";
        row_.clear();
        cursor_ = 0;
    }

    std::u32string row_;
    std::size_t cursor_ = 0;
    std::u16string shown_;
};

// The first parameter of a control sequence, `fallback` when there is none.
std::size_t FirstParameter(std::u16string_view parameters, std::size_t fallback)
{
    std::size_t value = 0;
    std::size_t digits = 0;
    for (char16_t c : parameters) {
        if (c < u'0' || c > u'9') {
            break;
        }
        value = std::min<std::size_t>(value * 10 + (c - u'0'), 1'000'000);
        ++digits;
    }
    return digits == 0 ? fallback : value;
}

// Acts on the escape sequence that starts at text[at] (ESC) and returns
// where the text goes on after it. A sequence broken off by a character
// that cannot be part of it ends before that character.
std::size_t TakeEscapeSequence(std::u16string_view text, std::size_t at, Terminal& terminal)
{
    std::size_t i = at + 1;
    if (i == text.size()) {
        return i;
    }
    const char16_t kind = text[i++];
    if (kind == u'[') {
        const std::size_t parametersStart = i;
        while (i < text.size() && text[i] >= 0x30 && text[i] <= 0x3F) {
            ++i;
        }
        const std::u16string_view parameters = text.substr(parametersStart, i - parametersStart);
        while (i < text.size() && text[i] >= 0x20 && text[i] <= 0x2F) {
            ++i;
        }
        if (i == text.size() || text[i] < 0x40 || text[i] > 0x7E) {
            return i;
        }
        if (text[i] == u'K') {
            terminal.EraseInLine(FirstParameter(parameters, 0));
        } else if (text[i] == u'G') {
            terminal.MoveToColumn(std::max<std::size_t>(FirstParameter(parameters, 1), 1) - 1);
        }
        return i + 1;
    }
    if (kind == u']') {
        // A title or a link runs to BEL or ST (ESC \); one left open ends
        // with its line, so that it cannot hide the rest of the text.
        while (i < text.size() && text[i] != kBell && text[i] != u'\n' && text[i] != kEscape) {
            ++i;
        }
        if (i < text.size() && text[i] == kBell) {
            return i + 1;
        }
        return i + 1 < text.size() && text[i] == kEscape && text[i + 1] == u'\\' ? i + 2 : i;
    }
    --i;
    while (i < text.size() && text[i] >= 0x20 && text[i] <= 0x2F) {
        ++i;
    }
    return i < text.size() && text[i] >= 0x30 && text[i] <= 0x7E ? i + 1 : i;
}

}  // namespace

std::u16string TerminalText(std::u16string_view text)
{
    Terminal terminal;
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = text[i];
        if (c == kEscape) {
            i = TakeEscapeSequence(text, i, terminal);
            continue;
        }
        ++i;
        if (IsHighSurrogate(c) && i < text.size() && IsLowSurrogate(text[i])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        }
        if (c == u'\n') {
            terminal.LineFeed();
        } else if (c == u'\r') {
            terminal.ReturnToStart();
        } else if (c == u'\b') {
            terminal.Backspace();
        } else if (c == u'\t' || (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0x9F))) {
            terminal.Put(c);
        }
    }
    return terminal.Finish();
}

}  // namespace tuvex
