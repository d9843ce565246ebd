// tuvex_host --timeout: a command that runs too long is ended as the user
// ends it, with the wait window's "コマンドを終了" button.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "common/win32_resource.h"

namespace tuvex::host {

// While it lives, a thread waits `timeoutMs`, then presses the end button of
// this process's wait window as soon as one shows. The module then ends the
// command and all it started, keeps the text and says so, as it does for the
// user; nothing of the module's inside is reached from here. The window
// shows once a command has run for a second, so no command is ended sooner.
class CommandTimeout {
public:
    explicit CommandTimeout(DWORD timeoutMs);
    ~CommandTimeout();
    CommandTimeout(const CommandTimeout&) = delete;
    CommandTimeout& operator=(const CommandTimeout&) = delete;

    // Whether the button was pressed.
    bool fired() const { return fired_; }

private:
    void Watch(DWORD timeoutMs);

    UniqueHandle stop_;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

}  // namespace tuvex::host
