// Measures the exchange with a child process through the module's exports and
// prints a table: throughput through a copying child, the same transfer done
// the naive way (256-byte reads, busy polling) and as a plain pipe copy, the
// host's CPU use while a child sleeps, and the host's peak memory.
//
//   exchange_bench.exe [MiB...]     (default sizes: 1 10 100)
//
// The copying child is tuvex_test_child.exe beside the benchmark.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/win32_resource.h"
#include "host/exports.h"

namespace {

using tuvex::UniqueGlobal;
using tuvex::UniqueHandle;
using tuvex::UniqueModule;
using Filter = HGLOBAL(__cdecl*)(HWND, const wchar_t*, const char*);
using Run = decltype(&TuvexRun);

std::string childPath;

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

std::size_t PeakPrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakPagefileUsage;
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

// The platform's limit: one process writes into a child's input from a thread
// while reading the child's output, with large blocking reads and writes.
std::string PlainPipeCopy(const std::string& commandLine, const std::string& input)
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
    CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
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
    while (ReadFile(outRead.get(), chunk.data(), DWORD(chunk.size()), &received, nullptr) && received > 0) {
        output.append(chunk.data(), received);
    }
    feeder.join();
    return output;
}

std::size_t BlockSize(HGLOBAL block)
{
    const UniqueGlobal owned(block);
    return owned ? GlobalSize(owned.get()) : 0;
}

void Row(const char* what, double mebibytes, double seconds, bool whole)
{
    std::printf("| %-34s | %7.0f | %8.3f | %9.1f |%s\n", what, mebibytes, seconds, mebibytes / seconds,
                whole ? "" : " INCOMPLETE");
}

}  // namespace

int main(int argc, char** argv)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    childPath = self;
    childPath.erase(childPath.find_last_of('\\') + 1);
    childPath += "tuvex_test_child.exe";
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty()) {
        sizes = {1, 10, 100};
    }

    const UniqueModule module(LoadLibraryA("Tuvex.dll"));
    if (!module) {
        std::fprintf(stderr, "cannot load Tuvex.dll\n");
        return 2;
    }
    const auto narrow = reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(module.get(), "Tuvex")));
    const auto wide = reinterpret_cast<Filter>(reinterpret_cast<void*>(GetProcAddress(module.get(), "TuvexW")));
    const auto run = reinterpret_cast<Run>(reinterpret_cast<void*>(GetProcAddress(module.get(), "TuvexRun")));
    const std::string copyParameter = childPath + "|cat";
    const std::string copyCommandLine = childPath + " cat";

    // Memory first, while the process's peak is still that of its start.
    {
        const std::wstring text((std::size_t(100) << 20) / 2, L'a');
        const std::size_t peakBefore = PeakPrivateBytes();
        BlockSize(wide(nullptr, text.c_str(), copyParameter.c_str()));
        const std::size_t peakAfter = PeakPrivateBytes();
        std::printf("peak private memory added by 100 MiB through TuvexW (100 MiB in, 100 MiB out): %.1f MiB\n\n",
                    (peakAfter - peakBefore) / 1048576.0);
    }

    std::printf("| %-34s | %7s | %8s | %9s |\n", "transfer through a copying child", "MiB", "seconds", "MiB/s");
    std::printf("|------------------------------------|---------|----------|-----------|\n");
    for (int mebibytes : sizes) {
        const std::size_t bytes = std::size_t(mebibytes) << 20;
        {
            const std::wstring text(bytes / 2, L'a');
            std::size_t size = 0;
            const double seconds = Seconds([&] { size = BlockSize(wide(nullptr, text.c_str(), copyParameter.c_str())); });
            Row("TuvexW", mebibytes, seconds, size == bytes + 2);
        }
        {
            const std::wstring text(bytes, L'a');
            std::size_t size = 0;
            const double seconds = Seconds([&] { size = BlockSize(narrow(nullptr, text.c_str(), copyParameter.c_str())); });
            Row("Tuvex, ASCII text", mebibytes, seconds, size == 2 * bytes + 2);
        }
        {
            const std::wstring text(bytes / 2, L'\u3042');  // two bytes each in code page 932
            std::size_t size = 0;
            const double seconds = Seconds([&] { size = BlockSize(narrow(nullptr, text.c_str(), copyParameter.c_str())); });
            Row("Tuvex, Japanese text", mebibytes, seconds, size == bytes + 2);
        }
        {
            const std::string input(bytes, 'a');
            std::size_t size = 0;
            const double seconds = Seconds([&] { size = std::strlen(run(input.c_str(), childPath.c_str(), "cat")); });
            Row("TuvexRun", mebibytes, seconds, size == bytes);
        }
        if (mebibytes <= 10) {
            const std::string input(bytes, 'a');
            std::size_t size = 0;
            const double seconds = Seconds([&] { size = NaiveExchange(copyCommandLine, input).size(); });
            Row("naive: 256-byte reads, busy polling", mebibytes, seconds, size == bytes);
        }
        {
            const std::string input(bytes, 'a');
            std::size_t size = 0;
            const double seconds = Seconds([&] { size = PlainPipeCopy(copyCommandLine, input).size(); });
            Row("plain pipe copy (platform limit)", mebibytes, seconds, size == bytes);
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
    };
    cpuRow("TuvexW", [&] { BlockSize(wide(nullptr, L"", sleepParameter.c_str())); });
    cpuRow("naive: busy polling", [&] { NaiveExchange(sleepCommandLine, ""); });

    return 0;
}
