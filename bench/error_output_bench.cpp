// Measures what very long error output costs through the module's exports.
// First, for error output of the 1.25 MiB that the message window keeps, in
// four shapes (short lines, one line, CR progress lines, UTF-8 Japanese
// lines), through TuvexUtf8 with a visible window of the benchmark as the
// editor's: the time from the child's end to the message window's first
// paint and from OK to the call's return (medians of 5), and while the text
// fills in, how long the editor's window took at most to answer and when the
// text was whole. Then, for a child that writes N MB of numbered lines, the
// time from the child's end to the open message window, the whole call, and
// the peak memory that the call added, against the targets: the window
// within 1 s, and at most 16 MiB beyond the 1.25 MiB kept.
//
//   error_output_bench.exe [MB...]     (default sizes: 10 100 250)
//
// The child is tuvex_test_child.exe beside the benchmark; it sets a named
// event once it has written everything, just before it ends.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32_resource.h"
#include "dialog/message_dialog_win32.h"
#include "host/exports.h"
#include "bench_support.h"
#include "support/test_support.h"

namespace {

using tuvex::UniqueGlobal;
using tuvex::UniqueHandle;
using namespace tuvex::bench;

constexpr double kMiB = 1048576.0;
constexpr double kKeptBytes = 1.25 * kMiB;

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

// A visible message window or message box of this process (the wait window
// has neither the edit control 1000 nor the static text 0xFFFF).
HWND FindMessageWindow()
{
    return tuvex::test::FindVisibleWindow([](HWND window) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        return lstrcmpW(name, L"#32770") == 0 && (GetDlgItem(window, 1000) || GetDlgItem(window, 0xFFFF));
    });
}

struct Figures {
    double childEndToWindow = -1;  // seconds; negative when no window came
    double call = 0;
    double peakBytes = 0;
};

// Runs `call` while a thread notes when the child's event is set and when
// the message window has opened, and then closes the window.
Figures Measure(MemoryProbe& memory, HANDLE childDone, const std::function<void()>& call)
{
    ResetEvent(childDone);
    std::atomic<bool> returned{false};
    double childEnd = 0;
    double windowOpen = 0;
    std::thread watcher([&] {
        while (WaitForSingleObject(childDone, 10) == WAIT_TIMEOUT && !returned) {
        }
        childEnd = Now();
        while (!returned) {
            if (HWND window = FindMessageWindow()) {
                windowOpen = Now();
                PostMessageW(window, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(1);
        }
    });
    memory.Start();
    const double start = Now();
    call();
    Figures figures;
    figures.call = Now() - start;
    figures.peakBytes = memory.Added();
    returned = true;
    watcher.join();
    if (windowOpen > 0) {
        figures.childEndToWindow = windowOpen - childEnd;
    }
    return figures;
}


// When the message window's text first painted: a hook on the calling
// thread sees the edit control's WM_PAINT taken from the queue and posts a
// message behind it; that one is taken once the paint is done.
std::atomic<double> firstPaint{0};
HWND paintedEdit = nullptr;

bool IsMessageText(HWND window)
{
    return GetDlgCtrlID(window) == 1000 && GetDlgItem(GetParent(window), IDOK) != nullptr;
}

LRESULT CALLBACK NoteFirstPaint(int code, WPARAM removal, LPARAM message)
{
    const MSG& taken = *reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && firstPaint == 0) {
        if (taken.message == WM_PAINT && paintedEdit == nullptr && IsMessageText(taken.hwnd)) {
            paintedEdit = taken.hwnd;
            PostMessageW(taken.hwnd, WM_NULL, 0, 0);
        } else if (taken.message == WM_NULL && taken.hwnd == paintedEdit) {
            firstPaint = Now();
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct TargetFigures {
    double childEndToPaint = -1;  // seconds; negative when no paint came
    double okToReturn = -1;
    double slowestAnswer = -1;    // the editor's window, while the text filled in
    double childEndToWhole = -1;
};

// One TuvexUtf8 call, owned by `editor`, whose child copies the text
// `errors` to standard error; OK is pressed at the first paint, or, with
// `untilWhole`, once the text is whole, the editor's window asked to answer
// all the while. A window that does not paint is closed after 60 s.
TargetFigures MeasureTarget(const Filter utf8, const std::string& childPath, const std::wstring& errors,
                            HANDLE childDone, const std::string& eventName, HWND editor, bool untilWhole)
{
    ResetEvent(childDone);
    firstPaint = 0;
    paintedEdit = nullptr;
    std::atomic<bool> returned{false};
    std::atomic<double> okPressed{0};
    TargetFigures figures;
    double childEnd = 0;
    std::thread watcher([&] {
        while (WaitForSingleObject(childDone, 10) == WAIT_TIMEOUT && !returned) {
        }
        childEnd = Now();
        while (firstPaint == 0 && !returned && Now() - childEnd < 60) {
            Sleep(1);
        }
        if (returned) {
            return;
        }
        if (firstPaint == 0) {
            PostMessageW(FindMessageWindow(), WM_COMMAND, IDOK, 0);
            return;
        }
        figures.childEndToPaint = firstPaint - childEnd;
        HWND window = FindMessageWindow();
        if (untilWhole) {
            figures.slowestAnswer = 0;
            while (!GetPropW(window, tuvex::kTextWholeProperty) && IsWindow(window)) {
                const double asked = Now();
                DWORD_PTR unused = 0;
                SendMessageTimeoutW(editor, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &unused);
                figures.slowestAnswer = std::max(figures.slowestAnswer, Now() - asked);
                Sleep(5);
            }
            figures.childEndToWhole = Now() - childEnd;
        }
        okPressed = Now();
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    });
    const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &NoteFirstPaint, nullptr, GetCurrentThreadId());
    const std::string parameter = childPath + "|err-input set-event " + eventName;
    const UniqueGlobal result(utf8(editor, errors.c_str(), parameter.c_str()));
    const double callReturn = Now();
    UnhookWindowsHookEx(hook);
    returned = true;
    watcher.join();
    if (okPressed > 0) {
        figures.okToReturn = callReturn - okPressed;
    }
    return figures;
}

// The four shapes of 1.25 MiB of error output.
std::string Repeated(const std::string& line, std::size_t bytes)
{
    std::string text;
    while (text.size() + line.size() <= bytes) {
        text += line;
    }
    return text;
}

std::wstring FromUtf8(const std::string& bytes)
{
    std::wstring text(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), int(text.size()));
    return text;
}

bool MeasureTargets(const Filter utf8, const std::string& childPath, HANDLE childDone, const std::string& eventName)
{
    const std::size_t kept = std::size_t(kKeptBytes);
    struct Shape {
        const char* what;
        std::string errors;
    };
    const Shape shapes[] = {
        {"short lines", Repeated("main.c:12:5: warning: unused variable 'x'\n", kept)},
        {"one line", std::string(kept, 'x')},
        {"CR progress lines", Repeated("downloading  42% [#########           ]\r", kept)},
        {"UTF-8 Japanese lines", Repeated("main.c:12:5: \xE8\xAD\xA6\xE5\x91\x8A: \xE5\xA4\x89\xE6\x95\xB0 'x' "
                                          "\xE3\x81\xAF\xE4\xBD\xBF\xE3\x82\x8F\xE3\x82\x8C\xE3\x81\xA6"
                                          "\xE3\x81\x84\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\n",
                                          kept)},
    };
    const tuvex::UniqueWindow editor = tuvex::test::MakeOwnerWindow(100, 100, 640, 480);
    std::printf("1.25 MiB of error output through TuvexUtf8, medians of 5:\n");
    bool met = true;
    for (const Shape& shape : shapes) {
        std::vector<double> paints, returns;
        for (int run5 = 0; run5 < 5; ++run5) {
            const TargetFigures figures =
                MeasureTarget(utf8, childPath, FromUtf8(shape.errors), childDone, eventName, editor.get(), false);
            paints.push_back(figures.childEndToPaint < 0 ? 1e9 : figures.childEndToPaint);
            returns.push_back(figures.okToReturn < 0 ? 1e9 : figures.okToReturn);
        }
        const TargetFigures whole =
            MeasureTarget(utf8, childPath, FromUtf8(shape.errors), childDone, eventName, editor.get(), true);
        const double paint = Median(paints);
        const double back = Median(returns);
        std::printf("- %-21s child end to first paint %.3f s (target 1 s): %s; OK to return %.3f s (target 0.2 s): %s; "
                    "while filling, the editor answered within %.3f s; text whole %.2f s after the child's end\n",
                    shape.what, paint, Verdict(paint <= 1.0), back, Verdict(back <= 0.2), whole.slowestAnswer,
                    whole.childEndToWhole);
        met = met && paint <= 1.0 && back <= 0.2;
    }
    std::printf("\n");
    return met;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string childPath = TestChildPath();
    const std::vector<int> sizes = SizesFrom(argc, argv, {10, 100, 250});
    const std::optional<TuvexExports> exports = LoadTuvex();
    if (!exports) {
        std::fprintf(stderr, "cannot load Tuvex.dll\n");
        return 2;
    }
    const Filter narrow = exports->narrow;
    const Filter wide = exports->wide;
    const Run run = exports->run;
    const std::string eventName = "tuvex-error-output-bench-" + std::to_string(GetCurrentProcessId());
    const UniqueHandle childDone(CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    MemoryProbe memory;
    std::printf("peak MiB: memory added at the call's peak, from %s\n\n", memory.Counter());

    // The first message window loads its font: a cost of the first call only.
    Measure(memory, childDone.get(), [&] {
        const std::string parameter = childPath + "|err 6869 set-event " + eventName;
        const UniqueGlobal result(narrow(nullptr, L"", parameter.c_str()));
    });
    MeasureTargets(reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(exports->module.get(), "TuvexUtf8"))),
                   childPath, childDone.get(), eventName);

    std::printf("| %-34s | %6s | %16s | %8s | %8s |\n", "standard error of a child", "MB", "child end to open",
                "call s", "peak MiB");
    std::printf("|------------------------------------|--------|-------------------|----------|----------|\n");
    double slowestOpen = 0;
    double peakAt250 = -1;
    for (int megabytes : sizes) {
        // Lines of 80 bytes as code page 932 text, of 160 as UTF-16.
        const std::size_t bytes = std::size_t(megabytes) * 1000000;
        auto parameter = [&](std::size_t lineBytes, const char* kind) {
            return childPath + "|err-numbered " + std::to_string(bytes / lineBytes) + " " + kind + " set-event " +
                   eventName;
        };
        const std::string narrowParameter = parameter(80, "ansi");
        const std::string wideParameter = parameter(160, "utf16");
        const std::string runArguments = narrowParameter.substr(narrowParameter.find('|') + 1);
        struct Row {
            const char* what;
            std::function<void()> call;
        };
        const Row rows[] = {
            {"Tuvex, code page 932 lines", [&] { const UniqueGlobal result(narrow(nullptr, L"", narrowParameter.c_str())); }},
            {"TuvexW, UTF-16 lines", [&] { const UniqueGlobal result(wide(nullptr, L"", wideParameter.c_str())); }},
            {"TuvexRun", [&] { run("", childPath.c_str(), runArguments.c_str()); }},
        };
        for (const Row& row : rows) {
            const Figures figures = Measure(memory, childDone.get(), row.call);
            std::printf("| %-34s | %6d | %15.3f s | %8.2f | %8.1f |\n", row.what, megabytes, figures.childEndToWindow,
                        figures.call, figures.peakBytes / kMiB);
            slowestOpen = figures.childEndToWindow < 0 ? 1e9 : std::max(slowestOpen, figures.childEndToWindow);
            if (megabytes == 250) {
                peakAt250 = std::max(peakAt250, figures.peakBytes);
            }
        }
    }

    std::printf("\ntargets:\n");
    std::printf("- the window opens within 1 s of the child's end: slowest %.3f s: %s\n", slowestOpen,
                Verdict(slowestOpen <= 1.0));
    if (peakAt250 >= 0) {
        const double beyondKept = (peakAt250 - kKeptBytes) / kMiB;
        std::printf("- peak added by a call whose child writes 250 MB: %.1f MiB, %.1f MiB beyond the 1.25 MiB kept "
                    "(at most 16): %s\n",
                    peakAt250 / kMiB, beyondKept, Verdict(beyondKept <= 16));
    }
    return 0;
}
