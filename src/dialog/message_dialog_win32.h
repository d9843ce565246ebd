// The message dialog: a resizable, read-only text in a modal dialog owned by
// the host's window, sized and set in the font of "Tuvex.conf".
#pragma once

#include <windows.h>

#include "common/tuvex_types.h"

namespace tuvex {

// Set on a message dialog once its whole text is in its edit control: a long
// text goes in in slices after the dialog shows, and whoever reads the
// window (a test, an accessibility tool) waits for this.
inline constexpr wchar_t kTextWholeProperty[] = L"Tuvex.TextWhole";

// Each show operation judges the kind of its bytes (code page 932, UTF-8 or
// UTF-16, ties going to `filterKind`, the kind of the filter that shows them)
// and shows what a terminal would show of them. Both return when the user
// closes the dialog and never throw.

// `message`: the module's own messages and the narrow filters' error output.
void ShowMessage(HWND owner, const ByteString& message) noexcept;
// `bytes` exactly as a child of TuvexW or TuvexUtf8 wrote them.
void ShowMessageW(HWND owner, const ByteBuffer& bytes, TextKind filterKind = TextKind::Utf16) noexcept;
// TuvexRun's messages, which have no owner window: in a plain message box
// when the text fits one, else in the message dialog.
void ShowMessageWithoutOwner(const ByteString& text) noexcept;

}  // namespace tuvex
