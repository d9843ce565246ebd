#include "host/run_entry.h"

#include <windows.h>

#include <span>
#include <string_view>

#include "common/messages.h"
#include "common/tuvex_types.h"
#include "dialog/message_dialog.h"
#include "dialog/message_dialog_win32.h"
#include "exec/child_process.h"
#include "exec/error_capture.h"
#include "exec/exit_status.h"
#include "host/error_output_first.h"
#include "host/run_with_wait_window.h"

namespace tuvex {

namespace {

// The text that the last call returned; valid until the next call.
ByteString runResult;

ByteString StringOrEmpty(const char* text)
{
    return text ? ByteString(text) : ByteString();
}

// A message box grows with its text: a long one goes to the message window,
// which scrolls. Neither has an owner, as TuvexRun is given no window.
void ShowWithoutOwner(const ByteString& text)
{
    ShowMessageWithoutOwner(text);
}

// Error output that had to be shortened is too long for a message box, so
// it is written for the message window.
void ShowErrorOutput(const ErrorCapture& errors)
{
    if (!errors.empty()) {
        ShowWithoutOwner(ErrorTextToShow(errors, TextKind::Multibyte));
    }
}

}  // namespace

const char* RunCommandOnText(const char* input, const char* command, const char* arguments) noexcept
{
    // The output stays this call's own until its boxes have closed: a call
    // made from within a box's message loop fills the result in between.
    ByteString output;
    runResult.clear();
    try {
        const ByteString inputText = StringOrEmpty(input);
        ErrorCapture errors;
        std::uint32_t exitStatus = 0;
        RunShowingErrorsBeforeFailure(
            [&] {
                RunWithWaitWindow(nullptr, [&](const ExchangeOptions& options) {
                    exitStatus = RunChildProcess(StringOrEmpty(command), StringOrEmpty(arguments),
                                                 std::span<const char>(inputText.data(), inputText.size()), output,
                                                 errors, options);
                });
            },
            [&] { ShowErrorOutput(errors); });
        if (IsCrashExitCode(exitStatus)) {
            output.clear();  // a command cut off returns no text
        }
        ShowErrorOutput(errors);
        RaiseIfCrashed(exitStatus);
    } catch (const ErrorMessage& error) {
        output.clear();
        ShowWithoutOwner(error.text());
    } catch (...) {
        output.clear();
        ShowWithoutOwner(messages::kUnexpectedError);
    }
    runResult = std::move(output);
    return runResult.c_str();
}

}  // namespace tuvex
