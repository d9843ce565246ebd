// The command line that starts a command.
#pragma once

#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// The command line: the interpreter (when there is one), a space and the
// command in double quotes, or else the command unchanged; then a space and
// the arguments when there are any.
ByteString BuildCommandLine(std::string_view interpreter, std::string_view command,
                            std::string_view arguments);

// `text` in double quotes.
ByteString Quoted(std::string_view text);

}  // namespace tuvex
