// A parameter whose "|" is the second byte of a double-byte character.
#pragma once

namespace tuvex {

// Raises, in words, when the first "|" of `parameter` cut a double-byte
// character in two (ポ is 0x83 0x7C): the command before it is not the one
// meant, so nothing is run. The first line names the command without the
// stray byte, which would garble the lines after it.
void RaiseIfTheBarCutACharacter(const char* parameter);

}  // namespace tuvex
