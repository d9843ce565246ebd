#include "dialog/wait_window_win32.h"

#include <string>
#include <utility>

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

// The height of a line of `edit`'s text.
int LineHeight(HWND edit)
{
    HDC context = GetDC(edit);
    const HGDIOBJ before = SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(context, &metrics);
    SelectObject(context, before);
    ReleaseDC(edit, context);
    return metrics.tmHeight;
}

// Puts the command line, wrapped, into its edit, whose scroll bar shows only
// when the lines do not all fit.
void ShowCommandLine(HWND edit, std::string_view commandLine)
{
    SetWindowTextA(edit, ByteString(commandLine).c_str());
    RECT area = {};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    const auto lines = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    if (lines * LineHeight(edit) <= area.bottom - area.top) {
        ShowScrollBar(edit, SB_VERT, FALSE);
    }
}

}  // namespace

INT_PTR CALLBACK WaitWindow::WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<WaitWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self = reinterpret_cast<WaitWindow*>(lParam);
        // Enter and Esc end the command where it can be ended: a command
        // left running after the editor has its text back is rarely wanted.
        const int defaultButton = self->endCommand_ ? IDC_WAIT_END_COMMAND : IDC_WAIT_STOP_WAITING;
        if (!self->endCommand_) {
            ShowWindow(GetDlgItem(window, IDC_WAIT_END_COMMAND), SW_HIDE);
        }
        SendMessageA(window, DM_SETDEFID, defaultButton, 0);
        SetFocus(GetDlgItem(window, defaultButton));
        return FALSE;
    }
    case WM_COMMAND:
        if (self && LOWORD(wParam) == IDC_WAIT_STOP_WAITING) {
            self->Choose(WaitWindowChoice::StopWaiting);
        } else if (self && LOWORD(wParam) == IDC_WAIT_END_COMMAND) {
            self->Choose(WaitWindowChoice::EndCommand);
        } else if (self && LOWORD(wParam) == IDCANCEL) {
            self->Choose(self->EndingChoice());
        }
        return TRUE;
    case WM_NCDESTROY:
        // Destroyed while this object still holds it: with its owner
        // (DestroyWindow on the editor's window destroys the windows it
        // owns first). The editor is going, so is the command.
        if (self && self->window_) {
            self->window_.release();
            self->disabledOwner_.reset();
            self->Choose(self->EndingChoice());
        }
        return FALSE;
    default:
        return FALSE;
    }
}

WaitWindow::WaitWindow(HWND owner, std::string_view commandLine, std::function<void()> endCommand)
    : endCommand_(std::move(endCommand))
{
    window_.reset(CreateDialogParamA(moduleInstance, MAKEINTRESOURCEA(IDD_WAIT_WINDOW), owner, &WaitWindowProc,
                                     reinterpret_cast<LPARAM>(this)));
    if (!window_) {
        return;
    }
    ShowCommandLine(GetDlgItem(window_.get(), IDC_WAIT_COMMAND_LINE), commandLine);
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
    return window_ && IsDialogMessageA(window_.get(), &message) != FALSE;
}

WaitWindowChoice WaitWindow::EndingChoice() const
{
    return endCommand_ ? WaitWindowChoice::EndCommand : WaitWindowChoice::StopWaiting;
}

// The command ends here, at once, and not when the waiter next looks: a
// call nested in the wait (the editor's timer running a filter) dispatches
// this window's messages, and its own command may run long after.
void WaitWindow::Choose(WaitWindowChoice choice)
{
    if (chosen_ != WaitWindowChoice::None) {
        return;
    }
    chosen_ = choice;
    if (choice == WaitWindowChoice::EndCommand && endCommand_) {
        endCommand_();
    }
}

}  // namespace tuvex
