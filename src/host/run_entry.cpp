#include "host/run_entry.h"

#include <windows.h>

#include <span>
#include <string_view>

#include "common/messages.h"
#include "common/tuvex_types.h"
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

void ShowInMessageBox(const char* text)
{
    MessageBoxA(nullptr, text, nullptr, MB_OK);
}

// A message box grows with its text and shows nothing of a text beyond
// 32767 characters under Wine: its error output is kept to less.
constexpr ErrorCaptureLimits kMessageBoxLimits{16 * 1024, 8 * 1024};

// The message box reads its text as multibyte, up to its first zero byte.
TextKind MessageBoxKind(std::string_view)
{
    return TextKind::Multibyte;
}

void ShowErrorOutput(const ErrorCapture& errors)
{
    if (!errors.empty()) {
        ShowInMessageBox(ErrorTextToShow(errors, &MessageBoxKind).c_str());
    }
}

}  // namespace

const char* RunCommandOnText(const char* input, const char* command, const char* arguments) noexcept
{
    try {
        runResult.clear();
        const ByteString inputText = StringOrEmpty(input);
        // Filled only once the child has ended whole: a failed or crashed
        // command returns no text.
        ByteString output;
        ErrorCapture errors(kMessageBoxLimits);
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
        if (!IsCrashExitCode(exitStatus)) {
            runResult = std::move(output);
        }
        ShowErrorOutput(errors);
        RaiseIfCrashed(exitStatus);
    } catch (const ErrorMessage& error) {
        ShowInMessageBox(error.text().c_str());
    } catch (...) {
        ShowInMessageBox(messages::kUnexpectedError);
    }
    return runResult.c_str();
}

}  // namespace tuvex
