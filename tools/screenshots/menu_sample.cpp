// Shows the command popup of the guides' worked example at the top-left of
// the screen, opens its submenu with the keyboard, and closes the popup after
// the number of seconds given (default 5): tools/screenshot-menu.sh captures
// it meanwhile.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/win32_resource.h"
#include "menu/menu_popup_win32.h"

namespace {

// The worked example of docs/guide-ja.md, with its TABs.
constexpr wchar_t kWorkedExample[] =
    L"# テキストツール\r\n"
    L"並べ替え\tsort\r\n"
    L"逆順に並べ替え\tsort\t/r\r\n"
    L"->検索\r\n"
    L"\t行番号を付ける\tfindstr\t/n \"^\"\r\n"
    L"\tTODO を含む行\tfindstr\t/i /c:\"TODO\"\r\n"
    L"-----\r\n"
    L"行末の空白を削除\tC:\\Tools\\Tuvex\\trim-trailing.pl\t\t# \"#!perl\" のスクリプト\r\n";

std::string WriteMenuFile()
{
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string programPath(program);
    const std::string path = programPath.substr(0, programPath.find_last_of('\\') + 1) + "Tuvex.ini";
    std::string bytes(WideCharToMultiByte(932, 0, kWorkedExample, -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(932, 0, kWorkedExample, -1, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.pop_back();
    const tuvex::UniqueFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return path;
}

void PressKey(HWND window, WPARAM key)
{
    // The popup's own loop reads the keys of this thread's queue.
    PostMessageW(window, WM_KEYDOWN, key, 0);
    Sleep(150);
}

}  // namespace

int main(int argc, char** argv)
{
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5;
    const std::string menuFile = WriteMenuFile();

    // The owner, as an editor's window would be; far off the captured corner.
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TuvexMenuSample";
    RegisterClassW(&windowClass);
    const tuvex::UniqueWindow owner(CreateWindowW(L"TuvexMenuSample", L"Tuvex menu sample", WS_POPUP | WS_VISIBLE,
                                                  1000, 900, 200, 100, nullptr, nullptr,
                                                  GetModuleHandleW(nullptr), nullptr));
    SetForegroundWindow(owner.get());
    SetCursorPos(12, 12);

    std::atomic<bool> closed{false};
    std::thread keys([&] {
        Sleep(1000);
        // Down to the third item, "検索", and open it.
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) {
            PressKey(owner.get(), key);
        }
        Sleep(seconds * 1000);
        while (!closed) {
            PressKey(owner.get(), VK_ESCAPE);
        }
    });
    tuvex::ShowCommandMenu(owner.get(), menuFile);
    closed = true;
    keys.join();
    return 0;
}
