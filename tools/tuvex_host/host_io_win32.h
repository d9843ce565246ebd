// tuvex_host's input and output: text between code pages, out to a console
// or a redirected stream, and whole files in.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/win32_resource.h"

namespace tuvex::host {

std::wstring Decode(std::string_view bytes, UINT codePage);
std::string Encode(std::wstring_view text, UINT codePage);
// The same without best fit; nothing when the code page lacks a character.
std::optional<std::string> EncodeExactly(std::wstring_view text, UINT codePage);

// The console's output code page when `stream` is a console, UTF-8 otherwise.
UINT StreamCodePage(HANDLE stream);

// Writes `bytes` to `target`; false when the write failed.
bool WriteBytes(HANDLE target, std::string_view bytes);

// Writes `text` to `stream` in its code page; false when the write failed.
bool WriteText(HANDLE stream, std::wstring_view text);

// The file at `path` opened with CreateFileA, or null (with the system's code
// in GetLastError): CreateFileA's own failure value is not null.
UniqueHandle OpenFile(const std::string& path, DWORD access, DWORD disposition);

// The system's own words for an error code, with `insert` (the file or
// module concerned) for the "%1" they may hold; "error N" when it has none.
std::wstring SystemMessage(DWORD error, std::wstring_view insert = {});

// Everything that `source` gives until its end (or, for a pipe, until its
// writer has gone); nothing when a read fails, with the system's code in `error`.
std::optional<std::string> ReadAllBytes(HANDLE source, DWORD& error);

// The bytes of the file at `path`; nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path, DWORD& error);

}  // namespace tuvex::host
