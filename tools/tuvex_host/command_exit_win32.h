// The exit code of the command that the module starts, seen from outside:
// the module returns only the text.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "common/win32_resource.h"

namespace tuvex::host {

// While it lives, a thread looks out for the first process that this program
// starts (the module's command; a "#!" script's program) and holds it, so
// that its exit code can be read once it has ended. A command that ends
// before the first look, a few milliseconds, is not seen.
class CommandExitWatch {
public:
    CommandExitWatch();
    ~CommandExitWatch();
    CommandExitWatch(const CommandExitWatch&) = delete;
    CommandExitWatch& operator=(const CommandExitWatch&) = delete;

    // Stops looking; then the line to print after the run: its exit code, or
    // that it still runs; none when no command was seen.
    std::optional<std::string> Finish();

private:
    void Watch();

    std::set<DWORD> before_;  // the children that were there already
    UniqueHandle stop_;
    UniqueHandle command_;  // written by the thread until it has ended
    DWORD commandId_ = 0;
    std::thread thread_;
};

}  // namespace tuvex::host
