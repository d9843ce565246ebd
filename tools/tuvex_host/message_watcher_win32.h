// Prints the module's messages to a stream instead of leaving them on screen.
#pragma once

#include <windows.h>

#include <atomic>
#include <set>
#include <thread>

namespace tuvex::host {

// While it lives, a thread finds each message dialog and message box of this
// process, writes its text to `stream` and closes it. The wait window, which
// ends by itself, is left alone.
class MessageWatcher {
public:
    explicit MessageWatcher(HANDLE stream);
    ~MessageWatcher();
    MessageWatcher(const MessageWatcher&) = delete;
    MessageWatcher& operator=(const MessageWatcher&) = delete;

    bool anyShown() const { return shown_; }

private:
    void Watch();

    HANDLE stream_;
    std::set<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> shown_{false};
    std::thread thread_;
};

}  // namespace tuvex::host
