// Text between code pages, and out to a console or a redirected stream.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tuvex::host {

std::wstring Decode(std::string_view bytes, UINT codePage);
std::string Encode(std::wstring_view text, UINT codePage);

// The console's output code page when `stream` is a console, UTF-8 otherwise.
UINT StreamCodePage(HANDLE stream);

// Writes `text` to `stream` in its code page; false when the write failed.
bool WriteText(HANDLE stream, std::wstring_view text);

// The system's own words for an error code, without the final line end.
std::wstring SystemMessage(DWORD error);

}  // namespace tuvex::host
