// The filters and TuvexRun wait for their command under a wait window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

#include "dialog/wait_window_win32.h"
#include "exec/child_process.h"

namespace tuvex {

// Waits for an exchange on the host's thread. For the first `delayMs` it
// waits on the exchange's objects alone and handles no message, so that the
// editor is not re-entered by a short command. Then the wait window shows
// over `owner`, updated once a second, and while it shows every message of
// the thread is dispatched, as in any modal window: the editor, disabled,
// takes no input but repaints, and the window's buttons end the wait at once.
// Before the first message is dispatched, the input still to be written is
// copied: the editor may then change or free the text it is read from. The
// owner's end ends the command and the wait.
//
// A filter called from within the wait (the editor's timer) waits under a
// window of its own, and its loop dispatches this window's messages too:
// "コマンドを終了" pressed here ends this command at once, from the window's
// procedure, though this wait returns only once the nested call has.
class WaitWindowWaiter final : public ExchangeWaiter {
public:
    explicit WaitWindowWaiter(HWND owner, DWORD delayMs = 1000);
    WaitOutcome Wait(std::span<void* const> objects, const ExchangeProgress& progress) override;

private:
    // Dispatches the messages that wait; returns what the user chose.
    WaitChoice DispatchMessages();
    // What the window or the owner's end chose; KeepWaiting until then.
    WaitChoice Chosen() const;
    void EndCommandNow();

    HWND owner_;
    DWORD delayMs_;
    ULONGLONG startTick_;
    ULONGLONG dispatchedTick_ = 0;
    // The progress of the wait under way; null between waits.
    const ExchangeProgress* progress_ = nullptr;
    std::optional<WaitWindow> window_;
    std::uint64_t shownSeconds_ = ~std::uint64_t{0};
};

// Runs `exchange` with options whose waiter shows a wait window over
// `owner`; the window is gone when this returns, before anything else is
// shown.
template <typename Exchange>
void RunWithWaitWindow(HWND owner, Exchange exchange)
{
    WaitWindowWaiter waiter(owner);
    ExchangeOptions options;
    options.waiter = &waiter;
    exchange(options);
}

}  // namespace tuvex
