#include "host/filter_entry.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>

#include "common/global_block_win32.h"
#include "common/messages.h"
#include "common/module_location.h"
#include "common/win32_resource.h"
#include "dialog/message_dialog_win32.h"
#include "exec/child_process.h"
#include "exec/command_parameter.h"
#include "exec/exit_status.h"
#include "host/run_with_wait_window.h"
#include "menu/menu_popup_win32.h"

namespace tuvex {

namespace {

constexpr UINT kCodePage932 = 932;
// Units converted per call: the conversion functions count in int.
constexpr std::size_t kUnitsPerConversion = std::size_t(1) << 20;

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

// How many characters at the start of `text` are ASCII. Code page 932 holds
// them as single bytes of the same values, so they cross without the
// conversion functions, which are slow with the checks asked of them below.
template <typename Char>
std::size_t AsciiPrefixLength(std::basic_string_view<Char> text)
{
    const auto beyond = std::find_if(text.begin(), text.end(), [](Char c) {
        return static_cast<std::make_unsigned_t<Char>>(c) >= 0x80;
    });
    return static_cast<std::size_t>(beyond - text.begin());
}

// The text in code page 932. A character that the code page lacks is never
// replaced by a look-alike ("é" by "e", "¥" by a backslash): the child must
// get the text as written or not at all. The text is converted in pieces, so
// its length has no limit; a surrogate pair cut in two is refused like a
// whole one, since the code page holds no character beyond U+FFFF.
GrowingGlobalBlock ToCodePage932(std::wstring_view text)
{
    GrowingGlobalBlock bytes;
    const std::size_t ascii = AsciiPrefixLength(text);
    bytes.reserve(ascii + (text.size() - ascii) * 2);  // a unit gives at most two bytes
    bytes.resize(ascii);
    std::transform(text.begin(), text.begin() + ascii, bytes.data(), [](wchar_t c) { return static_cast<char>(c); });
    text.remove_prefix(ascii);
    while (!text.empty()) {
        const std::size_t units = std::min(text.size(), kUnitsPerConversion);
        const std::size_t converted = bytes.size();
        bytes.resize(converted + units * 2);
        BOOL usedDefault = FALSE;
        const int written = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, text.data(),
                                                static_cast<int>(units), bytes.data() + converted,
                                                static_cast<int>(units * 2), nullptr, &usedDefault);
        if (written == 0 || usedDefault) {
            throw ErrorMessage(messages::kTextNotConvertible);
        }
        bytes.resize(converted + static_cast<std::size_t>(written));
        text.remove_prefix(units);
    }
    return bytes;
}

// The output up to its first zero byte, as a block of UTF-16 ending in a
// zero unit. Output that is not code page 932 text is never half converted.
UniqueGlobal ToUtf16Block(std::string_view output)
{
    output = output.substr(0, output.find('\0'));
    // The conversion counts in int, and the block must stay addressable.
    if (output.size() > std::min<std::size_t>(INT_MAX, SIZE_MAX / sizeof(wchar_t) - 1)) {
        throw ErrorMessage(messages::kOutputTooLarge);
    }
    GrowingGlobalBlock block;
    block.resize((output.size() + 1) * sizeof(wchar_t));  // a byte gives at most one unit
    auto* const units = reinterpret_cast<wchar_t*>(block.data());
    const std::size_t ascii = AsciiPrefixLength(output);
    std::transform(output.begin(), output.begin() + ascii, units, [](char c) { return static_cast<wchar_t>(c); });
    const std::string_view rest = output.substr(ascii);
    std::size_t count = ascii;
    if (!rest.empty()) {
        const int converted = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, rest.data(),
                                                  static_cast<int>(rest.size()), units + ascii,
                                                  static_cast<int>(rest.size()));
        if (converted == 0) {
            throw ErrorMessage(messages::kOutputNotConvertible);
        }
        count += static_cast<std::size_t>(converted);
    }
    units[count] = L'\0';
    block.resize((count + 1) * sizeof(wchar_t));
    return block.Release();
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
        // The output is read into a block with room for as much as the
        // input; the input is freed before the output is converted, so the
        // two conversions never need room at the same time.
        GrowingGlobalBlock output;
        ByteBuffer errors;
        std::uint32_t exitStatus = 0;
        {
            const GrowingGlobalBlock input = ToCodePage932(text ? text : L"");
            output.reserve(input.size());
            RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
                exitStatus = RunChildProcess(entry.command, entry.arguments,
                                             std::span<const char>(input.data(), input.size()), output, errors,
                                             options);
            });
        }
        if (IsCrashExitCode(exitStatus)) {
            output.resize(0);  // a command cut off never replaces the text
        }

        // The child's own words come first, then what went wrong with its
        // output.
        std::optional<ErrorMessage> outputFailure;
        if (output.size() != 0) {
            try {
                result = ToUtf16Block(std::string_view(output.data(), output.size()));
            } catch (const ErrorMessage& failure) {
                outputFailure = failure;
            }
        }
        if (!errors.empty()) {
            ShowMessage(hostWindow, ByteString(errors.begin(), errors.end()));
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
        // The host's text stays as it is for the whole call: the child reads
        // it in place, and its output is read into the block handed back.
        const std::span<const char> input(reinterpret_cast<const char*>(text),
                                          text ? std::wcslen(text) * sizeof(wchar_t) : 0);
        GrowingGlobalBlock output;
        // A filter mostly gives back about as much as it gets: room for that
        // from the start spares the block moves (and a moment with two
        // copies of it) while it fills.
        output.reserve(input.size() + 1 + sizeof(wchar_t));
        ByteBuffer errors;
        std::uint32_t exitStatus = 0;
        RunWithWaitWindow(hostWindow, [&](const ExchangeOptions& options) {
            exitStatus = RunChildProcess(entry.command, entry.arguments, input, output, errors, options);
        });
        if (output.size() != 0 && !IsCrashExitCode(exitStatus)) {
            result = EndWideBlock(output);
        }
        if (!errors.empty()) {
            ShowMessageW(hostWindow, errors);
        }
        RaiseIfCrashed(exitStatus);
    });
}

}  // namespace tuvex
