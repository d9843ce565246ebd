// A filter parameter: the command, "|", then the arguments.
#pragma once

#include "common/tuvex_types.h"

namespace tuvex {

// Splits `parameter` (zero-terminated; null counts as missing) at its first
// "|" byte after skipping leading white space. Raises an error message for a
// missing or blank parameter and for one that names no command.
CommandEntry ParseCommandParameter(const char* parameter);

}  // namespace tuvex
