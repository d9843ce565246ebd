#include "menu_command_win32.h"

#include <windows.h>

#include "common/win32_resource.h"
#include "console_text_win32.h"
#include "menu_doctor.h"

namespace tuvex::host {

int CheckMenuFile(const std::string& moduleFolder, const std::string& which)
{
    const std::string path = which == "Tuvex" || which == "TuvexW" ? moduleFolder + which + ".ini" : which;
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const UniqueHandle owner(file == INVALID_HANDLE_VALUE ? nullptr : file);
    std::string bytes;
    DWORD failure = owner ? ERROR_SUCCESS : GetLastError();
    char chunk[65536];
    DWORD received = 0;
    while (owner && failure == ERROR_SUCCESS) {
        if (!ReadFile(owner.get(), chunk, sizeof chunk, &received, nullptr)) {
            failure = GetLastError();
        } else if (received == 0) {
            break;
        }
        bytes.append(chunk, received);
    }
    if (failure != ERROR_SUCCESS) {
        WriteText(error, L"tuvex_host: cannot read " + Decode(path, CP_ACP) + L": " + SystemMessage(failure) + L"\n");
        return 2;
    }
    const MenuExamination examination = ExamineMenuFile(bytes);
    const std::wstring report =
        L"menu file " + Decode(path, CP_ACP) + L"\n\n" + Decode(FormatMenuExamination(examination, nullptr), 932);
    WriteText(GetStdHandle(STD_OUTPUT_HANDLE), report);
    return examination.findings.empty() ? 0 : 1;
}

}  // namespace tuvex::host
