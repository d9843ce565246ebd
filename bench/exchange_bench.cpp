// Measures the exchange with a child process through the module's exports and
// prints three tables with the figures that the module is held to:
//  - Tuvex and TuvexW on one host text of 50 Mi characters (ASCII, then
//    Japanese): time, the block handed back and the peak memory the call added;
//  - throughput through a copying child at several sizes: TuvexW, TuvexRun,
//    the naive exchange (256-byte reads, busy polling) and a plain exchange
//    with 1 MiB blocking reads (the platform's limit), its child sharing the
//    benchmark's console or, as the module's commands must, with a hidden
//    console of its own;
//  - the host's CPU use while a child sleeps.
//
//   exchange_bench.exe [MiB...]     (default sizes: 1 10 100)
//
// The copying child is tuvex_test_child.exe beside the benchmark. Each time is
// the best of a few calls; each memory figure the largest of them. Calls that
// are compared with each other take turns.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32_resource.h"
#include "host/exports.h"
#include "bench_support.h"

namespace {

using tuvex::UniqueGlobal;
using tuvex::UniqueHandle;
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

// A measured call: its best time and its largest peak.
struct Measure {
    double seconds = 0;
    double peakBytes = 0;
    bool whole = true;
};

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
            memory.Start();
            const double seconds = Seconds([&] { whole = actions[i](); });
            measure.peakBytes = std::max(measure.peakBytes, memory.Added());
            measure.seconds = round == 0 ? seconds : std::min(measure.seconds, seconds);
            measure.whole = measure.whole && whole;
        }
    }
    return measures;
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
    const std::vector<int> sizes = SizesFrom(argc, argv, {1, 10, 100});
    const std::optional<TuvexExports> exports = LoadTuvex();
    if (!exports) {
        std::fprintf(stderr, "cannot load Tuvex.dll\n");
        return 2;
    }
    const Filter narrow = exports->narrow;
    const Filter wide = exports->wide;
    const Run run = exports->run;
    const std::string copyParameter = childPath + "|cat";
    const std::string copyCommandLine = childPath + " cat";
    MemoryProbe memory;
    std::printf("peak MiB: memory added at the call's peak, from %s\n\n", memory.Counter());

    // Both filters on one host text; the block is what the host gets back.
    struct SameText {
        const char* what;
        wchar_t character;
        Measure wide, narrow;
        double wideBlock = 0, narrowBlock = 0;
    };
    SameText texts[] = {{"ASCII", L'a', {}, {}}, {"Japanese", L'\u3042', {}, {}}};
    const std::size_t characters = std::size_t(50) << 20;
    std::printf("| %-28s | %8s | %9s | %8s | %12s |\n", "50 Mi characters of one text", "seconds", "block MiB",
                "peak MiB", "peak / block");
    std::printf("|------------------------------|----------|-----------|----------|--------------|\n");
    for (SameText& text : texts) {
        const std::wstring host(characters, text.character);
        auto call = [&](Filter filter, double& block) {
            return [&, filter] {
                block = double(BlockSize(filter(nullptr, host.c_str(), copyParameter.c_str())));
                return block > 0;
            };
        };
        const std::vector<Measure> measures =
            Interleave(memory, 3, {call(wide, text.wideBlock), call(narrow, text.narrowBlock)});
        text.wide = measures[0];
        text.narrow = measures[1];
        for (bool isWide : {true, false}) {
            const Measure& measure = isWide ? text.wide : text.narrow;
            const double block = isWide ? text.wideBlock : text.narrowBlock;
            const std::string what = std::string(isWide ? "TuvexW, " : "Tuvex, ") + text.what;
            std::printf("| %-28s | %8.3f | %9.1f | %8.1f | %11.2fx |%s\n", what.c_str(), measure.seconds, block / kMiB,
                        measure.peakBytes / kMiB, measure.peakBytes / block, measure.whole ? "" : " INCOMPLETE");
        }
    }

    std::printf("\n| %-34s | %7s | %8s | %9s | %8s |\n", "transfer through a copying child", "MiB", "seconds", "MiB/s",
                "peak MiB");
    std::printf("|------------------------------------|---------|----------|-----------|----------|\n");
    auto row = [](const char* what, int mebibytes, const Measure& measure) {
        std::printf("| %-34s | %7d | %8.3f | %9.1f | %8.1f |%s\n", what, mebibytes, measure.seconds,
                    mebibytes / measure.seconds, measure.peakBytes / kMiB, measure.whole ? "" : " INCOMPLETE");
    };
    std::optional<Measure> wide10, naive10, plain10, ownConsole10, wide100, plain100;
    for (int mebibytes : sizes) {
        const std::size_t bytes = std::size_t(mebibytes) << 20;
        // Short transfers are the noisiest (a child's start is much of them):
        // their best of seven stands for the exchange itself.
        const int repeats = mebibytes <= 10 ? 7 : 1;
        const std::wstring text(bytes / 2, L'a');
        const std::string input(bytes, 'a');
        const std::vector<Measure> measures = Interleave(
            memory, repeats,
            {[&] { return BlockSize(wide(nullptr, text.c_str(), copyParameter.c_str())) == bytes + 2; },
             [&] { return std::strlen(run(input.c_str(), childPath.c_str(), "cat")) == bytes; },
             [&] { return PlainPipeCopy(copyCommandLine, input, ChildConsole::Shared).size() == bytes; },
             [&] { return PlainPipeCopy(copyCommandLine, input, ChildConsole::OwnHidden).size() == bytes; }});
        const Measure& viaWide = measures[0];
        const Measure& plain = measures[2];
        row("TuvexW", mebibytes, viaWide);
        row("TuvexRun", mebibytes, measures[1]);
        std::optional<Measure> naive;
        if (mebibytes <= 10) {
            naive = Interleave(memory, 1, {[&] { return NaiveExchange(copyCommandLine, input).size() == bytes; }})[0];
            row("naive: 256-byte reads, busy polling", mebibytes, *naive);
        }
        row("plain exchange, 1 MiB reads", mebibytes, plain);
        row("the same, own hidden console", mebibytes, measures[3]);
        if (mebibytes == 10) {
            wide10 = viaWide, naive10 = naive, plain10 = plain, ownConsole10 = measures[3];
        } else if (mebibytes == 100) {
            wide100 = viaWide, plain100 = plain;
        }
    }

    std::printf("\n| %-34s | %8s | %8s | %6s |\n", "host CPU while a child sleeps 2 s", "wall s", "CPU s", "CPU %");
    std::printf("|------------------------------------|----------|----------|--------|\n");
    const std::string sleepParameter = childPath + "|sleep 2000";
    const std::string sleepCommandLine = childPath + " sleep 2000";
    auto cpuRow = [](const char* what, const std::function<void()>& action) {
        const double cpuBefore = ProcessCpuSeconds();
        const double wall = Seconds(action);
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        std::printf("| %-34s | %8.2f | %8.3f | %5.1f%% |\n", what, wall, cpu, 100.0 * cpu / wall);
        return 100.0 * cpu / wall;
    };
    const double sleepingCpu = cpuRow("TuvexW", [&] { BlockSize(wide(nullptr, L"", sleepParameter.c_str())); });
    cpuRow("naive: busy polling", [&] { NaiveExchange(sleepCommandLine, ""); });

    std::printf("\ntargets:\n");
    for (const SameText& text : texts) {
        const double ratio = text.narrow.seconds / text.wide.seconds;
        std::printf("- Tuvex / TuvexW on 50 Mi %s characters: %.2f (at most 1.5): %s\n", text.what, ratio,
                    Verdict(ratio <= 1.5));
    }
    auto peakTarget = [](const char* what, double peak, double block, double factor) {
        const double limit = factor * block + 16 * kMiB;
        std::printf("- peak added by %s: %.1f MiB = %.2f x the %.1f MiB block (at most %.1f x + 16 MiB = %.1f MiB): %s\n",
                    what, peak / kMiB, peak / block, block / kMiB, factor, limit / kMiB, Verdict(peak <= limit));
    };
    peakTarget("TuvexW, 100 MiB", texts[0].wide.peakBytes, texts[0].wideBlock, 1.5);
    peakTarget("Tuvex, 50 Mi ASCII characters", texts[0].narrow.peakBytes, texts[0].narrowBlock, 2.0);
    if (wide10 && plain10 && naive10) {
        const double ratio = wide10->seconds / plain10->seconds;
        std::printf("- TuvexW / plain exchange at 10 MiB: %.2f (at most 1.2): %s\n", ratio, Verdict(ratio <= 1.2));
        std::printf("  (against the plain exchange whose child has a hidden console of its own, as the module's\n"
                    "  commands must: %.2f)\n",
                    wide10->seconds / ownConsole10->seconds);
        const double speedUp = naive10->seconds / wide10->seconds;
        std::printf("- naive / TuvexW at 10 MiB: %.0f (at least 30): %s\n", speedUp, Verdict(speedUp >= 30));
    }
    if (wide100 && plain100) {
        const double ratio = wide100->seconds / plain100->seconds;
        std::printf("- TuvexW / plain exchange at 100 MiB: %.2f (at most 1.5): %s\n", ratio, Verdict(ratio <= 1.5));
    }
    std::printf("- host CPU while a child sleeps: %.1f%% (about 2%%)\n", sleepingCpu);
    return 0;
}
