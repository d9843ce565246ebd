#include "dialog/wait_window_win32.h"

#include <string>

#include "common/messages.h"
#include "common/module_location_win32.h"
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
            self->choice_ = WaitChoice::StopWaiting;
        } else if (LOWORD(wParam) == IDC_WAIT_END_COMMAND) {
            self->choice_ = WaitChoice::EndCommand;
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void WaitWindow::Open(const ExchangeProgress& progress)
{
    window_.reset(CreateDialogParamA(moduleInstance, MAKEINTRESOURCEA(IDD_WAIT_WINDOW), owner_, &WaitWindowProc,
                                     reinterpret_cast<LPARAM>(this)));
    if (!window_) {
        return;
    }
    SetDlgItemTextA(window_.get(), IDC_WAIT_COMMAND_LINE, ByteString(progress.commandLine).c_str());
    // Where the command cannot be ended, the button is not offered.
    ShowWindow(GetDlgItem(window_.get(), IDC_WAIT_END_COMMAND), progress.canEndCommand ? SW_SHOW : SW_HIDE);
    // EnableWindow tells whether the window was disabled already: one that
    // someone else disabled is left to them.
    if (HWND ownerWindow = WindowToDisable(owner_); ownerWindow && !EnableWindow(ownerWindow, FALSE)) {
        disabledOwner_.reset(ownerWindow);
    }
    ShowWindow(window_.get(), SW_SHOW);
}

WaitChoice WaitWindow::ContinueWaiting(const ExchangeProgress& progress)
{
    if (progress.elapsedMs < delayMs_) {
        return WaitChoice::KeepWaiting;
    }
    if (!window_) {
        Open(progress);
        if (!window_) {
            return WaitChoice::KeepWaiting;  // without the window the wait goes on as before
        }
    }
    const std::uint64_t seconds = progress.elapsedMs / 1000;
    if (seconds != shownSeconds_) {
        shownSeconds_ = seconds;
        const ByteString text = messages::kWaitElapsedBefore + std::to_string(seconds) +
                                messages::kWaitReceivedBefore + std::to_string(progress.bytesReceived) +
                                messages::kWaitBytesAfter;
        SetDlgItemTextA(window_.get(), IDC_WAIT_PROGRESS, text.c_str());
    }
    MSG message;
    while (PeekMessageA(&message, window_.get(), 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(window_.get(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return choice_;
}

}  // namespace tuvex
