// Shows a Japanese message in the message dialog, as a child's standard error
// would appear, and closes it after the number of seconds given (default 5):
// tools/screenshot-dialog.sh captures it meanwhile.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "dialog/message_dialog_win32.h"
#include "common/module_location_win32.h"

int main(int argc, char** argv)
{
    tuvex::RecordModuleLocation(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH);
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5;

    const std::wstring text =
        L"sort.tvx: 3 行目の文字コードを判定できませんでした。\r\n"
        L"入力をコードページ 932 として処理を続けます。\r\n"
        L"\r\n"
        L"警告: 全角スペースを含む行が 2 行あります (12, 48 行目)。";
    std::string message(WideCharToMultiByte(932, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(932, 0, text.c_str(), -1, message.data(), static_cast<int>(message.size()), nullptr, nullptr);
    message.pop_back();

    std::atomic<bool> closed{false};
    std::thread closer([&] {
        Sleep(seconds * 1000);
        while (!closed) {
            PostMessageA(FindWindowA("#32770", "Tuvex"), WM_COMMAND, IDOK, 0);
            Sleep(100);
        }
    });
    tuvex::ShowMessage(nullptr, message);
    closed = true;
    closer.join();
    return 0;
}
