#include "host/filter_entry.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>
#include <span>
#include <string_view>

#include "common/global_block_win32.h"
#include "common/messages.h"
#include "common/module_location.h"
#include "common/win32_resource.h"
#include "dialog/message_dialog_win32.h"
#include "exec/child_process.h"
#include "exec/command_parameter.h"
#include "exec/error_capture.h"
#include "exec/exit_status.h"
#include "host/error_output_first.h"
#include "host/run_with_wait_window.h"
#include "host/text_conversion.h"
#include "menu/menu_popup_win32.h"

namespace tuvex {

namespace {

// The command from the parameter or, when there is none, from the popup
// menu of the filter's menu definition file.
CommandEntry ChooseCommand(HWND hostWindow, const char* parameter, const char* menuFileName)
{
    if (parameter != nullptr && *parameter != '\0') {
        return ParseCommandParameter(parameter);
    }
    return ShowCommandMenu(hostWindow, ModuleFilePath(menuFileName));
}

// Shows a failure to the user; a failure to show it is not reported further.
void ReportFailure(HWND hostWindow, std::string_view message) noexcept
{
    try {
        ShowMessage(hostWindow, ByteString(message));
    } catch (...) {
    }
}

// Runs `body` under the catch that every filter call has: a raised message
// is shown, owned by the host window, and the call returns the block made
// so far (only the standard error's display comes after it).
template <typename Body>
HGLOBAL GuardFilterCall(HWND hostWindow, Body body) noexcept
{
    UniqueGlobal result;
    try {
        body(result);
    } catch (const ErrorMessage& error) {
        ReportFailure(hostWindow, error.text());
    } catch (...) {
        ReportFailure(hostWindow, messages::kUnexpectedError);
    }
    return result.release();
}

// The child's standard error in the message dialog, as much of it as was
// kept; nothing when it wrote none.
void ShowErrorOutput(HWND hostWindow, const ErrorCapture& errors)
{
    if (!errors.empty()) {
        ShowMessage(hostWindow, ErrorTextToShow(errors, &KindShownByShowMessage));
    }
}

// The same for TuvexW, whose error output may be UTF-16 or ANSI text.
void ShowWideErrorOutput(HWND hostWindow, const ErrorCapture& errors)
{
    if (!errors.empty()) {
        const ByteString text = ErrorTextToShow(errors, &KindShownByShowMessageW);
        ShowMessageW(hostWindow, ByteBuffer(text.begin(), text.end()));
    }
}

// Ends the output read into `block` with a zero unit, written in place.
// Output of odd length gets one byte of padding first, so that the zero
// unit is whole.
UniqueGlobal EndWideBlock(GrowingGlobalBlock& block)
{
    const std::size_t size = block.size();
    const std::size_t ending = size % 2 + sizeof(wchar_t);
    block.resize(size + ending);
    std::memset(block.data() + size, 0, ending);
    return block.Release();
}

}  // namespace

// The bodies below throw only into GuardFilterCall's catch.
HGLOBAL RunNarrowFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    // cppcheck-suppress throwInNoexceptFunction
    return GuardFilterCall(hostWindow, [&](UniqueGlobal& result) {
        const CommandEntry entry = ChooseCommand(hostWindow, parameter, "Tuvex.ini");
        if (entry.command.empty()) {
            return;
        }
        const std::wstring_view hostText(text ? text : L"");
        // The output is decoded into the block handed back as it arrives;
        // a filter mostly gives back about as much as it gets.
        Utf16FromCodePage932 output(hostText.size());
        ErrorCapture errors;
        std::uint32_t exitStatus = 0;
        {
            const GrowingGlobalBlock input = ToCodePage932(hostText);
            RunShowingErrorsBeforeFailure(
                [&] {
                    RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
                        exitStatus = RunChildProcess(entry.command, entry.arguments,
                                                     std::span<const char>(input.data(), input.size()), output,
                                                     errors, options);
                    });
                },
                [&] { ShowErrorOutput(hostWindow, errors); });
        }

        // The child's own words come first, then what went wrong with its
        // output. A command cut off never replaces the text.
        std::optional<ErrorMessage> outputFailure;
        if (!IsCrashExitCode(exitStatus)) {
            try {
                result = output.Finish();
            } catch (const ErrorMessage& failure) {
                outputFailure = failure;
            }
        }
        ShowErrorOutput(hostWindow, errors);
        RaiseIfCrashed(exitStatus);
        if (outputFailure) {
            throw *outputFailure;
        }
    });
}

HGLOBAL RunWideFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    // cppcheck-suppress throwInNoexceptFunction
    return GuardFilterCall(hostWindow, [&](UniqueGlobal& result) {
        const CommandEntry entry = ChooseCommand(hostWindow, parameter, "TuvexW.ini");
        if (entry.command.empty()) {
            return;
        }
        // The host's text stays as it is for the whole call: the child reads
        // it in place, and its output is read into the block handed back.
        const std::span<const char> input(reinterpret_cast<const char*>(text),
                                          text ? std::wcslen(text) * sizeof(wchar_t) : 0);
        GrowingGlobalBlock output;
        // A filter mostly gives back about as much as it gets: room for that
        // from the start spares the block moves (and a moment with two
        // copies of it) while it fills.
        output.reserve(input.size() + 1 + sizeof(wchar_t));
        ErrorCapture errors;
        std::uint32_t exitStatus = 0;
        RunShowingErrorsBeforeFailure(
            [&] {
                RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
                    exitStatus = RunChildProcess(entry.command, entry.arguments, input, output, errors, options);
                });
            },
            [&] { ShowWideErrorOutput(hostWindow, errors); });
        if (output.size() != 0 && !IsCrashExitCode(exitStatus)) {
            result = EndWideBlock(output);
        }
        ShowWideErrorOutput(hostWindow, errors);
        RaiseIfCrashed(exitStatus);
    });
}

}  // namespace tuvex
