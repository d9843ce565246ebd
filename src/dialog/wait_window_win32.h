// The window that appears when a command takes its time: it shows what runs
// and lets the user stop waiting for it or end it.
#pragma once

#include <windows.h>

#include "common/win32_resource.h"
#include "exec/child_process.h"

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

class WaitWindow final : public ExchangeObserver {
public:
    // The window appears over `owner` (none for null) once the command has
    // run for `delayMs`; it closes when this object goes.
    explicit WaitWindow(HWND owner, std::uint64_t delayMs = 1000) : owner_(owner), delayMs_(delayMs) {}

    // Shows and updates the window, and handles its own messages only: the
    // owner is disabled while the window shows, so it gets no input and is
    // not re-entered meanwhile.
    WaitChoice ContinueWaiting(const ExchangeProgress& progress) override;

private:
    static INT_PTR CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Open(const ExchangeProgress& progress);

    HWND owner_;
    std::uint64_t delayMs_;
    UniqueWindow window_;
    // Declared after the window, so that it goes first: the owner is enabled
    // before the window is destroyed and so gets the activation back.
    DisabledWindow disabledOwner_;
    std::uint64_t shownSeconds_ = ~std::uint64_t{0};
    WaitChoice choice_ = WaitChoice::KeepWaiting;
};

}  // namespace tuvex
