// The filters and TuvexRun wait for their command under a wait window.
#pragma once

#include <windows.h>

#include "dialog/wait_window_win32.h"
#include "exec/child_process.h"

namespace tuvex {

// Runs `exchange` with options whose observer is a wait window over `owner`;
// the window is gone when this returns, before anything else is shown.
template <typename Exchange>
void RunWithWaitWindow(HWND owner, Exchange exchange)
{
    WaitWindow window(owner);
    ExchangeOptions options;
    options.observer = &window;
    exchange(options);
}

}  // namespace tuvex
