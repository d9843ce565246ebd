// The system's own text for an error code, in the user's language.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/tuvex_types.h"

namespace tuvex {

// The text that FormatMessageW gives for `code`, tidied (see TidySystemText)
// with `insert` for its inserts; empty when the system has none.
std::wstring SystemText(DWORD code, std::wstring_view insert);

// The same in code page 932, as the module's messages are held, with
// `insert` given in code page 932 too. Characters that the code page lacks
// become "?": the text is only shown.
ByteString SystemTextCp932(DWORD code, std::string_view insert);

}  // namespace tuvex
