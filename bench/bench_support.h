// What the benchmarks share: the module's exports, the test child beside
// them, the sizes asked for, and the peak memory that one call adds.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/win32_resource.h"
#include "host/exports.h"

namespace tuvex::bench {

using Filter = HGLOBAL(__cdecl*)(HWND, const wchar_t*, const char*);
using Run = decltype(&TuvexRun);

// Tuvex.dll, loaded from beside the benchmark, and its three exports.
struct TuvexExports {
    UniqueModule module;
    Filter narrow = nullptr;
    Filter wide = nullptr;
    Run run = nullptr;
};

inline std::optional<TuvexExports> LoadTuvex()
{
    TuvexExports exports;
    exports.module.reset(LoadLibraryA("Tuvex.dll"));
    if (!exports.module) {
        return std::nullopt;
    }
    auto address = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(exports.module.get(), name)); };
    exports.narrow = reinterpret_cast<Filter>(address("Tuvex"));
    exports.wide = reinterpret_cast<Filter>(address("TuvexW"));
    exports.run = reinterpret_cast<Run>(address("TuvexRun"));
    return exports;
}

// The test child's path: tuvex_test_child.exe beside the benchmark.
inline std::string TestChildPath()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.erase(path.find_last_of('\\') + 1);
    return path + "tuvex_test_child.exe";
}

// The sizes given on the command line, or `defaults`.
inline std::vector<int> SizesFrom(int argc, char** argv, std::vector<int> defaults)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::atoi(argv[i]));
    }
    return sizes.empty() ? defaults : sizes;
}

inline const char* Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

inline std::optional<std::string> ReadWholeFile(const std::string& path)
{
    const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[4096];
    DWORD received = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &received, nullptr) && received > 0) {
        bytes.append(chunk, received);
    }
    return bytes;
}

// The peak memory that one call adds. Under Wine the process's own counters
// do not move (PeakPagefileUsage stays flat), but its Unix process's do: it is
// an entry of Z:\proc whose command line starts with this program's name
// (Z:\proc\self is the wine server), its status gives VmHWM and VmRSS, and
// writing 5 to its clear_refs resets VmHWM. Where several such entries exist
// (other runs of the benchmark on a shared machine), ours is the one whose
// resident size follows memory that this process touches. On Windows the
// figure is PeakPagefileUsage after the call less PagefileUsage before it
// (private memory committed), which counts only while the call's peak
// exceeds every earlier one; PeakWorkingSet would be the resident
// counterpart.
class MemoryProbe {
public:
    MemoryProbe()
    {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        const std::string name = BaseName(self);
        std::vector<std::string> candidates;
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
        if (search == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            if (!std::all_of(found.cFileName, found.cFileName + std::strlen(found.cFileName),
                             [](char c) { return c >= '0' && c <= '9'; })) {
                continue;
            }
            const std::string entry = std::string("Z:\\proc\\") + found.cFileName + "\\";
            const std::optional<std::string> commandLine = ReadWholeFile(entry + "cmdline");
            if (commandLine && lstrcmpiA(BaseName(commandLine->c_str()).c_str(), name.c_str()) == 0) {
                candidates.push_back(entry);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::vector<double> before;
        for (const std::string& entry : candidates) {
            before.push_back(StatusValue(entry, "VmRSS:"));
        }
        const std::size_t touched = std::size_t(32) << 20;
        void* ballast = VirtualAlloc(nullptr, touched, MEM_COMMIT, PAGE_READWRITE);
        std::memset(ballast, 1, touched);
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (StatusValue(candidates[i], "VmRSS:") - before[i] > 0.75 * double(touched)) {
                unixEntry_ = candidates[i];
            }
        }
        VirtualFree(ballast, 0, MEM_RELEASE);
    }

    const char* Counter() const
    {
        return unixEntry_.empty()
                   ? "PeakPagefileUsage after the call less PagefileUsage before it"
                   : "VmHWM after the call less VmRSS before it (Z:\\proc; peak reset through clear_refs); "
                     "Windows would use PeakPagefileUsage (committed) or PeakWorkingSet (resident)";
    }

    // Starts a measurement: resets the peak where that is possible.
    void Start()
    {
        if (!unixEntry_.empty()) {
            const UniqueFileHandle clear(CreateFileA((unixEntry_ + "clear_refs").c_str(), GENERIC_WRITE, 0, nullptr,
                                                     OPEN_EXISTING, 0, nullptr));
            DWORD written = 0;
            WriteFile(clear.get(), "5", 1, &written, nullptr);
            base_ = StatusValue(unixEntry_, "VmRSS:");
        } else {
            base_ = Counters().PagefileUsage;
        }
    }

    // The peak added since Start, in bytes.
    double Added() const
    {
        const double peak = unixEntry_.empty() ? double(Counters().PeakPagefileUsage) : StatusValue(unixEntry_, "VmHWM:");
        return peak - base_;
    }

private:
    static std::string BaseName(const char* path)
    {
        const char* name = path;
        for (const char* at = path; *at != '\0'; ++at) {
            if (*at == '\\' || *at == '/') {
                name = at + 1;
            }
        }
        return name;
    }

    static PROCESS_MEMORY_COUNTERS Counters()
    {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
        return counters;
    }

    // A "kB" line of the status file, in bytes.
    static double StatusValue(const std::string& entry, const char* key)
    {
        const std::string status = ReadWholeFile(entry + "status").value_or("");
        const std::size_t at = status.find(key);
        return at == std::string::npos ? 0.0 : std::atof(status.c_str() + at + std::strlen(key)) * 1024.0;
    }

    std::string unixEntry_;
    double base_ = 0;
};

}  // namespace tuvex::bench
