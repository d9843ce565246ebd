// The window that appears when a command takes its time: it shows what runs
// and lets the user stop waiting for it or end it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "common/win32_resource.h"

namespace tuvex {

namespace detail {
inline void EnableAgain(HWND window)
{
    EnableWindow(window, TRUE);
}
}  // namespace detail

// A window disabled for as long as a modal window shows; enabled again when
// this goes.
using DisabledWindow = UniqueResource<HWND, &detail::EnableAgain>;

// The buttons of the wait window.
enum class WaitWindowButton { None, StopWaiting, EndCommand };

class WaitWindow {
public:
    // Shows the window over `owner` (none for null), which it disables, with
    // the command line; offers to end the command only when it can be ended.
    // The window closes when this object goes. Whoever waits under it
    // dispatches the thread's messages meanwhile.
    WaitWindow(HWND owner, std::string_view commandLine, bool canEndCommand);
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

    // False when the window could not be made.
    bool IsOpen() const { return bool(window_); }

    // "経過 N 秒、受信 M バイト".
    void ShowProgress(std::uint64_t seconds, std::uint64_t bytesReceived);

    // Lets the window take a message that is keyboard input for it (Esc,
    // Tab, Enter); true when it did, and the message is not to be dispatched.
    bool TakeDialogMessage(MSG& message);

    // The button pressed last; None until one is.
    WaitWindowButton pressed() const { return pressed_; }

private:
    static INT_PTR CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UniqueWindow window_;
    // Declared after the window, so that it goes first: the owner is enabled
    // before the window is destroyed and so gets the activation back.
    DisabledWindow disabledOwner_;
    WaitWindowButton pressed_ = WaitWindowButton::None;
};

}  // namespace tuvex
