// The message dialog's decisions that need nothing of the window system:
// where a UTF-16 text ends, the slices a long text goes in by, whether a text
// fits a message box and where the controls go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tuvex {

// The UTF-16 units of a text read as UTF-16: up to the first zero unit, or all
// whole units when there is none. Nothing past `length` is read.
std::size_t Utf16TextUnits(const char* bytes, std::size_t length);

// Whether a plain message box shows `text` whole on a screen: the box grows
// with its text and has no scroll bar, so a text of more than
// kMessageBoxLines lines (a line counted once per kMessageBoxLineUnits
// units, as the box wraps it) belongs in the message dialog.
inline constexpr std::size_t kMessageBoxLines = 20;
inline constexpr std::size_t kMessageBoxLineUnits = 100;
bool FitsInMessageBox(std::u16string_view text);

// Where the slice of `text` that goes into the message window after
// text[start] ends: after the last line end within `units` units, or after
// `units` units (never inside a surrogate pair) when a line is longer; the
// whole rest when it is no longer.
std::size_t SliceEnd(std::u16string_view text, std::size_t start, std::size_t units);

struct ControlPlacement {
    int left;
    int top;
    int width;
    int height;
};

struct MessageDialogLayout {
    ControlPlacement edit;
    ControlPlacement okButton;
};

// Where the controls go for WM_SIZE's `clientSize`: the client width in its
// low 16 bits and the height in its high 16 bits, both unsigned. No minimum
// is enforced.
MessageDialogLayout LayOutMessageDialog(std::uint32_t clientSize);

}  // namespace tuvex
