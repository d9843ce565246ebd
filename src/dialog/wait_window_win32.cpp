#include "dialog/wait_window_win32.h"

#include <string>

#include "common/messages.h"
#include "common/module_location_win32.h"
#include "resources/wait_window_resources.h"

namespace tuvex {

INT_PTR CALLBACK WaitWindow::WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            reinterpret_cast<WaitWindow*>(GetWindowLongPtrA(window, DWLP_USER))->stopRequested_ = true;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

WaitChoice WaitWindow::ContinueWaiting(const ExchangeProgress& progress)
{
    if (progress.elapsedMs < delayMs_) {
        return WaitChoice::KeepWaiting;
    }
    if (!window_) {
        window_.reset(CreateDialogParamA(moduleInstance, MAKEINTRESOURCEA(IDD_WAIT_WINDOW), owner_,
                                         &WaitWindowProc, reinterpret_cast<LPARAM>(this)));
        if (!window_) {
            return WaitChoice::KeepWaiting;  // without the window the wait goes on as before
        }
        SetDlgItemTextA(window_.get(), IDC_WAIT_COMMAND_LINE, ByteString(progress.commandLine).c_str());
        ShowWindow(window_.get(), SW_SHOW);
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
    return stopRequested_ ? WaitChoice::StopWaiting : WaitChoice::KeepWaiting;
}

}  // namespace tuvex
