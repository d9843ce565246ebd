// What a terminal shows of a text that a program wrote for one: the text
// that the message window shows of error output.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tuvex {

// The width at which a line is broken for display: the message window's
// edit control lays a line out in a time that grows with the square of its
// length, and a line of this width takes it a few milliseconds.
inline constexpr std::size_t kTerminalColumns = 1024;
// Ends each piece of a line broken at kTerminalColumns.
inline constexpr char16_t kLineBreakMark = u'\u2192';  // →

// `text` as a terminal of kTerminalColumns columns shows it: colour, cursor
// and title sequences (CSI, OSC and other escape sequences) are taken out,
// erasing within the line (CSI K) and moving to a column (CSI G) acted on;
// a CR returns to the start of its line, so that what follows writes over
// it (a progress meter shows its last state); a backspace removes the
// character before it; other control characters show nothing. Lines end in
// CR LF; a line longer than the terminal's width goes on in the next line,
// the piece before ending in kLineBreakMark.
std::u16string TerminalText(std::u16string_view text);

}  // namespace tuvex
