#include "host/run_with_wait_window.h"

#include <utility>

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
    // The exchange's progress, and so its way to end the command, holds
    // only while this wait lasts.
    struct Current {
        Current(const ExchangeProgress*& held, const ExchangeProgress& progress) : held_(held) { held_ = &progress; }
        ~Current() { held_ = nullptr; }
        const ExchangeProgress*& held_;
    } current(progress_, progress);

    const auto count = static_cast<DWORD>(objects.size());
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const ULONGLONG elapsedMs = now - startTick_;
        DWORD result = WAIT_FAILED;
        if (elapsedMs < delayMs_) {
            result = WaitForMultipleObjects(count, objects.data(), FALSE, static_cast<DWORD>(delayMs_ - elapsedMs));
        } else {
            if (!window_) {
                if (progress.keepInput) {
                    progress.keepInput();
                }
                std::function<void()> endCommand;
                if (progress.canEndCommand) {
                    endCommand = [this] { EndCommandNow(); };
                }
                window_.emplace(owner_, progress.commandLine, std::move(endCommand));
            }
            if (const std::uint64_t seconds = elapsedMs / 1000; window_->IsOpen() && seconds != shownSeconds_) {
                shownSeconds_ = seconds;
                window_->ShowProgress(seconds, progress.bytesReceived);
            }
            // Without the window (it could not be made) the messages are
            // dispatched all the same: the editor must not hang, and its
            // window's end or WM_QUIT still ends the wait.
            result = MsgWaitForMultipleObjectsEx(count, objects.data(), static_cast<DWORD>(1000 - elapsedMs % 1000),
                                                 QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (result == WAIT_OBJECT_0 + count ||
                (result - WAIT_OBJECT_0 < count && now - dispatchedTick_ >= kBusyDispatchIntervalMs)) {
                dispatchedTick_ = now;
                if (const WaitChoice choice = DispatchMessages(); choice != WaitChoice::KeepWaiting) {
                    return {choice, {}};
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
    while (Chosen() == WaitChoice::KeepWaiting && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
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
    return Chosen();
}

WaitChoice WaitWindowWaiter::Chosen() const
{
    switch (window_->chosen()) {
    case WaitWindowChoice::StopWaiting:
        return WaitChoice::StopWaiting;
    case WaitWindowChoice::EndCommand:
        return WaitChoice::EndCommand;
    case WaitWindowChoice::None:
        break;
    }
    // Where no window shows (or the owner was a child of the editor's
    // window), the owner's end is seen here, after the messages that may
    // have ended it.
    if (owner_ && !IsWindow(owner_)) {
        return progress_->canEndCommand ? WaitChoice::EndCommand : WaitChoice::StopWaiting;
    }
    return WaitChoice::KeepWaiting;
}

void WaitWindowWaiter::EndCommandNow()
{
    if (progress_ && progress_->endCommand) {
        progress_->endCommand();
    }
}

}  // namespace tuvex
