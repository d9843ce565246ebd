#include "command_timeout_win32.h"

#include "resources/wait_window_resources.h"

namespace tuvex::host {

namespace {

// How often the thread looks for the wait window once the time is up.
constexpr DWORD kLookIntervalMs = 50;

BOOL CALLBACK FindEndButton(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HWND button = GetDlgItem(window, IDC_WAIT_END_COMMAND);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && button && GetDlgItem(window, IDC_WAIT_MESSAGE)) {
        *reinterpret_cast<HWND*>(found) = button;
        return FALSE;
    }
    return TRUE;
}

// The end button of a wait window of this process; null when none shows.
HWND ShownEndButton()
{
    HWND found = nullptr;
    EnumWindows(&FindEndButton, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

CommandTimeout::CommandTimeout(DWORD timeoutMs)
    : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this, timeoutMs] { Watch(timeoutMs); })
{
}

CommandTimeout::~CommandTimeout()
{
    SetEvent(stop_.get());
    thread_.join();
}

void CommandTimeout::Watch(DWORD timeoutMs)
{
    if (WaitForSingleObject(stop_.get(), timeoutMs) != WAIT_TIMEOUT) {
        return;
    }
    do {
        if (HWND button = ShownEndButton()) {
            // The window's own thread takes the click between two looks at
            // the command, as it takes the user's.
            PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(IDC_WAIT_END_COMMAND, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            fired_ = true;
            return;
        }
    } while (WaitForSingleObject(stop_.get(), kLookIntervalMs) == WAIT_TIMEOUT);
}

}  // namespace tuvex::host
