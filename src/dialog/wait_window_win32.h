// The window that appears when a command takes its time: it shows what runs
// and lets the user stop waiting for it or end it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
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

// What the user chose in the wait window.
enum class WaitWindowChoice { None, StopWaiting, EndCommand };

class WaitWindow {
public:
    // Shows the window over `owner` (none for null), which it disables, with
    // the command line. `endCommand` ends the command at once; where it is
    // empty the command cannot be ended and the window does not offer it.
    // The window closes when this object goes. Whoever waits under it
    // dispatches the thread's messages meanwhile.
    WaitWindow(HWND owner, std::string_view commandLine, std::function<void()> endCommand);
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

    // False when the window could not be made, or is gone.
    bool IsOpen() const { return bool(window_); }

    // "経過 N 秒、受信 M バイト".
    void ShowProgress(std::uint64_t seconds, std::uint64_t bytesReceived);

    // Lets the window take a message that is keyboard input for it (Esc,
    // Tab, Enter); true when it did, and the message is not to be dispatched.
    bool TakeDialogMessage(MSG& message);

    // The user's first choice; None until there is one. Esc and the
    // default button end the command where it can be ended, and stop
    // waiting elsewhere. A window destroyed with its owner chooses the same:
    // nothing would be left to show the wait or end it.
    WaitWindowChoice chosen() const { return chosen_; }

private:
    static INT_PTR CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Choose(WaitWindowChoice choice);
    // What Esc, the default button and the owner's end choose.
    WaitWindowChoice EndingChoice() const;

    std::function<void()> endCommand_;
    WaitWindowChoice chosen_ = WaitWindowChoice::None;
    UniqueWindow window_;
    // Declared after the window, so that it goes first: the owner is enabled
    // before the window is destroyed and so gets the activation back.
    DisabledWindow disabledOwner_;
};

}  // namespace tuvex
