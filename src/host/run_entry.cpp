#include "host/run_entry.h"

#include <windows.h>

#include "common/messages.h"
#include "common/tuvex_types.h"
#include "exec/child_process.h"
#include "exec/exit_status.h"
#include "host/run_with_wait_window.h"

namespace tuvex {

namespace {

// The text that the last call returned; valid until the next call.
ByteString runResult;

ByteString StringOrEmpty(const char* text)
{
    return text ? ByteString(text) : ByteString();
}

void ShowInMessageBox(const char* text)
{
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}

}  // namespace

const char* RunCommandOnText(const char* input, const char* command, const char* arguments) noexcept
{
    try {
        runResult.clear();
        ByteString errors;
        std::uint32_t exitStatus = 0;
        RunWithWaitWindow(nullptr, [&](const ExchangeOptions& options) {
            exitStatus = RunChildProcessText(StringOrEmpty(command), StringOrEmpty(arguments), StringOrEmpty(input),
                                             runResult, errors, options);
        });
        if (IsCrashExitCode(exitStatus)) {
            runResult.clear();  // a command cut off returns no text
        }
        if (!errors.empty()) {
            ShowInMessageBox(errors.c_str());
        }
        RaiseIfCrashed(exitStatus);
    } catch (const ErrorMessage& error) {
        ShowInMessageBox(error.text().c_str());
    } catch (...) {
        ShowInMessageBox(messages::kUnexpectedError);
    }
    return runResult.c_str();
}

}  // namespace tuvex
