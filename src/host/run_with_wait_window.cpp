#include "host/run_with_wait_window.h"

namespace tuvex {

namespace {

// While output floods in, an object is signalled at every wait, and a wait
// tells of messages only when no object is: they are looked at this often
// then, so that the window stays alive and its buttons act.
constexpr ULONGLONG kBusyDispatchIntervalMs = 20;

}  // namespace

WaitWindowWaiter::WaitWindowWaiter(HWND owner, DWORD delayMs)
    : owner_(owner), delayMs_(delayMs), startTick_(GetTickCount64())
{
}

WaitOutcome WaitWindowWaiter::Wait(std::span<void* const> objects, const ExchangeProgress& progress)
{
    const auto count = static_cast<DWORD>(objects.size());
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const ULONGLONG elapsedMs = now - startTick_;
        DWORD result = WAIT_FAILED;
        if (elapsedMs < delayMs_) {
            result = WaitForMultipleObjects(count, objects.data(), FALSE, static_cast<DWORD>(delayMs_ - elapsedMs));
        } else {
            if (!window_) {
                window_.emplace(owner_, progress.commandLine, progress.canEndCommand);
            }
            if (!window_->IsOpen()) {
                // Without the window the wait goes on, only without a way to end it.
                result = WaitForMultipleObjects(count, objects.data(), FALSE, INFINITE);
            } else {
                if (const std::uint64_t seconds = elapsedMs / 1000; seconds != shownSeconds_) {
                    shownSeconds_ = seconds;
                    window_->ShowProgress(seconds, progress.bytesReceived);
                }
                result = MsgWaitForMultipleObjectsEx(count, objects.data(), static_cast<DWORD>(1000 - elapsedMs % 1000),
                                                     QS_ALLINPUT, MWMO_INPUTAVAILABLE);
                if (result == WAIT_OBJECT_0 + count || (result - WAIT_OBJECT_0 < count &&
                                                        now - dispatchedTick_ >= kBusyDispatchIntervalMs)) {
                    dispatchedTick_ = now;
                    if (const WaitChoice choice = DispatchMessages(); choice != WaitChoice::KeepWaiting) {
                        return {choice, {}};
                    }
                }
            }
        }
        if (result - WAIT_OBJECT_0 < count) {
            return {WaitChoice::KeepWaiting, result - WAIT_OBJECT_0};
        }
        if (result != WAIT_TIMEOUT && result != WAIT_OBJECT_0 + count) {
            return {};
        }
    }
}

WaitChoice WaitWindowWaiter::DispatchMessages()
{
    MSG message;
    while (window_->pressed() == WaitWindowButton::None && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The thread is to end: so does the wait, and the loop that
            // waits for the quit still gets it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return WaitChoice::StopWaiting;
        }
        if (!window_->TakeDialogMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    switch (window_->pressed()) {
    case WaitWindowButton::StopWaiting:
        return WaitChoice::StopWaiting;
    case WaitWindowButton::EndCommand:
        return WaitChoice::EndCommand;
    default:
        return WaitChoice::KeepWaiting;
    }
}

}  // namespace tuvex
