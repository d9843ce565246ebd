// The command line that starts a command.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// The command line: the interpreter (when there is one), a space and the
// command in double quotes, or else the command unchanged; then a space and
// the arguments when there are any.
ByteString BuildCommandLine(std::string_view interpreter, std::string_view command,
                            std::string_view arguments);

// Longest command line that Windows starts: 32767 UTF-16 units with the NUL.
constexpr std::size_t kLongestCommandLine = 32766;

// The UTF-16 units that the code page 932 bytes of `line` become, as Windows
// counts a command line's length.
std::size_t CommandLineLength(std::string_view line);

// `line`, once it is known to be short enough to start; raises
// CommandLineTooLong, with how long it is and may be, otherwise.
ByteString WithinCommandLineLimit(ByteString line);

// `text` in double quotes.
ByteString Quoted(std::string_view text);

}  // namespace tuvex
