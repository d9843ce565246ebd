// The filters that the host calls with its window, its text and a parameter.
#pragma once

#include <windows.h>

namespace tuvex {

// Tuvex: the text crosses to the child as code page 932 and comes back as
// UTF-16. Returns a movable block holding the new text, or null.
HGLOBAL RunNarrowFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept;

// TuvexW: the UTF-16 bytes go to the child unchanged and its output bytes
// come back unchanged. Returns a movable block holding them, or null.
HGLOBAL RunWideFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept;

// TuvexUtf8: the text crosses to the child as UTF-8 and comes back as
// UTF-16. Returns a movable block holding the new text, or null.
HGLOBAL RunUtf8Filter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept;

}  // namespace tuvex
