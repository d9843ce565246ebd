#include "windows_check_win32.h"

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "check_table.h"
#include "common/code_page_932.h"
#include "common/system_text_win32.h"
#include "common/win32_resource.h"
#include "exec/command_lookup.h"
#include "host/exports.h"
#include "host_io_win32.h"
#include "message_watcher_win32.h"
#include "platform_win32.h"

namespace tuvex::host {

namespace {

constexpr UINT kCodePage932 = 932;
constexpr DWORD kPipeQuota = 64 * 1024;

std::string Utf8(std::wstring_view text) { return Encode(text, CP_UTF8); }

std::string HexOf(const char* bytes, int count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (int i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    return hex;
}

std::string UnitName(wchar_t unit)
{
    char name[16] = {};
    wsprintfA(name, "U+%04X", static_cast<unsigned>(unit));
    return name;
}

CheckResult PassIf(bool holds) { return holds ? CheckResult::Pass : CheckResult::Fail; }

// A character to code page 932 with `flags`: its bytes in hex, or "refused"
// when the code page lacks it (the default character used).
std::string ToCodePage932(wchar_t character, DWORD flags)
{
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const int count = WideCharToMultiByte(kCodePage932, flags, &character, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    return count == 0 || usedDefault ? "refused" : HexOf(bytes, count);
}

// Bytes from code page 932, checked as the output of Tuvex's commands is.
std::string FromCodePage932(std::string_view bytes)
{
    wchar_t units[8] = {};
    const int count = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(),
                                          static_cast<int>(bytes.size()), units, 8);
    std::string names;
    for (int i = 0; i < count; ++i) {
        names += (i > 0 ? " " : "") + UnitName(units[i]);
    }
    return count == 0 ? "refused" : names;
}

const wchar_t kLookAlikes[] = {L'\u00e9', L'\u00a5', L'\u00b5', L'\u00a6', L'\u301c'};  // é ¥ µ ¦ 〜

std::string LookAlikeConversions(DWORD flags, bool& allRefused)
{
    std::string got;
    allRefused = true;
    for (const wchar_t character : kLookAlikes) {
        const std::string bytes = ToCodePage932(character, flags);
        allRefused = allRefused && bytes == "refused";
        got += (got.empty() ? "" : ", ") + Utf8(std::wstring(1, character)) + " " + bytes;
    }
    return got;
}

std::vector<CheckRow> CodePage932Rows()
{
    std::vector<CheckRow> rows;
    bool refused = false;
    std::string got = LookAlikeConversions(WC_NO_BEST_FIT_CHARS, refused);
    rows.push_back({"Tuvex's text to code page 932 (WC_NO_BEST_FIT_CHARS): characters it has only look-alikes for",
                    "é ¥ µ ¦ 〜 each refused", got, PassIf(refused)});
    got = LookAlikeConversions(0, refused);
    rows.push_back({"the same without the flag (why the module asks for it)", "look-alikes: é e, ¥ 5C, µ 83CA, ¦ 7C",
                    got, CheckResult::Note});

    const wchar_t ownCharacters[] = {L'\uff5e', L'\u2015', L'\u2460', L'\u2161', L'\u3231'};  // ～ ― ① Ⅱ ㈱
    got.clear();
    bool roundTrip = true;
    for (const wchar_t character : ownCharacters) {
        char bytes[8] = {};
        const int count = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, &character, 1, bytes, sizeof bytes,
                                              nullptr, nullptr);
        const std::string back = FromCodePage932(std::string_view(bytes, static_cast<std::size_t>(count)));
        roundTrip = roundTrip && back == UnitName(character);
        got += (got.empty() ? "" : ", ") + Utf8(std::wstring(1, character)) + " " + HexOf(bytes, count) + " " + back;
    }
    rows.push_back({"code page 932's own characters there and back", "～ 8160, ― 815C, ① 8740, Ⅱ 8755, ㈱ 878A, each back",
                    got, PassIf(got == "～ 8160 U+FF5E, ― 815C U+2015, ① 8740 U+2460, Ⅱ 8755 U+2161, ㈱ 878A U+3231" &&
                                roundTrip)});

    got.clear();
    for (const char byte : {'\xA0', '\xFD', '\xFE', '\xFF'}) {
        got += (got.empty() ? "" : ", ") + HexOf(&byte, 1) + " " + FromCodePage932(std::string_view(&byte, 1));
    }
    rows.push_back({"single bytes A0, FD-FF in a command's output (MB_ERR_INVALID_CHARS)",
                    "A0 U+F8F0, FD U+F8F1, FE U+F8F2, FF U+F8F3 (private use)", got,
                    PassIf(got == "A0 U+F8F0, FD U+F8F1, FE U+F8F2, FF U+F8F3")});

    std::string disagreeing;
    for (unsigned value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        if ((IsDBCSLeadByteEx(kCodePage932, byte) != FALSE) != IsCp932LeadByte(byte)) {
            const char asChar = static_cast<char>(byte);
            disagreeing += (disagreeing.empty() ? "" : " ") + HexOf(&asChar, 1);
        }
    }
    rows.push_back({"first bytes of double-byte characters: the module's table against IsDBCSLeadByteEx(932)",
                    "the same for all 256 bytes", disagreeing.empty() ? "the same" : "differ at " + disagreeing,
                    PassIf(disagreeing.empty())});
    return rows;
}

bool IsQuotaError(DWORD error) { return error == ERROR_NO_SYSTEM_RESOURCES || error == ERROR_NOT_ENOUGH_QUOTA; }

// One write to a non-blocking pipe, as the module feeds a command's input:
// "wrote N" or "error N"; `sound` stays true while the write took what fit
// or failed for want of room.
std::string NonBlockingWrite(HANDLE pipe, std::size_t size, bool& sound, bool& full)
{
    const std::vector<char> bytes(size, 'x');
    DWORD written = 0;
    if (!WriteFile(pipe, bytes.data(), static_cast<DWORD>(size), &written, nullptr)) {
        const DWORD error = GetLastError();
        sound = sound && IsQuotaError(error);
        full = true;
        return "error " + std::to_string(error);
    }
    full = written == 0;
    return "wrote " + std::to_string(written);
}

// A pipe with the given quota whose write end does not block.
bool MakeNonBlockingPipe(UniqueHandle& readEnd, UniqueHandle& writeEnd)
{
    DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
    return CreatePipe(readEnd.put(), writeEnd.put(), nullptr, kPipeQuota) &&
           SetNamedPipeHandleState(writeEnd.get(), &mode, nullptr, nullptr);
}

std::vector<CheckRow> PipeRows()
{
    std::vector<CheckRow> rows;
    UniqueHandle readEnd;
    UniqueHandle writeEnd;
    if (!MakeNonBlockingPipe(readEnd, writeEnd)) {
        return {{"pipes for a command's input", "made", "error " + std::to_string(GetLastError()), CheckResult::Fail}};
    }
    bool sound = true;
    bool full = false;
    std::string got;
    for (int i = 0; i < 6 && !full; ++i) {
        got += (got.empty() ? "" : ", ") + NonBlockingWrite(writeEnd.get(), 48 * 1024, sound, full);
    }
    rows.push_back({"writes of 48 KiB into a non-blocking pipe of 64 KiB until it is full",
                    "each takes what fits (all, part or nothing) or fails with 1450/1816; never blocks", got,
                    PassIf(sound && full)});

    if (!MakeNonBlockingPipe(readEnd, writeEnd)) {
        return rows;
    }
    sound = true;
    got = NonBlockingWrite(writeEnd.get(), 32 << 20, sound, full);
    rows.push_back({"one write of 32 MiB into an empty non-blocking pipe of 64 KiB",
                    "takes part or nothing, or fails with 1450/1816", got, PassIf(sound)});
    return rows;
}

// This program, started suspended with the given attribute list (or none),
// never let run: it is ended when this goes.
class SuspendedProbe {
public:
    explicit SuspendedProbe(LPPROC_THREAD_ATTRIBUTE_LIST attributes = nullptr)
    {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --help";
        STARTUPINFOEXW startup = {};
        startup.StartupInfo.cb = sizeof startup;
        startup.lpAttributeList = attributes;
        PROCESS_INFORMATION started = {};
        const DWORD flags = CREATE_SUSPENDED | CREATE_NO_WINDOW | (attributes ? EXTENDED_STARTUPINFO_PRESENT : 0);
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, attributes != nullptr, flags, nullptr,
                           nullptr, &startup.StartupInfo, &started)) {
            process_.reset(started.hProcess);
            thread_.reset(started.hThread);
        } else {
            error_ = GetLastError();
        }
    }
    ~SuspendedProbe()
    {
        if (process_) {
            TerminateProcess(process_.get(), 1);
        }
    }
    SuspendedProbe(const SuspendedProbe&) = delete;
    SuspendedProbe& operator=(const SuspendedProbe&) = delete;

    HANDLE process() const { return process_.get(); }
    DWORD error() const { return error_; }

private:
    UniqueHandle process_;
    UniqueHandle thread_;
    DWORD error_ = 0;
};

CheckRow NestedJobRow()
{
    const char* what = "a command's job inside a job of the editor's (nested jobs), ended with TerminateJobObject";
    const char* expected = "both accepted, the command ended (Windows 8 and later; Windows 7 refuses the inner job, "
                           "and the wait window then offers no end button)";
    const SuspendedProbe probe;
    const UniqueHandle editorsJob(CreateJobObjectW(nullptr, nullptr));
    const UniqueHandle commandsJob(CreateJobObjectW(nullptr, nullptr));
    if (!probe.process() || !editorsJob || !commandsJob) {
        return {what, expected, "could not start a process or make a job", CheckResult::Fail};
    }
    if (!AssignProcessToJobObject(editorsJob.get(), probe.process())) {
        return {what, expected, "outer job refused, error " + std::to_string(GetLastError()), CheckResult::Fail};
    }
    if (!AssignProcessToJobObject(commandsJob.get(), probe.process())) {
        return {what, expected, "inner job refused, error " + std::to_string(GetLastError()), CheckResult::Note};
    }
    TerminateJobObject(commandsJob.get(), 1);
    const bool ended = WaitForSingleObject(probe.process(), 5000) == WAIT_OBJECT_0;
    return {what, expected, ended ? "both accepted, ended" : "both accepted, but still running after 5 s",
            PassIf(ended)};
}

// Whether `child` holds, at the same value, the event `event`: a handle it
// inherited keeps its value.
bool ChildHolds(HANDLE child, HANDLE event)
{
    UniqueHandle copy;
    if (!DuplicateHandle(child, event, GetCurrentProcess(), copy.put(), 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return false;
    }
    ResetEvent(event);
    SetEvent(copy.get());
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

CheckRow HandleListRow()
{
    const char* what = "a child inherits exactly its handle list (PROC_THREAD_ATTRIBUTE_HANDLE_LIST)";
    const char* expected = "the listed handle inherited, another inheritable handle not";
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    const UniqueHandle listed(CreateEventW(&inheritable, TRUE, FALSE, nullptr));
    const UniqueHandle unlisted(CreateEventW(&inheritable, TRUE, FALSE, nullptr));
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) {
        return {what, expected, "no attribute list, error " + std::to_string(GetLastError()), CheckResult::Fail};
    }
    const UniqueAttributeList owner(list);
    HANDLE handles[] = {listed.get()};
    if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, sizeof handles, nullptr,
                                   nullptr)) {
        return {what, expected, "list refused, error " + std::to_string(GetLastError()), CheckResult::Fail};
    }
    const SuspendedProbe probe(list);
    if (!probe.process()) {
        return {what, expected, "start refused, error " + std::to_string(probe.error()), CheckResult::Fail};
    }
    const bool listedHeld = ChildHolds(probe.process(), listed.get());
    const bool unlistedHeld = ChildHolds(probe.process(), unlisted.get());
    return {what, expected,
            std::string("listed ") + (listedHeld ? "inherited" : "not inherited") + ", other " +
                (unlistedHeld ? "inherited" : "not inherited"),
            PassIf(listedHeld && !unlistedHeld)};
}

std::vector<CheckRow> GlobalBlockRows()
{
    constexpr SIZE_T kLarge = SIZE_T(64) << 20;
    constexpr SIZE_T kTrimmed = SIZE_T(48) << 20;
    const char* what = "a moveable block of 64 MiB grown to 96 MiB, then trimmed to 48 MiB (GlobalReAlloc)";
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, kLarge));
    if (!block) {
        return {{what, "sizes exact, bytes kept", "no block of 64 MiB", CheckResult::Fail}};
    }
    auto fill = [&](char* bytes, SIZE_T size) {
        for (SIZE_T i = 0; i < size; i += 4096) {
            bytes[i] = static_cast<char>(i / 4096);
        }
    };
    auto same = [&](const char* bytes, SIZE_T size) {
        for (SIZE_T i = 0; i < size; i += 4096) {
            if (bytes[i] != static_cast<char>(i / 4096)) {
                return false;
            }
        }
        return true;
    };
    fill(static_cast<char*>(GlobalLock(block.get())), kLarge);
    GlobalUnlock(block.get());

    bool kept = true;
    std::string got;
    const void* before = nullptr;
    const void* after = nullptr;
    for (const SIZE_T size : {SIZE_T(96) << 20, kTrimmed}) {
        before = GlobalLock(block.get());
        GlobalUnlock(block.get());
        HGLOBAL moved = GlobalReAlloc(block.get(), size, GMEM_MOVEABLE);
        if (!moved) {
            got += "refused at " + std::to_string(size >> 20) + " MiB, error " + std::to_string(GetLastError()) + "; ";
            kept = false;
            break;
        }
        block.release();
        block.reset(moved);
        after = GlobalLock(block.get());
        kept = kept && GlobalSize(block.get()) == size && same(static_cast<const char*>(after), kTrimmed);
        GlobalUnlock(block.get());
        got += std::to_string(GlobalSize(block.get())) + " bytes; ";
    }
    got += kept ? "bytes kept" : "bytes or size lost";
    return {{what, "sizes exact, bytes kept", got, PassIf(kept)},
            {"the trim to 48 MiB in place (the host may keep the room until it frees the block)", "in place",
             before == after ? "in place" : "moved", CheckResult::Note}};
}

CheckRow NegativeProfileIntegerRow()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::string path = Encode(std::wstring(folder), CP_ACP) + "tuvex-check.conf";
    WriteBytes(OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS).get(), "[DIALOG]\r\nwidth=-5\r\n");
    const auto value = static_cast<int>(GetPrivateProfileIntA("DIALOG", "width", 320, path.c_str()));
    DeleteFileA(path.c_str());
    return {"GetPrivateProfileIntA on width=-5 in Tuvex.conf",
            "-5 or 0 (Windows documents 0 for a negative value); either gives the default width",
            std::to_string(value), PassIf(value == -5 || value == 0)};
}

BOOL CALLBACK FindShownPopup(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The popup menu window that `thread` shows; null when none shows.
HWND ShownPopupOf(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(thread, &FindShownPopup, reinterpret_cast<LPARAM>(&found));
    return found;
}

CheckRow PopupRow()
{
    const char* what = "the command menu closes on a click beside it once its owner is in front (SetForegroundWindow)";
    const char* expected = "owner in front, popup closed by the click";
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TuvexCheckOwner";
    RegisterClassW(&windowClass);
    const UniqueWindow owner(CreateWindowW(L"TuvexCheckOwner", L"tuvex_host check", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           100, 100, 480, 360, nullptr, nullptr, windowClass.hInstance, nullptr));
    const UniqueMenu popup(CreatePopupMenu());
    if (!owner || !popup) {
        return {what, expected, "no window or menu", CheckResult::Fail};
    }
    AppendMenuW(popup.get(), MF_STRING, 1, L"tuvex_host check");
    SetForegroundWindow(owner.get());
    MSG message;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 300;) {
        // The focus arrives as messages; they are let in before the popup opens.
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    const bool inFront = GetForegroundWindow() == owner.get();

    RECT frame = {};
    GetWindowRect(owner.get(), &frame);
    const DWORD menuThread = GetCurrentThreadId();
    std::atomic<bool> clicked{false};
    std::atomic<bool> returned{false};
    std::thread user([&] {
        // The popup shows on the menu thread; this thread waits for it, then
        // clicks on the owner well away from it.
        for (int i = 0; i < 300 && !returned; ++i) {
            if (ShownPopupOf(menuThread)) {
                SetCursorPos(frame.right - 40, frame.bottom - 40);
                INPUT inputs[2] = {};
                inputs[0].type = inputs[1].type = INPUT_MOUSE;
                inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
                inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
                SendInput(2, inputs, sizeof(INPUT));
                clicked = true;
                break;
            }
            Sleep(10);
        }
        // A popup that the click left open is closed, so that the check ends.
        for (int i = 0; i < 300 && !returned; ++i) {
            Sleep(10);
        }
        if (!returned) {
            PostMessageW(owner.get(), WM_CANCELMODE, 0, 0);
        }
    });
    const DWORD opened = GetTickCount();
    TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_NONOTIFY, frame.left + 40, frame.top + 60, 0, owner.get(),
                   nullptr);
    const DWORD shownMs = GetTickCount() - opened;
    returned = true;
    user.join();
    const bool closedByClick = clicked && shownMs < 3000;
    return {what, expected,
            std::string(inFront ? "owner in front" : "owner not in front") + ", " +
                (!clicked ? "no popup seen" : closedByClick ? "popup closed by the click" : "popup stayed open"),
            PassIf(inFront && closedByClick)};
}

// A temporary folder with one file, removed again when this goes.
class TemporaryFile {
public:
    TemporaryFile(const std::string& name, std::string_view bytes)
    {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        folder_ = std::string(folder) + "tuvex-check-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\" + name;
        const UniqueHandle file = OpenFile(path_, GENERIC_WRITE, CREATE_ALWAYS);
        WriteBytes(file.get(), bytes);
    }
    ~TemporaryFile()
    {
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& folder() const { return folder_; }
    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

// PATH with `folder` in front for as long as this lives.
class PathWithFolder {
public:
    explicit PathWithFolder(const std::string& folder)
    {
        before_.resize(32768);
        before_.resize(GetEnvironmentVariableA("PATH", before_.data(), static_cast<DWORD>(before_.size())));
        SetEnvironmentVariableA("PATH", (folder + ";" + before_).c_str());
    }
    ~PathWithFolder() { SetEnvironmentVariableA("PATH", before_.c_str()); }
    PathWithFolder(const PathWithFolder&) = delete;
    PathWithFolder& operator=(const PathWithFolder&) = delete;

private:
    std::string before_;
};

std::vector<CheckRow> StartRows(HMODULE module)
{
    std::vector<CheckRow> rows;
    const CommandLocation more = LocateCommand("more");
    const bool comFound = more.file.size() > 4 && lstrcmpiA(more.file.c_str() + more.file.size() - 4, ".com") == 0;
    rows.push_back({"the bare command more, looked up with PATHEXT", "...\\System32\\more.com",
                    more.file.empty() ? "not found" : Utf8(Decode(more.file, CP_ACP)), PassIf(comFound)});

    const auto run = reinterpret_cast<decltype(&TuvexRun)>(reinterpret_cast<void*>(GetProcAddress(module, "TuvexRun")));
    {
        const TemporaryFile batch("tuvex-check.bat", "@echo off\r\necho ok %1\r\n");
        const PathWithFolder path(batch.folder());
        std::string got = "no TuvexRun";
        if (run) {
            const MessageWatcher watcher(GetStdHandle(STD_ERROR_HANDLE));
            got = run("", "tuvex-check", "arg");
        }
        while (!got.empty() && (got.back() == '\n' || got.back() == '\r')) {
            got.pop_back();
        }
        rows.push_back({"a batch file found by its bare name, started by TuvexRun as CreateProcess starts it",
                        "ok arg", got, PassIf(got == "ok arg")});
    }

    const TemporaryFile text("tuvex-check.exe", "not a program\r\n");
    std::string commandLine = "\"" + text.path() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    const BOOL ok = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &startup, &started);
    const DWORD error = ok ? 0 : GetLastError();
    const UniqueHandle process(started.hProcess);
    const UniqueHandle thread(started.hThread);
    if (ok) {
        TerminateProcess(process.get(), 1);
    }
    rows.push_back({"a text file named .exe, started (the message words for 193)", "error 193",
                    ok ? "started" : "error " + std::to_string(error), PassIf(error == ERROR_BAD_EXE_FORMAT)});
    rows.push_back({"the system's text for 193, as the module would show it", "(in the user's language)",
                    Utf8(SystemText(ERROR_BAD_EXE_FORMAT, L"C:\\x.exe")), CheckResult::Note});
    return rows;
}

}  // namespace

int RunWindowsCheck(HMODULE module)
{
    std::vector<CheckRow> rows = CodePage932Rows();
    for (std::vector<CheckRow> more : {PipeRows(), std::vector<CheckRow>{NestedJobRow(), HandleListRow()},
                                       GlobalBlockRows(), std::vector<CheckRow>{NegativeProfileIntegerRow(), PopupRow()},
                                       StartRows(module)}) {
        rows.insert(rows.end(), more.begin(), more.end());
    }
    const std::string table = FormatCheckTable("tuvex_host check on " + Utf8(PlatformDescription()), rows);
    WriteBytes(GetStdHandle(STD_OUTPUT_HANDLE), table);
    for (const CheckRow& row : rows) {
        if (row.result == CheckResult::Fail) {
            return 1;
        }
    }
    return 0;
}

}  // namespace tuvex::host
