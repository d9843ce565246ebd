// Measures what very long error output costs through the module's exports:
// for a child that writes N MB of numbered lines to standard error and no
// output, the time from the child's end to the open message window (TuvexRun
// shows long error output there too), the whole call, and the peak memory
// that the call added, against the targets: the window within 1 s, and at
// most 16 MiB beyond the 1.25 MiB kept.
//
//   error_output_bench.exe [MB...]     (default sizes: 10 100 250)
//
// The child is tuvex_test_child.exe beside the benchmark; it sets a named
// event once it has written everything, just before it ends.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32_resource.h"
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
