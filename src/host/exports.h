// What the host sees of the module: the filter registration table and the
// exported functions, all with the C calling convention.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace tuvex {

// One filter that the module offers. The host reads the table up to the
// record whose structSize is 0.
struct FilterRegistrationRecord {
    std::uint32_t structSize;
    const char* exportName;
    const char* displayName;
    const char* secondName;
    std::uint8_t attributeByte;
    std::uint8_t reserved[3];
};

#if defined(_WIN64)
static_assert(sizeof(FilterRegistrationRecord) == 40, "64-bit record: natural alignment");
#else
static_assert(sizeof(FilterRegistrationRecord) == 20, "32-bit record: five 4-byte fields");
#endif
static_assert(offsetof(FilterRegistrationRecord, attributeByte) == 4 * sizeof(void*));

constexpr std::uint32_t kFilterInterfaceVersion = 0x10004;

}  // namespace tuvex

extern "C" {
const tuvex::FilterRegistrationRecord* __cdecl EnumVelmoranFilter();
std::uint32_t __cdecl VelmoranFilterGetVersion();
HGLOBAL __cdecl Tuvex(HWND hostWindow, const wchar_t* text, const char* parameter);
HGLOBAL __cdecl TuvexW(HWND hostWindow, const wchar_t* text, const char* parameter);
HGLOBAL __cdecl TuvexUtf8(HWND hostWindow, const wchar_t* text, const char* parameter);
const char* __cdecl TuvexRun(const char* input, const char* command, const char* arguments);
}
