#include "menu_command_win32.h"

#include <windows.h>

#include "host_io_win32.h"
#include "menu_doctor.h"

namespace tuvex::host {

int CheckMenuFile(const std::string& moduleFolder, const std::string& which)
{
    const std::string path = which == "Tuvex" || which == "TuvexW" ? moduleFolder + which + ".ini" : which;
    DWORD error = ERROR_SUCCESS;
    const std::optional<std::string> bytes = ReadFileBytes(path, error);
    if (!bytes) {
        WriteText(GetStdHandle(STD_ERROR_HANDLE),
                  L"tuvex_host: cannot read " + Decode(path, CP_ACP) + L": " + SystemMessage(error) + L"\n");
        return 2;
    }
    const MenuExamination examination = ExamineMenuFile(*bytes);
    const std::wstring report =
        L"menu file " + Decode(path, CP_ACP) + L"\n\n" + Decode(FormatMenuExamination(examination, nullptr), 932);
    WriteText(GetStdHandle(STD_OUTPUT_HANDLE), report);
    return examination.findings.empty() ? 0 : 1;
}

}  // namespace tuvex::host
