// The message dialog's decisions that need nothing of the window system: the
// kind of text in the message buffer and where the controls go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// Counts the wide characters that a zero-terminated multibyte text converts
// to in the user's code page; empty when the text is invalid there.
using WideCharCounter = std::optional<std::size_t> (*)(const char* text);

// How the `length` bytes at `bytes` are to be shown. `length` counts the
// terminating zero byte(s) that every message buffer ends with;
// `countWideChars` sees the bytes up to the first zero byte.
TextKind DetectTextKind(const char* bytes, std::size_t length, WideCharCounter countWideChars);

// The UTF-16 units of a text read as UTF-16: up to the first zero unit, or all
// whole units when there is none. Nothing past `length` is read.
std::size_t Utf16TextUnits(const char* bytes, std::size_t length);

// Whether a plain message box shows `text` whole on a screen: the box grows
// with its text and has no scroll bar, so a text of more than
// kMessageBoxLines lines (a line counted once per kMessageBoxLineBytes bytes,
// as the box wraps it) belongs in the message dialog.
inline constexpr std::size_t kMessageBoxLines = 20;
inline constexpr std::size_t kMessageBoxLineBytes = 100;
bool FitsInMessageBox(std::string_view text);

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
