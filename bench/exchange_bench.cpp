// Measures the exchange with a child process through the module's exports and
// prints the figures that the module is held to. It calls the filters as the
// editor does: from a program with a visible top-level window, passed as the
// host window, so that the wait window shows over it once a call takes more
// than its delay. Tables:
//  - Tuvex and TuvexW on one host text of 50 Mi characters (ASCII, then
//    Japanese): the median time of five calls, the block handed back and the
//    peak memory the call added;
//  - the same for TuvexUtf8 against TuvexW (utf8_filter_rows.cpp);
//  - throughput through a copying child at several sizes: TuvexW, TuvexRun,
//    the naive exchange (256-byte reads, busy polling) and a plain exchange
//    with 1 MiB blocking reads (the platform's limit), its child sharing the
//    benchmark's console or, as the module's commands must, with a hidden
//    console of its own;
//  - a text of one line: the median of 15 calls of TuvexW and of the plain
//    exchange;
//  - the host's CPU use while a child sleeps.
//
//   exchange_bench.exe [--baseline DLL] [MiB...]  (default sizes: 1 4 10 16 64 100 128)
//
// --baseline loads another build of the module (under another file name) and
// times its filters beside this one's, taking turns. The copying child is
// tuvex_test_child.exe beside the benchmark. Each time of the 50 Mi character
// texts is the median of five calls, every other time the best of a few
// calls; each memory figure the largest of them. Calls that are compared with
// each other take turns.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32_resource.h"
#include "host/exports.h"
#include "utf8_filter_rows.h"
#include "bench_support.h"

namespace {

using tuvex::UniqueGlobal;
using tuvex::UniqueHandle;
using tuvex::UniqueModule;
using namespace tuvex::bench;

constexpr double kMiB = 1048576.0;

double Seconds(const std::function<void()>& action)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    action();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto toSeconds = [](FILETIME time) {
        return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

// A measured call: its best time, every time, and its largest peak.
struct Measure {
    double seconds = 0;
    std::vector<double> times;
    double peakBytes = 0;
    bool whole = true;

    double Median() const
    {
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
};

// Handles what waits for the benchmark's window between calls, as the
// editor's loop would.
void DispatchWaitingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Calls each action (which tells whether its result was whole) `repeats`
// times, one after the other in each round, so that a machine busy with other
// work for a moment slows all of them alike.
std::vector<Measure> Interleave(MemoryProbe& memory, int repeats,
                                const std::vector<std::function<bool()>>& actions)
{
    std::vector<Measure> measures(actions.size());
    for (int round = 0; round < repeats; ++round) {
        for (std::size_t i = 0; i < actions.size(); ++i) {
            Measure& measure = measures[i];
            bool whole = false;
            DispatchWaitingMessages();
            memory.Start();
            const double seconds = Seconds([&] { whole = actions[i](); });
            measure.peakBytes = std::max(measure.peakBytes, memory.Added());
            measure.seconds = round == 0 ? seconds : std::min(measure.seconds, seconds);
            measure.times.push_back(seconds);
            measure.whole = measure.whole && whole;
        }
    }
    return measures;
}

// The exports of one build of the module.
struct Exports {
    Filter narrow = nullptr;
    Filter wide = nullptr;
    Run run = nullptr;
};

Exports ExportsOf(HMODULE module)
{
    auto find = [module](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); };
    return {reinterpret_cast<Filter>(find("Tuvex")), reinterpret_cast<Filter>(find("TuvexW")),
            reinterpret_cast<Run>(find("TuvexRun"))};
}

// A visible top-level window that stands in for the editor's.
HWND MakeHostWindow()
{
    WNDCLASSW description{};
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = GetModuleHandleW(nullptr);
    description.lpszClassName = L"TuvexBenchHost";
    RegisterClassW(&description);
    return CreateWindowExW(0, description.lpszClassName, L"exchange_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           640, 480, nullptr, nullptr, description.hInstance, nullptr);
}

// The naive exchange, for comparison: the whole input written before the
// start, reads of 256 bytes, and passes that follow each other without a pause.
std::string NaiveExchange(const std::string& commandLine, const std::string& input)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    UniqueHandle readEnds[3], writeEnds[3];
    for (int i = 0; i < 3; ++i) {
        CreatePipe(readEnds[i].put(), writeEnds[i].put(), &inheritable, 0x7fffffff);
    }
    DWORD written = 0;
    WriteFile(writeEnds[0].get(), input.data(), DWORD(input.size()), &written, nullptr);
    writeEnds[0].reset();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.hStdInput = readEnds[0].get();
    startup.hStdOutput = writeEnds[1].get();
    startup.hStdError = writeEnds[2].get();
    PROCESS_INFORMATION started = {};
    std::string line = commandLine;
    CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                   &started);
    UniqueHandle process(started.hProcess), thread(started.hThread);
    readEnds[0].reset();
    std::string output, errors;
    for (;;) {
        const bool ended = WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT;
        for (int i = 1; i < 3; ++i) {
            DWORD available = 0;
            while (PeekNamedPipe(readEnds[i].get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
                char chunk[256];
                DWORD received = 0;
                ReadFile(readEnds[i].get(), chunk, sizeof chunk, &received, nullptr);
                (i == 1 ? output : errors).append(chunk, received);
            }
        }
        if (ended) {
            return output;
        }
    }
}

// Where the plain exchange's child gets its console.
enum class ChildConsole {
    // The benchmark's own, as most programs start a filter.
    Shared,
    // A hidden one of its own, as the module must start every command.
    OwnHidden,
};

// The platform's limit: one process writes into a child's input from a thread
// while reading the child's output, with blocking reads and writes of 1 MiB,
// until the copying child has given back every byte and has ended (the end of
// the output can come later: under Wine a console of its own holds the pipe).
std::string PlainPipeCopy(const std::string& commandLine, const std::string& input, ChildConsole console)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    UniqueHandle inRead, inWrite, outRead, outWrite;
    CreatePipe(inRead.put(), inWrite.put(), &inheritable, 0);
    CreatePipe(outRead.put(), outWrite.put(), &inheritable, 0);
    SetHandleInformation(inWrite.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead.get();
    startup.hStdOutput = outWrite.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    std::string line = commandLine;
    DWORD flags = 0;
    if (console == ChildConsole::OwnHidden) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        flags = CREATE_NEW_CONSOLE;
    }
    CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup, &started);
    UniqueHandle process(started.hProcess), thread(started.hThread);
    inRead.reset();
    outWrite.reset();
    std::thread feeder([&] {
        for (std::size_t at = 0; at < input.size();) {
            DWORD written = 0;
            const DWORD size = DWORD(std::min<std::size_t>(input.size() - at, 1 << 20));
            if (!WriteFile(inWrite.get(), input.data() + at, size, &written, nullptr)) {
                break;
            }
            at += written;
        }
        inWrite.reset();
    });
    std::string output;
    std::vector<char> chunk(1 << 20);
    DWORD received = 0;
    while (output.size() < input.size() &&
           ReadFile(outRead.get(), chunk.data(), DWORD(chunk.size()), &received, nullptr) && received > 0) {
        output.append(chunk.data(), received);
    }
    WaitForSingleObject(process.get(), INFINITE);
    feeder.join();
    return output;
}

std::size_t BlockSize(HGLOBAL block)
{
    const UniqueGlobal owned(block);
    return owned ? GlobalSize(owned.get()) : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string childPath = TestChildPath();
    std::vector<int> sizes;
    const char* baselinePath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--baseline") == 0 && i + 1 < argc) {
            baselinePath = argv[++i];
        } else {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    if (sizes.empty()) {
        sizes = {1, 4, 10, 16, 64, 100, 128};
    }

    const UniqueModule module(LoadLibraryA("Tuvex.dll"));
    if (!module) {
        std::fprintf(stderr, "cannot load Tuvex.dll\n");
        return 2;
    }
    const Exports current = ExportsOf(module.get());
    UniqueModule baselineModule;
    std::optional<Exports> baseline;
    if (baselinePath != nullptr) {
        baselineModule.reset(LoadLibraryA(baselinePath));
        if (!baselineModule) {
            std::fprintf(stderr, "cannot load %s\n", baselinePath);
            return 2;
        }
        baseline = ExportsOf(baselineModule.get());
    }
    const HWND host = MakeHostWindow();
    const std::string copyParameter = childPath + "|cat";
    const std::string copyCommandLine = childPath + " cat";
    MemoryProbe memory;
    std::printf("peak MiB: memory added at the call's peak, from %s\n", memory.Counter());
    std::printf("the filters are called with a visible window of the benchmark as the host window%s\n\n",
                baseline ? "; \"baseline\" rows are the module given with --baseline" : "");

    // Both filters on one host text; the block is what the host gets back.
    struct SameText {
        const char* what;
        wchar_t character;
        Measure wide, narrow, baselineNarrow;
        double wideBlock = 0, narrowBlock = 0, baselineBlock = 0;
    };
    SameText texts[] = {{"ASCII", L'a', {}, {}, {}}, {"Japanese", L'\u3042', {}, {}, {}}};
    const std::size_t characters = std::size_t(50) << 20;
    std::printf("| %-28s | %8s | %9s | %8s | %12s |\n", "50 Mi characters of one text", "seconds", "block MiB",
                "peak MiB", "peak / block");
    std::printf("|------------------------------|----------|-----------|----------|--------------|\n");
    auto textRow = [](const std::string& what, const Measure& measure, double block) {
        std::printf("| %-28s | %8.3f | %9.1f | %8.1f | %11.2fx |%s\n", what.c_str(), measure.Median(), block / kMiB,
                    measure.peakBytes / kMiB, measure.peakBytes / block, measure.whole ? "" : " INCOMPLETE");
    };
    for (SameText& text : texts) {
        const std::wstring hostText(characters, text.character);
        auto call = [&](Filter filter, double& block) {
            return [&, filter] {
                block = double(BlockSize(filter(host, hostText.c_str(), copyParameter.c_str())));
                return block > 0;
            };
        };
        std::vector<std::function<bool()>> calls = {call(current.wide, text.wideBlock),
                                                    call(current.narrow, text.narrowBlock)};
        if (baseline) {
            calls.push_back(call(baseline->narrow, text.baselineBlock));
        }
        const std::vector<Measure> measures = Interleave(memory, 5, calls);
        text.wide = measures[0];
        text.narrow = measures[1];
        textRow(std::string("TuvexW, ") + text.what, text.wide, text.wideBlock);
        textRow(std::string("Tuvex, ") + text.what, text.narrow, text.narrowBlock);
        if (baseline) {
            text.baselineNarrow = measures[2];
            textRow(std::string("baseline Tuvex, ") + text.what, text.baselineNarrow, text.baselineBlock);
        }
    }

    bench::PrintUtf8FilterRows(module.get(), copyParameter,
                               [&](int repeats, const std::vector<std::function<bool()>>& actions) {
        std::vector<bench::CallFigures> figures;
        for (const Measure& measure : Interleave(memory, repeats, actions)) {
            figures.push_back({measure.Median(), measure.peakBytes, measure.whole});
        }
        return figures;
    });

    std::printf("\n| %-34s | %7s | %8s | %9s | %8s |\n", "transfer through a copying child", "MiB", "seconds", "MiB/s",
                "peak MiB");
    std::printf("|------------------------------------|---------|----------|-----------|----------|\n");
    auto row = [](const char* what, int mebibytes, const Measure& measure) {
        std::printf("| %-34s | %7d | %8.3f | %9.1f | %8.1f |%s\n", what, mebibytes, measure.seconds,
                    mebibytes / measure.seconds, measure.peakBytes / kMiB, measure.whole ? "" : " INCOMPLETE");
    };
    // What each size gave: TuvexW, TuvexRun, the plain exchange (shared
    // console, own hidden console), the baseline's TuvexRun, the naive one.
    struct Transfer {
        Measure wide, run, plain, ownConsole, baselineRun;
        std::optional<Measure> naive;
    };
    std::map<int, Transfer> transfers;
    for (int mebibytes : sizes) {
        const std::size_t bytes = std::size_t(mebibytes) << 20;
        // Short transfers are the noisiest (a child's start is much of them):
        // their best of five stands for the exchange itself.
        const int repeats = mebibytes <= 16 ? 5 : 2;
        const std::wstring text(bytes / 2, L'a');
        const std::string input(bytes, 'a');
        std::vector<std::function<bool()>> calls = {
            [&] { return BlockSize(current.wide(host, text.c_str(), copyParameter.c_str())) == bytes + 2; },
            [&] { return std::strlen(current.run(input.c_str(), childPath.c_str(), "cat")) == bytes; },
            [&] { return PlainPipeCopy(copyCommandLine, input, ChildConsole::Shared).size() == bytes; },
            [&] { return PlainPipeCopy(copyCommandLine, input, ChildConsole::OwnHidden).size() == bytes; }};
        if (baseline) {
            calls.push_back([&] { return std::strlen(baseline->run(input.c_str(), childPath.c_str(), "cat")) == bytes; });
        }
        const std::vector<Measure> measures = Interleave(memory, repeats, calls);
        Transfer& transfer = transfers[mebibytes];
        transfer.wide = measures[0];
        transfer.run = measures[1];
        transfer.plain = measures[2];
        transfer.ownConsole = measures[3];
        row("TuvexW", mebibytes, transfer.wide);
        row("TuvexRun", mebibytes, transfer.run);
        if (baseline) {
            transfer.baselineRun = measures[4];
            row("baseline TuvexRun", mebibytes, transfer.baselineRun);
        }
        if (mebibytes <= 10) {
            transfer.naive =
                Interleave(memory, 1, {[&] { return NaiveExchange(copyCommandLine, input).size() == bytes; }})[0];
            row("naive: 256-byte reads, busy polling", mebibytes, *transfer.naive);
        }
        row("plain exchange, 1 MiB reads", mebibytes, transfer.plain);
        row("the same, own hidden console", mebibytes, transfer.ownConsole);
    }

    // One line: what a call costs beyond the child's start and end.
    const std::wstring line = L"one line of text\r\n";
    const std::string lineBytes(reinterpret_cast<const char*>(line.data()), line.size() * sizeof(wchar_t));
    const std::vector<Measure> lineMeasures = Interleave(
        memory, 15,
        {[&] { return BlockSize(current.wide(host, line.c_str(), copyParameter.c_str())) == lineBytes.size() + 2; },
         [&] { return PlainPipeCopy(copyCommandLine, lineBytes, ChildConsole::OwnHidden) == lineBytes; }});
    std::printf("\n| %-34s | %9s | %9s |\n", "one line, 15 calls each", "median s", "best s");
    std::printf("|------------------------------------|-----------|-----------|\n");
    std::printf("| %-34s | %9.4f | %9.4f |\n", "TuvexW", lineMeasures[0].Median(), lineMeasures[0].seconds);
    std::printf("| %-34s | %9.4f | %9.4f |\n", "plain exchange, own hidden console", lineMeasures[1].Median(),
                lineMeasures[1].seconds);

    std::printf("\n| %-34s | %8s | %8s | %6s |\n", "host CPU while a child sleeps 2 s", "wall s", "CPU s", "CPU %");
    std::printf("|------------------------------------|----------|----------|--------|\n");
    const std::string sleepParameter = childPath + "|sleep 2000";
    const std::string sleepCommandLine = childPath + " sleep 2000";
    // The least of three calls: the counters tick in steps of 10 ms under
    // Wine, and the start of a child costs a step or two of them by itself.
    auto cpuRow = [](const char* what, const std::function<void()>& action) {
        double leastWall = 0, leastCpu = -1;
        for (int call = 0; call < 3; ++call) {
            DispatchWaitingMessages();
            const double cpuBefore = ProcessCpuSeconds();
            const double wall = Seconds(action);
            const double cpu = ProcessCpuSeconds() - cpuBefore;
            if (leastCpu < 0 || cpu / wall < leastCpu / leastWall) {
                leastWall = wall, leastCpu = cpu;
            }
        }
        std::printf("| %-34s | %8.2f | %8.3f | %5.2f%% |\n", what, leastWall, leastCpu, 100.0 * leastCpu / leastWall);
        return 100.0 * leastCpu / leastWall;
    };
    const double sleepingCpu =
        cpuRow("TuvexW, wait window after 1 s", [&] { BlockSize(current.wide(host, L"", sleepParameter.c_str())); });
    const double plainSleepingCpu = cpuRow("plain exchange, own hidden console",
                                           [&] { PlainPipeCopy(sleepCommandLine, "", ChildConsole::OwnHidden); });
    if (baseline) {
        cpuRow("baseline TuvexW", [&] { BlockSize(baseline->wide(host, L"", sleepParameter.c_str())); });
    }
    cpuRow("naive: busy polling", [&] { NaiveExchange(sleepCommandLine, ""); });

    std::printf("\ntargets:\n");
    // Code page 932 moves half the bytes of UTF-16 for ASCII and as many for
    // Japanese, and converts both ways.
    const double mostNarrowRatio[] = {1.1, 1.3};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const SameText& text = texts[i];
        const double ratio = text.narrow.Median() / text.wide.Median();
        std::printf("- Tuvex / TuvexW on 50 Mi %s characters, median of 5: %.2f (at most %.1f): %s\n", text.what,
                    ratio, mostNarrowRatio[i], Verdict(ratio <= mostNarrowRatio[i]));
    }
    auto peakTarget = [](const char* what, double peak, double block, double factor) {
        const double limit = factor * block + 16 * kMiB;
        std::printf("- peak added by %s: %.1f MiB = %.2f x the %.1f MiB block (at most %.1f x + 16 MiB = %.1f MiB): %s\n",
                    what, peak / kMiB, peak / block, block / kMiB, factor, limit / kMiB, Verdict(peak <= limit));
    };
    peakTarget("TuvexW, 100 MiB", texts[0].wide.peakBytes, texts[0].wideBlock, 1.5);
    peakTarget("Tuvex, 50 Mi ASCII characters", texts[0].narrow.peakBytes, texts[0].narrowBlock, 2.0);
    // The block and the pieces on their way: neither the input nor the output
    // is ever held whole beside it.
    auto blockTarget = [](const char* what, double peak, double block, double factor) {
        std::printf("- peak added by %s: %.1f MiB = %.2f x the %.1f MiB block (at most %.1f x): %s\n", what, peak / kMiB,
                    peak / block, block / kMiB, factor, Verdict(peak <= factor * block));
    };
    blockTarget("Tuvex, 50 Mi Japanese characters", texts[1].narrow.peakBytes, texts[1].narrowBlock, 1.5);
    blockTarget("TuvexW, 50 Mi Japanese characters", texts[1].wide.peakBytes, texts[1].wideBlock, 1.1);
    if (const auto at10 = transfers.find(10); at10 != transfers.end()) {
        const Transfer& transfer = at10->second;
        const double ratio = transfer.wide.seconds / transfer.plain.seconds;
        std::printf("- TuvexW / plain exchange at 10 MiB: %.2f (at most 1.2): %s\n", ratio, Verdict(ratio <= 1.2));
        std::printf("  (against the plain exchange whose child has a hidden console of its own, as the module's\n"
                    "  commands must: %.2f)\n",
                    transfer.wide.seconds / transfer.ownConsole.seconds);
        const double speedUp = transfer.naive->seconds / transfer.wide.seconds;
        std::printf("- naive / TuvexW at 10 MiB: %.0f (at least 30): %s\n", speedUp, Verdict(speedUp >= 30));
    }
    if (const auto at100 = transfers.find(100); at100 != transfers.end()) {
        const double ratio = at100->second.wide.seconds / at100->second.plain.seconds;
        std::printf("- TuvexW / plain exchange at 100 MiB: %.2f (at most 1.5): %s\n", ratio, Verdict(ratio <= 1.5));
    }
    for (int mebibytes : {4, 16, 64, 128}) {
        if (const auto at = transfers.find(mebibytes); at != transfers.end()) {
            const double ratio = at->second.wide.seconds / at->second.ownConsole.seconds;
            std::printf("- TuvexW / plain exchange with its own hidden console at %d MiB: %.2f (at most 1.2): %s\n",
                        mebibytes, ratio, Verdict(ratio <= 1.2));
        }
    }
    if (transfers.count(16) && transfers.count(128)) {
        const double at16 = transfers[16].wide.seconds / 16 * 1000;
        const double at128 = transfers[128].wide.seconds / 128 * 1000;
        std::printf("- TuvexW per MiB at 128 MiB / at 16 MiB: %.1f ms / %.1f ms = %.2f (at most 1.2): %s\n", at128,
                    at16, at128 / at16, Verdict(at128 / at16 <= 1.2));
    }
    const double lineRatio = lineMeasures[0].Median() / lineMeasures[1].Median();
    std::printf("- TuvexW / plain exchange on one line, median of 15: %.2f (at most 1.1): %s\n", lineRatio,
                Verdict(lineRatio <= 1.1));
    std::printf("- host CPU while a child sleeps: %.2f%% (at most 0.5%%): %s\n"
                "  (beyond the plain exchange's %.2f%%, which is its child's start: %.2f%%)\n",
                sleepingCpu, Verdict(sleepingCpu <= 0.5), plainSleepingCpu, sleepingCpu - plainSleepingCpu);
    if (baseline) {
        // One run's noise is a few per cent: "no slower" allows that much.
        for (const SameText& text : texts) {
            const double ratio = text.narrow.Median() / text.baselineNarrow.Median();
            std::printf("- Tuvex / baseline Tuvex on 50 Mi %s characters: %.2f (no slower: at most 1.05): %s\n",
                        text.what, ratio, Verdict(ratio <= 1.05));
        }
        for (const auto& [mebibytes, transfer] : transfers) {
            const double ratio = transfer.run.seconds / transfer.baselineRun.seconds;
            std::printf("- TuvexRun / baseline TuvexRun at %d MiB: %.2f (no slower: at most 1.05): %s\n", mebibytes,
                        ratio, Verdict(ratio <= 1.05));
        }
    }
    return 0;
}
