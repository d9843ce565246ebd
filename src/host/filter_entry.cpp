#include "host/filter_entry.h"

#include <cstring>
#include <cwchar>
#include <optional>

#include "common/messages.h"
#include "common/win32_resource.h"
#include "dialog/message_dialog_win32.h"
#include "host/run_with_wait_window.h"
#include "exec/child_process.h"
#include "exec/command_parameter.h"
#include "exec/exit_status.h"
#include "common/module_location.h"
#include "menu/menu_popup_win32.h"

namespace tuvex {

namespace {

constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);

// The command from the parameter or, when there is none, from the popup
// menu of the filter's menu definition file.
CommandEntry ChooseCommand(HWND hostWindow, const char* parameter, const char* menuFileName)
{
    if (parameter != nullptr && *parameter != '\0') {
        return ParseCommandParameter(parameter);
    }
    return ShowCommandMenu(hostWindow, ModuleFilePath(menuFileName));
}

// The "Japanese" locale (code page 932), made at the first conversion and
// freed when the module is unloaded.
_locale_t JapaneseLocale()
{
    static const UniqueLocale japanese(_create_locale(LC_ALL, "Japanese"));
    if (!japanese) {
        throw ErrorMessage(messages::kLocaleFailed);
    }
    return japanese.get();
}

[[noreturn]] void RaiseMemoryFailure()
{
    throw ErrorMessage(MessageWithCode(messages::kMemoryFailed, static_cast<std::uint32_t>(GetLastError())));
}

// A movable, zero-filled block of `size` bytes whose start `fill` writes.
template <typename Fill>
UniqueGlobal MakeBlock(std::size_t size, Fill fill)
{
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) {
        RaiseMemoryFailure();
    }
    void* data = GlobalLock(block.get());
    if (data == nullptr) {
        RaiseMemoryFailure();
    }
    std::memset(data, 0, size);
    fill(static_cast<char*>(data));
    GlobalUnlock(block.get());
    return block;
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

ByteString ToCodePage932(const wchar_t* text, _locale_t japanese)
{
    const std::size_t size = _wcstombs_l(nullptr, text, 0, japanese);
    // A character that code page 932 cannot hold: the child must never get a
    // text with that character dropped or replaced.
    if (size == kConversionFailed) {
        throw ErrorMessage(messages::kTextNotConvertible);
    }
    ByteString bytes(size, '\0');
    _wcstombs_l(bytes.data(), text, size, japanese);
    return bytes;
}

// The output up to its first zero byte, as a block of UTF-16 ending in a
// zero unit. Output that is not code page 932 text is never half converted.
UniqueGlobal ToUtf16Block(const ByteString& output, _locale_t japanese)
{
    const std::size_t units = _mbstowcs_l(nullptr, output.c_str(), 0, japanese);
    if (units == kConversionFailed) {
        throw ErrorMessage(messages::kOutputNotConvertible);
    }
    return MakeBlock((units + 1) * sizeof(wchar_t), [&](char* data) {
        _mbstowcs_l(reinterpret_cast<wchar_t*>(data), output.c_str(), units, japanese);
    });
}

// The output bytes unchanged, then a zero unit. Output of odd length gets
// one byte of padding first, so that the zero unit is whole.
UniqueGlobal ToByteBlock(const ByteBuffer& output)
{
    const std::size_t padding = output.size() % 2;
    return MakeBlock(output.size() + padding + sizeof(wchar_t),
                     [&](char* data) { std::memcpy(data, output.data(), output.size()); });
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
        const _locale_t japanese = JapaneseLocale();
        const ByteString input = ToCodePage932(text ? text : L"", japanese);
        ByteString output;
        ByteString errors;
        std::uint32_t exitStatus = 0;
        RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
            exitStatus = RunChildProcessText(entry.command, entry.arguments, input, output, errors, options);
        });
        if (IsCrashExitCode(exitStatus)) {
            output.clear();  // a command cut off never replaces the text
        }

        // The child's own words come first, then what went wrong with its
        // output.
        std::optional<ErrorMessage> outputFailure;
        if (!output.empty()) {
            try {
                result = ToUtf16Block(output, japanese);
            } catch (const ErrorMessage& failure) {
                outputFailure = failure;
            }
        }
        if (!errors.empty()) {
            ShowMessage(hostWindow, errors);
        }
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
        const auto* bytes = reinterpret_cast<const char*>(text);
        const ByteBuffer input(bytes, bytes + (text ? std::wcslen(text) * sizeof(wchar_t) : 0));
        ByteBuffer output;
        ByteBuffer errors;
        std::uint32_t exitStatus = 0;
        RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
            exitStatus = RunChildProcess(entry.command, entry.arguments, input, output, errors, options);
        });
        if (!output.empty() && !IsCrashExitCode(exitStatus)) {
            result = ToByteBlock(output);
        }
        if (!errors.empty()) {
            ShowMessageW(hostWindow, errors);
        }
        RaiseIfCrashed(exitStatus);
    });
}

}  // namespace tuvex
