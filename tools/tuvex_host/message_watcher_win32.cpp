#include "message_watcher_win32.h"

#include <string>
#include <vector>

#include "host_io_win32.h"
#include "resources/tuvex_resources.h"
#include "resources/wait_window_resources.h"

namespace tuvex::host {

namespace {

// A message box keeps its text in a static control of this id.
constexpr int kMessageBoxTextId = 0xFFFF;

bool HasClass(HWND window, const wchar_t* className)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return lstrcmpiW(name, className) == 0;
}

// The control that holds a message's text: the message dialog's edit
// control or a message box's static text; null for any other window.
HWND MessageTextControl(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || !HasClass(window, L"#32770") ||
        GetDlgItem(window, IDC_WAIT_MESSAGE)) {
        return nullptr;
    }
    HWND edit = GetDlgItem(window, IDC_MESSAGE_TEXT);
    if (edit && HasClass(edit, L"Edit")) {
        return edit;
    }
    HWND text = GetDlgItem(window, kMessageBoxTextId);
    return text && HasClass(text, L"Static") ? text : nullptr;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::wstring TextOf(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

MessageWatcher::MessageWatcher(HANDLE stream) : stream_(stream), thread_([this] { Watch(); }) {}

MessageWatcher::~MessageWatcher()
{
    stop_ = true;
    thread_.join();
}

void MessageWatcher::Watch()
{
    while (!stop_) {
        std::vector<HWND> windows;
        EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
        std::erase_if(handled_, [](HWND window) { return !IsWindow(window); });
        for (HWND window : windows) {
            HWND textControl = MessageTextControl(window);
            if (!textControl || handled_.count(window)) {
                continue;
            }
            handled_.insert(window);
            std::wstring text = TextOf(textControl);
            if (text.empty() || text.back() != L'\n') {
                text += L"\r\n";
            }
            WriteText(stream_, text);
            shown_ = true;
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
        Sleep(20);
    }
}

}  // namespace tuvex::host
