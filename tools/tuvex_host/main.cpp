// tuvex_host: loads Tuvex.dll as an editor does and runs its filters on a
// text file, so that a filter can be tried without the editor; and checks a
// menu definition file and the settings file.
#include <windows.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/win32_resource.h"
#include "host/exports.h"
#include "command_exit_win32.h"
#include "command_timeout_win32.h"
#include "host_io_win32.h"
#include "host_options.h"
#include "menu_command_win32.h"
#include "message_watcher_win32.h"
#include "module_machine.h"
#include "settings_command_win32.h"
#include "text_encoding.h"
#include "windows_check_win32.h"

namespace {

using namespace tuvex::host;
using tuvex::FilterRegistrationRecord;
using tuvex::UniqueGlobal;
using tuvex::UniqueHandle;
using tuvex::UniqueModule;
using tuvex::UniqueWindow;

using Filter = decltype(&Tuvex);

template <typename Function>
Function ExportOf(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const char kUsage[] =
    "Usage: tuvex_host [--dll PATH] COMMAND ...\n"
    "\n"
    "Loads Tuvex.dll (beside this program, or PATH) as an editor does and calls it.\n"
    "\n"
    "  tuvex_host list\n"
    "      Lists the filters that the module offers and its interface version.\n"
    "  tuvex_host filter NAME [--param PARAMETER] [--in FILE] [--out FILE]\n"
    "      Runs the filter NAME (Tuvex, TuvexW or TuvexUtf8) on the text of FILE (or\n"
    "      standard input) with PARAMETER, \"command|arguments\". Without --param the\n"
    "      filter shows its command menu at the mouse, over a window of this program.\n"
    "  tuvex_host run COMMAND [\"ARGUMENTS\"] [--in FILE] [--out FILE]\n"
    "      Runs COMMAND through TuvexRun on the text of FILE (or standard input);\n"
    "      the arguments are one word: tuvex_host run find \"/c \\\"line\\\"\"\n"
    "  tuvex_host menu [Tuvex | TuvexW | TuvexUtf8 | FILE]\n"
    "      Shows the menu that a menu file gives and each line that gives nothing,\n"
    "      something unmeant or a command found nowhere. Tuvex, TuvexW, TuvexUtf8\n"
    "      or a name without a folder is the file beside the module (\".ini\" added\n"
    "      when the name has no extension); a path with a folder is taken as\n"
    "      written, from the current folder (.\\my.ini). Exit status: 0 nothing\n"
    "      found, 1 findings, 2 file unreadable.\n"
    "  tuvex_host conf [FILE]\n"
    "      Says what the settings file Tuvex.conf beside the module (or FILE) asks\n"
    "      of the module, read as the module reads it, and names a value that the\n"
    "      module does not know. Exit status: 0 nothing found, 1 findings.\n"
    "  tuvex_host check\n"
    "      Tries each behaviour of Windows that the module relies on and prints a\n"
    "      table (what, expected, got, PASS/FAIL/NOTE) to paste into a report. It\n"
    "      opens a window and a menu for a moment and clicks beside the menu.\n"
    "      Exit status: 0 all as expected, 1 a row failed.\n"
    "\n"
    "Options of filter and run:\n"
    "  --encoding cp932|utf-8|utf-16\n"
    "      The encoding of the input. Without it: a byte-order mark (UTF-8 or\n"
    "      UTF-16LE), else UTF-8 when the text is valid UTF-8, else cp932. An input\n"
    "      that is no text in its encoding is refused, naming its first byte that\n"
    "      does not fit.\n"
    "  --out-encoding utf-8|cp932|utf-16\n"
    "      The encoding of the result: UTF-8 (the default), Shift_JIS, or UTF-16LE\n"
    "      without a byte-order mark.\n"
    "  --messages console|window\n"
    "      console: the module's messages are printed to standard error and their\n"
    "      windows closed (the default when standard input is not a console);\n"
    "      window: they stay on screen until closed.\n"
    "  --timeout SECONDS\n"
    "      Ends a command that still runs after SECONDS as the wait window's\n"
    "      \"end command\" button does (the command and all it started; no text\n"
    "      comes back), no sooner than the window shows after a second. Exit\n"
    "      status 124.\n"
    "  --\n"
    "      Every word after it is a word, not an option: tuvex_host run perl -- --help\n"
    "\n"
    "The result is written to FILE (or standard output). After the run the\n"
    "command's own exit code is printed to standard error (\"exit code of the\n"
    "command: N\"), or that it still runs. The exit status of tuvex_host is its\n"
    "own, not the command's: 0 with a result, 1 when nothing came back (after a\n"
    "message, or from a command that wrote nothing), 2 for a usage or file\n"
    "error, 124 after --timeout.\n";

// Exit status of a command ended by --timeout, as the timeout command gives it.
constexpr int kTimedOut = 124;

std::wstring FromAnsi(const std::string& text) { return Decode(text, CP_ACP); }

int Fail(const std::wstring& message)
{
    WriteText(GetStdHandle(STD_ERROR_HANDLE), L"tuvex_host: " + message + L"\n");
    return 2;
}

// What is wrong and where the usage is: the whole of it would bury the line
// that matters.
int FailUsage(const std::string& problem)
{
    Fail(FromAnsi(problem));
    WriteText(GetStdHandle(STD_ERROR_HANDLE), L"For the usage: tuvex_host --help\n");
    return 2;
}

// The result's text in the encoding asked for; nothing, after the reason has
// been printed, when code page 932 lacks one of its characters.
std::optional<std::string> EncodedResult(const std::wstring& text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16:
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    case TextEncoding::Cp932: {
        const std::optional<std::string> bytes = EncodeExactly(text, 932);
        if (!bytes) {
            Fail(L"the result holds a character that code page 932 lacks: write it with --out-encoding utf-8 "
                 L"or utf-16");
        }
        return bytes;
    }
    case TextEncoding::Utf8:
        break;
    }
    return Encode(text, CP_UTF8);
}

bool WriteOutput(const std::string& path, const std::string& bytes)
{
    if (path.empty()) {
        return WriteBytes(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
    }
    const UniqueHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    return file && WriteBytes(file.get(), bytes);
}

// The input text, or nothing after the reason has been printed.
std::optional<std::wstring> ReadInputText(const HostOptions& options)
{
    DWORD error = ERROR_SUCCESS;
    const std::optional<std::string> bytes = options.in.empty()
                                                 ? ReadAllBytes(GetStdHandle(STD_INPUT_HANDLE), error)
                                                 : ReadFileBytes(options.in, error);
    if (!bytes) {
        Fail(L"cannot read " + (options.in.empty() ? L"standard input" : FromAnsi(options.in)) + L": " +
             SystemMessage(error));
        return std::nullopt;
    }
    // Text that does not fit its encoding would reach the module garbled.
    const std::string problem = InputEncodingProblem(*bytes, options.encoding);
    if (!problem.empty()) {
        Fail(FromAnsi(problem));
        return std::nullopt;
    }
    const EncodedText input = DetectTextEncoding(*bytes, options.encoding);
    if (input.encoding == TextEncoding::Utf16) {
        std::wstring text(input.body.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), input.body.data(), text.size() * sizeof(wchar_t));
        return text;
    }
    return Decode(input.body, input.encoding == TextEncoding::Utf8 ? CP_UTF8 : 932);
}

// A plain visible window to own the command menu, as an editor's would.
UniqueWindow MakeOwnerWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TuvexHostWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"TuvexHostWindow", L"tuvex_host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    return UniqueWindow(window);
}

// The text of a filter's result block: UTF-16 up to its first zero unit.
std::wstring BlockText(const UniqueGlobal& block)
{
    const SIZE_T size = GlobalSize(block.get());
    const auto* units = static_cast<const wchar_t*>(GlobalLock(block.get()));
    std::wstring text(units, wcsnlen(units, size / sizeof(wchar_t)));
    GlobalUnlock(block.get());
    return text;
}

std::string ModuleFolderOf(const std::string& dllPath) { return dllPath.substr(0, dllPath.find_last_of("\\/") + 1); }

std::string DefaultDllPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ModuleFolderOf(path) + "Tuvex.dll";
}

std::vector<std::string> FilterNames(HMODULE module)
{
    std::vector<std::string> names;
    if (const auto enumerate = ExportOf<decltype(&EnumVelmoranFilter)>(module, "EnumVelmoranFilter")) {
        for (const FilterRegistrationRecord* record = enumerate(); record->structSize != 0; ++record) {
            names.emplace_back(record->exportName);
        }
    }
    return names;
}

int List(HMODULE module)
{
    const auto enumerate = ExportOf<decltype(&EnumVelmoranFilter)>(module, "EnumVelmoranFilter");
    const auto version = ExportOf<decltype(&VelmoranFilterGetVersion)>(module, "VelmoranFilterGetVersion");
    if (!enumerate || !version) {
        return Fail(L"the module lacks EnumVelmoranFilter or VelmoranFilterGetVersion");
    }
    const unsigned value = version();
    std::string listing =
        "interface version " + std::to_string(value >> 16) + "." + std::to_string(value & 0xFFFF) + "\n";
    for (const FilterRegistrationRecord* record = enumerate(); record->structSize != 0; ++record) {
        listing += std::string(record->exportName) + "\t" + Encode(Decode(record->displayName, 932), CP_UTF8) + "\n";
    }
    return WriteOutput("", listing) ? 0 : 2;
}

// Runs `call` with the module's messages printed and closed, or left on
// screen; returns what `call` returns.
template <typename Call>
auto WithMessages(MessageMode mode, Call call)
{
    if (mode == MessageMode::Window) {
        return call();
    }
    const MessageWatcher watcher(GetStdHandle(STD_ERROR_HANDLE));
    return call();
}

// The command's exit code, after its messages; nothing when no command ran.
void PrintCommandEnd(CommandExitWatch& watch)
{
    if (const std::optional<std::string> line = watch.Finish()) {
        WriteText(GetStdHandle(STD_ERROR_HANDLE), L"tuvex_host: " + FromAnsi(*line) + L"\n");
    }
}

int RunFilter(HMODULE module, const HostOptions& options, MessageMode messages)
{
    const std::string& name = options.words[0];
    const std::string problem = UnknownFilterProblem(name, FilterNames(module));
    if (!problem.empty()) {
        return Fail(FromAnsi(problem));
    }
    const auto filter = ExportOf<Filter>(module, name.c_str());
    if (!filter) {
        return Fail(L"the module does not export its filter " + FromAnsi(name));
    }
    const std::optional<std::wstring> text = ReadInputText(options);
    if (!text) {
        return 2;
    }
    const UniqueWindow owner = options.parameter ? UniqueWindow() : MakeOwnerWindow();
    // Arguments arrive in the ANSI code page, as an editor holds the parameter.
    CommandExitWatch watch;
    const UniqueGlobal block(WithMessages(messages, [&] {
        return filter(owner.get(), text->c_str(), options.parameter ? options.parameter->c_str() : nullptr);
    }));
    PrintCommandEnd(watch);
    if (!block) {
        return 1;
    }
    const std::optional<std::string> result = EncodedResult(BlockText(block), options.outEncoding);
    return result && WriteOutput(options.out, *result) ? 0 : 2;
}

int RunCommand(HMODULE module, const HostOptions& options, MessageMode messages)
{
    const auto run = ExportOf<decltype(&TuvexRun)>(module, "TuvexRun");
    if (!run) {
        return Fail(L"the module has no TuvexRun");
    }
    const std::optional<std::wstring> text = ReadInputText(options);
    if (!text) {
        return 2;
    }
    const std::string ansiInput = Encode(*text, CP_ACP);
    const std::string arguments = options.words.size() > 1 ? options.words[1] : std::string();
    CommandExitWatch watch;
    const std::string result = WithMessages(
        messages, [&] { return std::string(run(ansiInput.c_str(), options.words[0].c_str(), arguments.c_str())); });
    PrintCommandEnd(watch);
    const std::optional<std::string> encoded = EncodedResult(Decode(result, CP_ACP), options.outEncoding);
    if (!encoded || !WriteOutput(options.out, *encoded)) {
        return 2;
    }
    return result.empty() ? 1 : 0;
}

// Runs a filter or TuvexRun with the command ended after the timeout, if one
// is given.
int RunBounded(const HostOptions& options, const std::function<int()>& call)
{
    if (!options.timeoutMs) {
        return call();
    }
    std::optional<CommandTimeout> timeout(std::in_place, *options.timeoutMs);
    const int status = call();
    const bool ended = timeout->fired();
    timeout.reset();
    if (!ended) {
        return status;
    }
    Fail(L"the command still ran after the timeout of " + std::to_wstring(*options.timeoutMs) +
         L" ms and was ended");
    return kTimedOut;
}

// Why the module cannot be loaded: for a DLL of the other width, or no DLL,
// what it is; otherwise the system's words.
std::wstring LoadFailure(const std::string& dllPath, DWORD error)
{
    DWORD readError = ERROR_SUCCESS;
    const std::optional<std::string> bytes = error == ERROR_BAD_EXE_FORMAT ? ReadFileBytes(dllPath, readError)
                                                                          : std::nullopt;
    if (bytes) {
        return FromAnsi(WrongMachineProblem(dllPath, MachineOfModule(*bytes), sizeof(void*) == 8));
    }
    return L"cannot load " + FromAnsi(dllPath) + L": " + SystemMessage(error, FromAnsi(dllPath));
}

MessageMode DefaultMessageMode()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) ? MessageMode::Window : MessageMode::Console;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        return WriteOutput("", kUsage) ? 0 : 2;
    }
    const ParsedArguments parsed = ParseHostArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.problem.empty()) {
        return FailUsage(parsed.problem);
    }
    const HostOptions& options = parsed.options;
    const std::string dllPath = options.dll.empty() ? DefaultDllPath() : options.dll;
    if (options.command == "menu") {
        return CheckMenuFile(ModuleFolderOf(dllPath), options.words.empty() ? "Tuvex" : options.words[0]);
    }
    if (options.command == "conf") {
        return CheckSettingsFile(ModuleFolderOf(dllPath), options.words.empty() ? "" : options.words[0]);
    }
    const UniqueModule module(LoadLibraryA(dllPath.c_str()));
    if (!module) {
        return Fail(LoadFailure(dllPath, GetLastError()));
    }
    const MessageMode messages = options.messages.value_or(DefaultMessageMode());
    if (options.command == "list") {
        return List(module.get());
    }
    if (options.command == "check") {
        return RunWindowsCheck(module.get());
    }
    if (options.command == "filter") {
        return RunBounded(options, [&] { return RunFilter(module.get(), options, messages); });
    }
    return RunBounded(options, [&] { return RunCommand(module.get(), options, messages); });
}
