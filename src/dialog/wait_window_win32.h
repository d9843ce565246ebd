// The window that appears when a command takes its time: it shows what runs
// and lets the user stop waiting for it.
#pragma once

#include <windows.h>

#include "common/win32_resource.h"
#include "exec/child_process.h"

namespace tuvex {

class WaitWindow final : public ExchangeObserver {
public:
    // The window appears over `owner` (none for null) once the command has
    // run for `delayMs`; it closes when this object goes.
    explicit WaitWindow(HWND owner, std::uint64_t delayMs = 1000) : owner_(owner), delayMs_(delayMs) {}

    // Shows and updates the window, and handles its own messages only: the
    // owner gets no input and is not re-entered meanwhile.
    WaitChoice ContinueWaiting(const ExchangeProgress& progress) override;

private:
    static INT_PTR CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    std::uint64_t delayMs_;
    UniqueWindow window_;
    std::uint64_t shownSeconds_ = ~std::uint64_t{0};
    bool stopRequested_ = false;
};

}  // namespace tuvex
