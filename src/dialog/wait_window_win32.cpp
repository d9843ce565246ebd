#include "dialog/wait_window_win32.h"

#include <string>

#include "common/messages.h"
#include "common/module_location_win32.h"
#include "common/tuvex_types.h"
#include "resources/wait_window_resources.h"

namespace tuvex {

namespace {

// The window that a modal window over `owner` disables: the owner's
// top-level window, never the desktop; null when there is none.
HWND WindowToDisable(HWND owner)
{
    HWND topLevel = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    return topLevel == GetDesktopWindow() ? nullptr : topLevel;
}

}  // namespace

INT_PTR CALLBACK WaitWindow::WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND: {
        auto* self = reinterpret_cast<WaitWindow*>(GetWindowLongPtrA(window, DWLP_USER));
        if (LOWORD(wParam) == IDCANCEL) {
            self->pressed_ = WaitWindowButton::StopWaiting;
        } else if (LOWORD(wParam) == IDC_WAIT_END_COMMAND) {
            self->pressed_ = WaitWindowButton::EndCommand;
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

WaitWindow::WaitWindow(HWND owner, std::string_view commandLine, bool canEndCommand)
{
    window_.reset(CreateDialogParamA(moduleInstance, MAKEINTRESOURCEA(IDD_WAIT_WINDOW), owner, &WaitWindowProc,
                                     reinterpret_cast<LPARAM>(this)));
    if (!window_) {
        return;
    }
    SetDlgItemTextA(window_.get(), IDC_WAIT_COMMAND_LINE, ByteString(commandLine).c_str());
    // Where the command cannot be ended, the button is not offered.
    ShowWindow(GetDlgItem(window_.get(), IDC_WAIT_END_COMMAND), canEndCommand ? SW_SHOW : SW_HIDE);
    // EnableWindow tells whether the window was disabled already: one that
    // someone else disabled is left to them.
    if (HWND ownerWindow = WindowToDisable(owner); ownerWindow && !EnableWindow(ownerWindow, FALSE)) {
        disabledOwner_.reset(ownerWindow);
    }
    ShowWindow(window_.get(), SW_SHOW);
}

void WaitWindow::ShowProgress(std::uint64_t seconds, std::uint64_t bytesReceived)
{
    const ByteString text = messages::kWaitElapsedBefore + std::to_string(seconds) + messages::kWaitReceivedBefore +
                            std::to_string(bytesReceived) + messages::kWaitBytesAfter;
    SetDlgItemTextA(window_.get(), IDC_WAIT_PROGRESS, text.c_str());
}

bool WaitWindow::TakeDialogMessage(MSG& message)
{
    return IsDialogMessageA(window_.get(), &message) != FALSE;
}

}  // namespace tuvex
