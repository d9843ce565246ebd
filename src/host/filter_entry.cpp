#include "host/filter_entry.h"

#include <cstring>
#include <span>
#include <string_view>

#include "common/global_block_win32.h"
#include "common/module_location.h"
#include "common/win32_resource.h"
#include "exec/child_process.h"
#include "exec/command_parameter.h"
#include "host/command_runner.h"
#include "host/parameter_cut.h"
#include "host/text_conversion.h"
#include "menu/menu_popup_win32.h"

namespace tuvex {

namespace {

// The command from the parameter or, when there is none, from the popup
// menu of the filter's menu definition file.
CommandEntry ChooseCommand(HWND hostWindow, const char* parameter, const char* menuFileName)
{
    if (parameter != nullptr && *parameter != '\0') {
        RaiseIfTheBarCutACharacter(parameter);
        return ParseCommandParameter(parameter);
    }
    return ShowCommandMenu(hostWindow, ModuleFilePath(menuFileName));
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

// Tuvex: code page 932 both ways, converted in pieces as it moves.
struct CodePage932Crossing {
    explicit CodePage932Crossing(std::wstring_view text)
        : input(kCodePage932Text, text),
          // a filter mostly gives back about as much as it gets
          output(kCodePage932Text, text.size())
    {
    }
    UniqueGlobal Finish() { return output.Finish(); }

    EncodedText input;
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
    explicit Utf8Crossing(std::wstring_view text) : input(kUtf8Text, text), output(kUtf8Text, text.size()) {}
    UniqueGlobal Finish() { return output.Finish(); }

    EncodedText input;
    Utf16Decoder output;
};

// What every filter does: choose the command, run it on the text as
// `Crossing` carries it, and hand back its output when it is to replace the
// text. The wide filters show error output exactly as the child wrote it.
template <typename Crossing>
HGLOBAL RunFilter(HWND hostWindow, const wchar_t* text, const char* parameter, const char* menuFileName,
                  TextKind filterKind) noexcept
{
    const MessageOutlet outlet{hostWindow, filterKind, false};
    // cppcheck-suppress throwInNoexceptFunction
    return GuardCall<UniqueGlobal>(outlet, [&] {
               const CommandEntry entry = ChooseCommand(hostWindow, parameter, menuFileName);
               if (entry.command.empty()) {
                   return UniqueGlobal();
               }
               Crossing crossing(std::wstring_view(text ? text : L""));
               return RunCommand<UniqueGlobal>(
                   outlet,
                   [&](const ExchangeOptions& options, ByteSink& errors) {
                       return RunChildProcess(entry.command, entry.arguments, crossing.input, crossing.output, errors,
                                              options);
                   },
                   [&] { return crossing.Finish(); });
           })
        .release();
}

}  // namespace

HGLOBAL RunNarrowFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    return RunFilter<CodePage932Crossing>(hostWindow, text, parameter, "Tuvex.ini", TextKind::Multibyte);
}

HGLOBAL RunWideFilter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    return RunFilter<Utf16Crossing>(hostWindow, text, parameter, "TuvexW.ini", TextKind::Utf16);
}

HGLOBAL RunUtf8Filter(HWND hostWindow, const wchar_t* text, const char* parameter) noexcept
{
    return RunFilter<Utf8Crossing>(hostWindow, text, parameter, "TuvexUtf8.ini", TextKind::Utf8);
}

}  // namespace tuvex
