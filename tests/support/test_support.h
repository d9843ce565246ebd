// What the Windows tests share: code page 932 texts, temporary folders, the
// module installed in a folder of its own, and a watcher that reads and
// closes the dialogs that the code under test opens.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/win32_resource.h"

namespace tuvex::test {

// The code page 932 bytes of a text.
std::string Cp932(std::wstring_view text);
std::wstring FromCp932(std::string_view bytes);

// A message up to its first line end: the line that names the failure and
// its code; the lines after it say what it means.
std::string FirstLine(std::string_view message);
std::wstring FirstLine(std::wstring_view message);

// The folder of the running test program, ending in "\".
std::string ProgramDirectory();

// The helper child program's path, for use as a command.
std::string TestChildPath();

// Bytes to hexadecimal, as the helper child's "out" and "err" actions take them.
std::string Hex(std::string_view bytes);

// "same", or where a long result first differs from the one expected.
template <typename Text>
std::string Mismatch(const Text& got, const Text& expected)
{
    const auto [at, unused] = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    if (got.size() == expected.size() && at == got.end()) {
        return "same";
    }
    return "got " + std::to_string(got.size()) + " units for " + std::to_string(expected.size()) +
           ", first difference at " + std::to_string(at - got.begin());
}

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);

// A new, empty folder under the temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in "\".
    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + std::string(name); }

private:
    std::string path_;
};

// Tuvex.dll copied into a folder of its own and loaded from there, as a host
// loads it; files beside it (menu and settings files) belong to this test.
class InstalledModule {
public:
    InstalledModule();
    const std::string& directory() const { return folder_.path(); }
    HMODULE handle() const { return module_.get(); }

    template <typename Function>
    Function* Export(const char* name) const
    {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }

private:
    TempFolder folder_;
    UniqueModule module_;
};

// What a watched dialog showed.
struct SeenDialog {
    std::string className;
    std::wstring caption;
    std::wstring text;      // the message box's text, or the edit control's
    std::string textBytes;  // the same as the ANSI code page's bytes
};

// While it lives, a thread finds each visible message box or message dialog of this process,
// records what it shows, hands it to `inspect` (which may look at the
// window further) and then closes it with its OK button.
class DialogWatcher {
public:
    using Inspector = std::function<void(HWND dialog)>;
    explicit DialogWatcher(Inspector inspect = {});
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    std::vector<SeenDialog> seen() const;

private:
    void Watch();

    Inspector inspect_;
    mutable std::mutex mutex_;
    std::vector<SeenDialog> seen_;
    std::set<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// How long a test waits at most for a state that the code under test is to
// bring about: far longer than any machine needs, so that only a state that
// never comes fails the test, and a test that fails still ends.
constexpr DWORD kStateTimeoutMs = 60 * 1000;

// Waits until `done` is true; false when it was not within `timeoutMs`.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kStateTimeoutMs);

// A named event for a test child's "wait-event", set when it goes, so that
// a child left waiting ends with its test.
class ChildSignal {
public:
    ChildSignal();
    ~ChildSignal() { Set(); }
    ChildSignal(const ChildSignal&) = delete;
    ChildSignal& operator=(const ChildSignal&) = delete;

    const std::string& name() const { return name_; }
    void Set() const { SetEvent(event_.get()); }
    // Waits until it is set (by a child's "set-event"); false when it was not.
    bool WaitSet() const { return WaitForSingleObject(event_.get(), kStateTimeoutMs) == WAIT_OBJECT_0; }

private:
    std::string name_;
    UniqueHandle event_;
};

// The text of a window, through WM_GETTEXT in UTF-16.
std::wstring WindowTextOf(HWND window);

// A visible top-level window of this process that `matches`; null when none.
HWND FindVisibleWindow(const std::function<bool(HWND window)>& matches);

// Waits up to `timeoutMs` for such a window; null when none came.
HWND WaitForWindow(const std::function<bool(HWND window)>& matches, DWORD timeoutMs);

// Waits up to `timeoutMs` for a visible top-level window of this process of
// the given class; null when none came.
HWND WaitForWindowOfClass(const wchar_t* className, DWORD timeoutMs);

// The menu that an open popup window shows; null when it is on its way out.
HMENU MenuOfPopup(HWND popup);

// Waits up to `timeoutMs` for an open popup menu of this process, and stops
// early once `givenUp` (when given) turns true; null when none came. The
// window of an earlier popup may still be on its way out: only one whose menu
// is alive counts.
HWND WaitForPopup(DWORD timeoutMs, const std::atomic<bool>* givenUp = nullptr);

// A new visible top-level window that stands in for the editor's window.
UniqueWindow MakeOwnerWindow(int left, int top, int width, int height);

// Makes `window` the foreground window and waits until the focus events that
// this sets off have arrived; false when it did not become the foreground.
// Move the cursor before, not after: its motion is let in with them.
bool BringToFront(HWND window);

// The user of a popup menu, on a thread of its own: waits until a popup
// shows and its loop runs, then hands it to `act`, which reads it and
// presses keys. It stops waiting once the popup call has returned
// (`Finish`) without one, and closes a popup that `act` left open after a
// while, so that the test fails instead of hanging.
class PopupUser {
public:
    using Act = std::function<void(HWND popup, HMENU menu)>;
    struct Outcome {
        bool shown = false;
        bool leftOpen = false;  // it had to be closed for the test
    };

    PopupUser(HWND owner, Act act);
    ~PopupUser() { Finish(); }
    PopupUser(const PopupUser&) = delete;
    PopupUser& operator=(const PopupUser&) = delete;

    // To be called on the owner's thread once the popup call has returned;
    // drops the keys that no popup read.
    Outcome Finish();

private:
    void Use(HWND owner, const Act& act);

    Outcome outcome_;
    std::atomic<bool> callReturned_{false};
    std::thread thread_;
};

// Presses `keys` in turn on the popup that `owner`'s thread tracks.
void PressKeys(HWND owner, const std::vector<WPARAM>& keys);

// While it lives, the process's current folder is `folder`; the one before
// comes back after it.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::string before_;
};

// While it lives, the environment variable `name` is `value`.
class ScopedVariable {
public:
    ScopedVariable(const std::string& name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::string before_;
};

// While it lives, the environment variable PATH is `value`.
class ScopedPath : public ScopedVariable {
public:
    explicit ScopedPath(const std::string& value) : ScopedVariable("PATH", value) {}
};

}  // namespace tuvex::test
