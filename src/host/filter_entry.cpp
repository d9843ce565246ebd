#include "host/filter_entry.h"

#include <cstdint>
#include <cstring>
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

// Shows a failure to the user; a failure to show it is not reported
// further.
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
// kept; nothing when it wrote none. The narrow filter's is shown as the
// module's own messages are.
void ShowErrorOutput(HWND hostWindow, const ErrorCapture& errors)
{
    if (!errors.empty()) {
        ShowMessage(hostWindow, ErrorTextToShow(errors, TextKind::Multibyte));
    }
}

// The same for TuvexW and TuvexUtf8, exactly as the child wrote it: UTF-16,
// UTF-8 or ANSI text.
template <TextKind filterKind>
void ShowWideErrorOutput(HWND hostWindow, const ErrorCapture& errors)
{
    if (!errors.empty()) {
        const ByteString text = ErrorTextToShow(errors, filterKind);
        ShowMessageW(hostWindow, ByteBuffer(text.begin(), text.end()), filterKind);
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

// How the text crosses to the child and back, one type per filter: `input`
// feeds the child, `output` takes what it writes, and Finish makes the
// block handed to the host of it (null when there is none), or raises when
// the output is not text. The constructor raises when the text cannot
// cross; nothing has run then.

// Tuvex: code page 932 both ways.
struct CodePage932Crossing {
    explicit CodePage932Crossing(std::wstring_view text)
        : bytes(ToCodePage932(text)),
          input(std::span<const char>(bytes.data(), bytes.size())),
          // a filter mostly gives back about as much as it gets
          output(kCodePage932Output, text.size())
    {
    }
    UniqueGlobal Finish() { return output.Finish(); }

    const GrowingGlobalBlock bytes;
    SpanSource input;
    Utf16Decoder output;
};

// TuvexW: the UTF-16 bytes both ways, unchanged. The host's text stays as it
// is for the whole call: the child reads it in place, and its output is read
// into the block handed back.
struct Utf16Crossing {
    explicit Utf16Crossing(std::wstring_view text)
        : input(std::span<const char>(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)))
    {
        // Room for as much as the child gets from the start spares the
        // block moves (and a moment with two copies of it) while it fills.
        block.reserve(text.size() * sizeof(wchar_t) + 1 + sizeof(wchar_t));
    }
    UniqueGlobal Finish() { return block.size() != 0 ? EndWideBlock(block) : UniqueGlobal(); }

    SpanSource input;
    GrowingGlobalBlock block;
    AppendingSink<GrowingGlobalBlock> output{block};
};

// TuvexUtf8: UTF-8 both ways, converted in pieces as it moves.
struct Utf8Crossing {
    explicit Utf8Crossing(std::wstring_view text) : input(text), output(kUtf8Output, text.size()) {}
    UniqueGlobal Finish() { return output.Finish(); }

    Utf8FromUtf16 input;
    Utf16Decoder output;
};

using ErrorDisplay = void (*)(HWND hostWindow, const ErrorCapture& errors);

// What every filter does: choose the command, run it on the text as
// `Crossing` carries it, hand back its output and show its error output.
template <typename Crossing>
HGLOBAL RunFilter(HWND hostWindow, const wchar_t* text, const char* parameter, const char* menuFileName,
                  ErrorDisplay showErrors) noexcept
{
    // cppcheck-suppress throwInNoexceptFunction
    return GuardFilterCall(hostWindow, [&](UniqueGlobal& result) {
        const CommandEntry entry = ChooseCommand(hostWindow, parameter, menuFileName);
        if (entry.command.empty()) {
            return;
        }
        Crossing crossing(std::wstring_view(text ? text : L""));
        ErrorCapture errors;
        std::uint32_t exitStatus = 0;
        RunShowingErrorsBeforeFailure(
            [&] {
                RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
                    exitStatus = RunChildProcess(entry.command, entry.arguments, crossing.input, crossing.output,
                                                 errors, options);
                });
            },
            [&] { showErrors(hostWindow, errors); });

        // The child's own words come first, then what went wrong with its
        // output. A command cut off never replaces the text.
        std::optional<ErrorMessage> outputFailure;
        if (!IsCrashExitCode(exitStatus)) {
            try {
                result = crossing.Finish();
            } catch (const ErrorMessage& failure) {
                outputFailure = failure;
            }
        }
        showErrors(hostWindow, errors);
        RaiseIfCrashed(exitStatus);
        if (outputFailure) {
            throw *outputFailure;
        }
    });
}

}  // namespace

HGLOBAL RunNarrowFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    return RunFilter<CodePage932Crossing>(hostWindow, text, parameter, "Tuvex.ini", &ShowErrorOutput);
}

HGLOBAL RunWideFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    return RunFilter<Utf16Crossing>(hostWindow, text, parameter, "TuvexW.ini", &ShowWideErrorOutput<TextKind::Utf16>);
}

HGLOBAL RunUtf8Filter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    return RunFilter<Utf8Crossing>(hostWindow, text, parameter, "TuvexUtf8.ini", &ShowWideErrorOutput<TextKind::Utf8>);
}

}  // namespace tuvex
