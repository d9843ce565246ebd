// The message dialog: a resizable, read-only text in a modal dialog owned by
// the host's window, sized and set in the font of "Tuvex.conf".
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// Shows `message` (bytes, normally code page 932 text) in the message dialog owned by `owner`; returns when the user closes it. Never throws.
void ShowMessage(HWND owner, const ByteString& message) noexcept;
// Shows `bytes` exactly as a child wrote them (UTF-16 or ANSI, decided at opening). Never throws.
void ShowMessageW(HWND owner, const ByteBuffer& bytes) noexcept;

// The kind of text that ShowMessage, or ShowMessageW, shows these bytes as:
// the dialog's rule at its opening, for callers that shape a text first.
TextKind KindShownByShowMessage(std::string_view message);
TextKind KindShownByShowMessageW(std::string_view bytes);

// The wide characters of a zero-terminated text in the ANSI code page; empty
// when the text is invalid there. The system's conversion with explicit flags
// leaves the run-time library's locale, shared with the host, alone.
std::optional<std::size_t> CountWideCharsInAnsiCodePage(const char* text);

}  // namespace tuvex
