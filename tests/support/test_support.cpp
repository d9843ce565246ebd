#include "support/test_support.h"

#include <stdexcept>

#include "dialog/message_dialog_win32.h"

namespace tuvex::test {

std::string Cp932(std::wstring_view text)
{
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring FromCp932(std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(size, L'\0');
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

std::string ProgramDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\') + 1);
}

std::string TestChildPath()
{
    return ProgramDirectory() + "tuvex_test_child.exe";
}

std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

void WriteBytes(const std::string& path, std::string_view bytes)
{
    const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw std::runtime_error("cannot create " + path);
    }
    DWORD written = 0;
    if (!bytes.empty() &&
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadBytes(const std::string& path)
{
    const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD received = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &received, nullptr);
    bytes.resize(received);
    return bytes;
}

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    const UniqueFind search(FindFirstFileA((folder + "*").c_str(), &entry));
    if (search) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(search.get(), &entry));
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(base) + "tuvex-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) {
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            throw std::runtime_error("cannot create " + path_);
        }
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

InstalledModule::InstalledModule()
{
    const std::string installed = folder_ / "Tuvex.dll";
    if (!CopyFileA((ProgramDirectory() + "Tuvex.dll").c_str(), installed.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy Tuvex.dll");
    }
    module_.reset(LoadLibraryA(installed.c_str()));
    if (!module_) {
        throw std::runtime_error("cannot load " + installed);
    }
}

std::wstring WindowTextOf(HWND window)
{
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

namespace {

// A message box's text is its static control 0xFFFF; the message dialog's is
// its edit control 1000. Other dialogs have neither.
HWND MessageTextControl(HWND dialog)
{
    HWND control = GetDlgItem(dialog, 1000);
    return control ? control : GetDlgItem(dialog, 0xFFFF);
}

struct WindowSearch {
    const std::function<bool(HWND)>& matches;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && search->matches(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool IsOfClass(HWND window, const wchar_t* className)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return lstrcmpW(name, className) == 0;
}

}  // namespace

HWND FindVisibleWindow(const std::function<bool(HWND window)>& matches)
{
    WindowSearch search{matches, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

ChildSignal::ChildSignal()
{
    static std::atomic<int> made{0};
    name_ = "TuvexTestSignal-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
    event_.reset(CreateEventA(nullptr, TRUE, FALSE, name_.c_str()));
}

HWND WaitForWindow(const std::function<bool(HWND window)>& matches, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindVisibleWindow(matches)) {
            return found;
        }
        if (GetTickCount() - start > timeoutMs) {
            return nullptr;
        }
        Sleep(10);
    }
}

HWND WaitForWindowOfClass(const wchar_t* className, DWORD timeoutMs)
{
    return WaitForWindow([className](HWND window) { return IsOfClass(window, className); }, timeoutMs);
}

HMENU MenuOfPopup(HWND popup)
{
    constexpr UINT kGetMenuOfPopup = 0x01E1;  // MN_GETHMENU
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, kGetMenuOfPopup, 0, 0));
    return IsMenu(menu) ? menu : nullptr;
}

HWND WaitForPopup(DWORD timeoutMs, const std::atomic<bool>* givenUp)
{
    const DWORD start = GetTickCount();
    while (!(givenUp && *givenUp) && GetTickCount() - start < timeoutMs) {
        if (HWND popup = WaitForWindowOfClass(L"#32768", 50); popup && MenuOfPopup(popup)) {
            return popup;
        }
    }
    return nullptr;
}

UniqueWindow MakeOwnerWindow(int left, int top, int width, int height)
{
    WNDCLASSW description{};
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"TuvexTestOwner";
    RegisterClassW(&description);  // fails harmlessly once the class exists
    return UniqueWindow(CreateWindowExW(0, description.lpszClassName, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        left, top, width, height, nullptr, nullptr, description.hInstance, nullptr));
}

namespace {

// Handles the messages waiting for this thread.
void HandleMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

// Whether `owner`'s thread is in a popup's loop, which takes the keys and
// the mouse: a popup shows a moment before its loop starts.
bool TracksPopup(HWND owner)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(owner, nullptr), &info) && (info.flags & GUI_INMENUMODE) &&
           info.hwndCapture != nullptr;
}

}  // namespace

// Wine hands the focus over through the X server, whose focus events come
// later: they are let in before the popup opens, since a late one that takes
// the focus from the popup's owner ends the popup. A question to the X server
// (where the cursor is) is answered after every event it sent before, so the
// messages handled after it include them; Wine asks it only once the cursor
// has been still for a tenth of a second, and answers from its own record
// before.
bool BringToFront(HWND window)
{
    constexpr DWORD kCursorStillForQueryMs = 100;
    const DWORD asked = GetTickCount();  // after the cursor's last move
    return WaitUntil([window, asked] {
        // Asked again each time: a focus event that was on its way moves the
        // foreground once more.
        SetForegroundWindow(window);
        HandleMessages();
        const bool queried = GetTickCount() - asked > kCursorStillForQueryMs;
        POINT cursor;
        GetCursorPos(&cursor);
        HandleMessages();
        return queried && GetForegroundWindow() == window && GetActiveWindow() == window;
    });
}

PopupUser::PopupUser(HWND owner, Act act) : thread_([this, owner, act = std::move(act)] { Use(owner, act); }) {}

PopupUser::Outcome PopupUser::Finish()
{
    callReturned_ = true;
    if (thread_.joinable()) {
        thread_.join();
        // Keys that no popup read must not reach the next popup. (Only keys:
        // a paint message would come back until it is handled.)
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
    }
    return outcome_;
}

void PopupUser::Use(HWND owner, const Act& act)
{
    const auto returned = [this] { return callReturned_.load(); };
    HWND popup = WaitForPopup(kStateTimeoutMs, &callReturned_);
    HMENU menu = popup ? MenuOfPopup(popup) : nullptr;
    outcome_.shown = menu && WaitUntil([&] { return returned() || TracksPopup(owner); }) && !returned();
    if (outcome_.shown) {
        act(popup, menu);
    }
    if (WaitUntil(returned)) {
        return;
    }
    outcome_.leftOpen = true;
    // Each Escape closes one level of submenus.
    do {
        PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    } while (!WaitUntil(returned, 500));
}

void PressKeys(HWND owner, const std::vector<WPARAM>& keys)
{
    for (const WPARAM key : keys) {
        PostMessageW(owner, WM_KEYDOWN, key, 0);
    }
}

DialogWatcher::DialogWatcher(Inspector inspect) : inspect_(std::move(inspect)), thread_([this] { Watch(); }) {}

DialogWatcher::~DialogWatcher()
{
    stop_ = true;
    thread_.join();
}

std::vector<SeenDialog> DialogWatcher::seen() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

void DialogWatcher::Watch()
{
    while (!stop_) {
        HWND dialog = FindVisibleWindow([this](HWND window) {
            return IsOfClass(window, L"#32770") && MessageTextControl(window) != nullptr && !handled_.count(window);
        });
        if (!dialog) {
            Sleep(10);
            continue;
        }
        handled_.insert(dialog);
        // A message dialog's long text fills in after it shows.
        while (GetDlgItem(dialog, 1000) && !GetPropW(dialog, kTextWholeProperty) && IsWindow(dialog)) {
            Sleep(10);
        }
        SeenDialog seen;
        seen.className = "#32770";
        seen.caption = WindowTextOf(dialog);
        if (HWND textControl = MessageTextControl(dialog)) {
            seen.text = WindowTextOf(textControl);
            const int length = GetWindowTextLengthA(textControl);
            std::string bytes(static_cast<std::size_t>(length) + 1, '\0');
            bytes.resize(static_cast<std::size_t>(GetWindowTextA(textControl, bytes.data(), length + 1)));
            seen.textBytes = bytes;
        }
        if (inspect_) {
            inspect_(dialog);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(seen);
        }
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
}

std::string FirstLine(std::string_view message)
{
    return std::string(message.substr(0, message.find("\r\n")));
}

std::wstring FirstLine(std::wstring_view message)
{
    return std::wstring(message.substr(0, message.find(L"\r\n")));
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder)
{
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    before_ = before;
    if (!SetCurrentDirectoryA(folder.c_str())) {
        throw std::runtime_error("cannot enter " + folder);
    }
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    SetCurrentDirectoryA(before_.c_str());
}

ScopedVariable::ScopedVariable(const std::string& name, const std::string& value) : name_(name)
{
    std::string before(32768, '\0');
    before.resize(GetEnvironmentVariableA(name.c_str(), before.data(), static_cast<DWORD>(before.size())));
    before_ = before;
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableA(name_.c_str(), before_.c_str());
}

}  // namespace tuvex::test
