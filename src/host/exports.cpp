#include "host/exports.h"

#include "common/messages.h"
#include "host/filter_entry.h"
#include "host/run_entry.h"

namespace tuvex {
namespace {

constexpr std::uint8_t kFilterAttribute = 0x50;

const FilterRegistrationRecord filterRegistrationTable[] = {
    {sizeof(FilterRegistrationRecord), "Tuvex", "Tuvex", "Tuvex", kFilterAttribute, {}},
    {sizeof(FilterRegistrationRecord), "TuvexW", messages::kWideFilterDisplayName, "TuvexW",
     kFilterAttribute, {}},
    {sizeof(FilterRegistrationRecord), "TuvexUtf8", messages::kUtf8FilterDisplayName, "TuvexUtf8",
     kFilterAttribute, {}},
    {},
};

}  // namespace
}  // namespace tuvex

extern "C" {

const tuvex::FilterRegistrationRecord* __cdecl EnumVelmoranFilter()
{
    return tuvex::filterRegistrationTable;
}

std::uint32_t __cdecl VelmoranFilterGetVersion()
{
    return tuvex::kFilterInterfaceVersion;
}

HGLOBAL __cdecl Tuvex(HWND hostWindow, const wchar_t* text, const char* parameter)
{
    return tuvex::RunNarrowFilter(hostWindow, text, parameter);
}

HGLOBAL __cdecl TuvexW(HWND hostWindow, const wchar_t* text, const char* parameter)
{
    return tuvex::RunWideFilter(hostWindow, text, parameter);
}

HGLOBAL __cdecl TuvexUtf8(HWND hostWindow, const wchar_t* text, const char* parameter)
{
    return tuvex::RunUtf8Filter(hostWindow, text, parameter);
}

const char* __cdecl TuvexRun(const char* input, const char* command, const char* arguments)
{
    return tuvex::RunCommandOnText(input, command, arguments);
}

}  // extern "C"
