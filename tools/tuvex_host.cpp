// tuvex_host: loads Tuvex.dll as an editor does and runs its filters on a
// text file, so that a filter can be tried without the editor.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/win32_resource.h"
#include "host/exports.h"

namespace {

using tuvex::FilterRegistrationRecord;
using tuvex::UniqueGlobal;
using tuvex::UniqueHandle;
using tuvex::UniqueModule;
using tuvex::UniqueWindow;

using EnumFilters = decltype(&EnumVelmoranFilter);
using GetVersion = decltype(&VelmoranFilterGetVersion);
using Filter = HGLOBAL(__cdecl*)(HWND, const wchar_t*, const char*);
using Run = decltype(&TuvexRun);

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
    "      Runs the filter NAME (Tuvex or TuvexW) on the text of FILE (or standard\n"
    "      input) with PARAMETER, \"command|arguments\". Without --param the filter\n"
    "      shows its command menu at the mouse, over a window of this program.\n"
    "  tuvex_host run COMMAND [ARGUMENTS] [--in FILE] [--out FILE]\n"
    "      Runs COMMAND through TuvexRun on the text of FILE (or standard input).\n"
    "\n"
    "Input is UTF-8 (with or without a byte-order mark) or UTF-16LE with a\n"
    "byte-order mark. The result is written as UTF-8 to FILE (or standard\n"
    "output). Exit status: 0 with a result, 1 when the filter returned nothing,\n"
    "2 for a usage or file error.\n";

int Fail(const std::string& message)
{
    std::fprintf(stderr, "tuvex_host: %s\n", message.c_str());
    return 2;
}

bool ReadAll(HANDLE source, std::string& bytes)
{
    char chunk[65536];
    DWORD received = 0;
    while (ReadFile(source, chunk, sizeof chunk, &received, nullptr) && received > 0) {
        bytes.append(chunk, received);
    }
    return true;
}

// The opened file, or null (CreateFile's failure value is not null).
UniqueHandle OpenFile(const std::string& path, DWORD access, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, 0, nullptr);
    return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool ReadInput(const std::string& path, std::string& bytes)
{
    if (path.empty()) {
        return ReadAll(GetStdHandle(STD_INPUT_HANDLE), bytes);
    }
    const UniqueHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    return file && ReadAll(file.get(), bytes);
}

bool WriteAll(HANDLE target, const std::string& bytes)
{
    DWORD written = 0;
    return bytes.empty() || WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool WriteOutput(const std::string& path, const std::string& bytes)
{
    if (path.empty()) {
        return WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
    }
    const UniqueHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    return file && WriteAll(file.get(), bytes);
}

std::wstring Decode(const std::string& bytes, UINT codePage)
{
    if (bytes.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

std::string Encode(const std::wstring& text, UINT codePage)
{
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

// UTF-16LE with a byte-order mark, or UTF-8 with or without one.
std::wstring DecodeInput(const std::string& bytes)
{
    if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return Decode(bytes.substr(3), CP_UTF8);
    }
    return Decode(bytes, CP_UTF8);
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

struct Options {
    std::string dll;
    std::string command;
    std::vector<std::string> words;
    std::string parameter;
    bool hasParameter = false;
    std::string in;
    std::string out;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool hasValue = i + 1 < argc;
        if ((word == "--dll" || word == "--param" || word == "--in" || word == "--out") && !hasValue) {
            return false;
        }
        if (word == "--dll") {
            options.dll = argv[++i];
        } else if (word == "--param") {
            options.parameter = argv[++i];
            options.hasParameter = true;
        } else if (word == "--in") {
            options.in = argv[++i];
        } else if (word == "--out") {
            options.out = argv[++i];
        } else if (options.command.empty()) {
            options.command = word;
        } else {
            options.words.push_back(word);
        }
    }
    return !options.command.empty();
}

std::string DefaultDllPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of("\\/") + 1) + "Tuvex.dll";
}

int List(HMODULE module)
{
    const auto enumerate = ExportOf<EnumFilters>(module, "EnumVelmoranFilter");
    const auto version = ExportOf<GetVersion>(module, "VelmoranFilterGetVersion");
    if (!enumerate || !version) {
        return Fail("the module lacks EnumVelmoranFilter or VelmoranFilterGetVersion");
    }
    const unsigned value = version();
    std::string listing = "interface version " + std::to_string(value >> 16) + "." + std::to_string(value & 0xFFFF) + "\n";
    for (const FilterRegistrationRecord* record = enumerate(); record->structSize != 0; ++record) {
        listing += std::string(record->exportName) + "\t" + Encode(Decode(record->displayName, CP_ACP), CP_UTF8) + "\n";
    }
    return WriteOutput("", listing) ? 0 : 2;
}

int RunFilter(HMODULE module, const Options& options)
{
    if (options.words.size() != 1) {
        return Fail("filter takes one name: Tuvex or TuvexW");
    }
    const auto filter = ExportOf<Filter>(module, options.words[0].c_str());
    if (!filter) {
        return Fail("the module has no filter " + options.words[0]);
    }
    std::string input;
    if (!ReadInput(options.in, input)) {
        return Fail("cannot read " + options.in);
    }
    const std::wstring text = DecodeInput(input);
    const UniqueWindow owner = options.hasParameter ? UniqueWindow() : MakeOwnerWindow();
    // Arguments arrive in the ANSI code page, as an editor holds the parameter.
    const UniqueGlobal block(
        filter(owner.get(), text.c_str(), options.hasParameter ? options.parameter.c_str() : nullptr));
    if (!block) {
        return 1;
    }
    return WriteOutput(options.out, Encode(BlockText(block), CP_UTF8)) ? 0 : 2;
}

int RunCommand(HMODULE module, const Options& options)
{
    if (options.words.empty() || options.words.size() > 2) {
        return Fail("run takes a command and, optionally, its arguments");
    }
    const auto run = ExportOf<Run>(module, "TuvexRun");
    if (!run) {
        return Fail("the module has no TuvexRun");
    }
    std::string input;
    if (!ReadInput(options.in, input)) {
        return Fail("cannot read " + options.in);
    }
    const std::string ansiInput = Encode(DecodeInput(input), CP_ACP);
    const std::string arguments = options.words.size() > 1 ? options.words[1] : std::string();
    const std::string result = run(ansiInput.c_str(), options.words[0].c_str(), arguments.c_str());
    if (!WriteOutput(options.out, Encode(Decode(result, CP_ACP), CP_UTF8))) {
        return 2;
    }
    return result.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        WriteOutput("", kUsage);
        return 0;
    }
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string dllPath = options.dll.empty() ? DefaultDllPath() : options.dll;
    const UniqueModule module(LoadLibraryA(dllPath.c_str()));
    if (!module) {
        return Fail("cannot load " + dllPath + " (error " + std::to_string(GetLastError()) + ")");
    }
    if (options.command == "list") {
        return List(module.get());
    }
    if (options.command == "filter") {
        return RunFilter(module.get(), options);
    }
    if (options.command == "run") {
        return RunCommand(module.get(), options);
    }
    std::fputs(kUsage, stderr);
    return 2;
}
